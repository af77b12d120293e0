#pragma once

#include <QByteArray>
#include <QObject>

namespace Ux {

class SerialPort;

// The escaped byte stream over a serial port: STX (0x02) and ETX (0x03) never
// occur inside an escaped body, so that the packet layer can find frame
// boundaries. Outgoing bytes are escaped; whatever the port receives is
// unescaped and handed on in readUnescaped().
class TransferEscaped : public QObject
{
    Q_OBJECT
public:
    static constexpr char Stx = 0x02;
    static constexpr char Etx = 0x03;
    static constexpr char Escape = 0x7F;

    // Does not own the port; listens to its readyRead().
    explicit TransferEscaped(SerialPort* port);

    static QByteArray escape(const QByteArray& bytes);
    // Undoes escape(). An escape byte at the end of one chunk is kept pending
    // and applied to the first byte of the next chunk of this stream.
    QByteArray unescape(const QByteArray& bytes);
    bool escapePending() const { return m_escapePending; }

    // Writes escape(data) in one write; returns the count written.
    qint64 write(const QByteArray& data);

public slots:
    void readEscaped();

signals:
    void readUnescaped(const QByteArray& bytes);

protected:
    SerialPort* port() const { return m_port; }
    void clearPendingEscape() { m_escapePending = false; }

private:
    SerialPort* m_port;
    bool m_escapePending = false;
};

} // namespace Ux
