#pragma once

#include <QByteArray>
#include <QString>

// The whole content of "btd.cfg": the last file chosen for an upload or a
// send, and the last port opened, as two NUL-terminated fields of fixed size.
class ConfigRecord
{
public:
    static constexpr int PathSize = 255;
    static constexpr int PortSize = 10;
    static constexpr int Size = PathSize + PortSize;

    QString lastFilePath() const { return m_lastFilePath; }
    QString portName() const { return m_portName; }
    // Each field keeps its terminating NUL: a value that does not fit is
    // refused (false) and the field keeps its previous value.
    bool setLastFilePath(const QString& path);
    bool setPortName(const QString& name);

    QByteArray toBytes() const;
    // A short record is read as far as it goes; missing fields stay empty.
    static ConfigRecord fromBytes(const QByteArray& bytes);

    // False when the file cannot be read (or written); nothing is reported.
    bool load(const QString& fileName);
    bool save(const QString& fileName) const;

private:
    QString m_lastFilePath;
    QString m_portName;
};
