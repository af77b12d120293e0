#pragma once

#include <QByteArray>
#include <QString>

// The whole content of "btd.cfg": the last file chosen for an upload or a
// send, and the last port opened, as two NUL-terminated fields of fixed size.
// The record is kept as the bytes it was read as: a field that is not set
// goes back to the file exactly as it came, whatever it holds (bytes that
// are no text in the locale's encoding included), and nothing can reach
// past its field.
class ConfigRecord
{
public:
    static constexpr int PathSize = 255;
    static constexpr int PortSize = 10;
    static constexpr int Size = PathSize + PortSize;

    QString lastFilePath() const;
    QString portName() const;
    // Each field keeps its terminating NUL: a value that does not fit is
    // refused (false) and the field keeps its previous value.
    bool setLastFilePath(const QString& path);
    bool setPortName(const QString& name);

    // Always Size bytes.
    QByteArray toBytes() const { return m_bytes; }
    // A short record is read as far as it goes; missing fields stay empty.
    static ConfigRecord fromBytes(const QByteArray& bytes);

    // False when the file cannot be read (or written); nothing is reported.
    bool load(const QString& fileName);
    bool save(const QString& fileName) const;

private:
    QString field(int offset, int size) const;
    bool setField(int offset, int size, const QString& value);

    QByteArray m_bytes = QByteArray(Size, '\0');
};
