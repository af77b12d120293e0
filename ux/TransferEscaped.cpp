#include "ux/TransferEscaped.h"

#include "ux/SerialPort.h"

#include <QDebug>

namespace Ux {

TransferEscaped::TransferEscaped(SerialPort* port) : QObject(nullptr), m_port(port)
{
    if (m_port)
        connect(m_port, &SerialPort::readyRead, this, &TransferEscaped::readEscaped,
                Qt::DirectConnection);
}

QByteArray TransferEscaped::escape(const QByteArray& bytes)
{
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 8 + 2);
    for (const char byte : bytes) {
        switch (byte) {
        case Stx:
            out.append(Escape).append(char(0xF2));
            break;
        case Etx:
            out.append(Escape).append(char(0xF3));
            break;
        case Escape:
            out.append(Escape).append(Escape);
            break;
        default:
            out.append(byte);
        }
    }
    return out;
}

QByteArray TransferEscaped::unescape(const QByteArray& bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    for (const char byte : bytes) {
        if (!m_escapePending) {
            if (byte == Escape)
                m_escapePending = true;
            else
                out.append(byte);
            continue;
        }
        switch (static_cast<quint8>(byte)) {
        case 0xF2:
            out.append(Stx);
            break;
        case 0xF3:
            out.append(Etx);
            break;
        case 0x7F:
            out.append(Escape);
            break;
        default:
            // Not a pair the sender makes: the pair stands for a zero byte.
            out.append('\0');
        }
        m_escapePending = false;
    }
    return out;
}

qint64 TransferEscaped::write(const QByteArray& data)
{
    if (!m_port)
        return 0;
    return m_port->write(escape(data));
}

void TransferEscaped::readEscaped()
{
    if (!m_port)
        return;
    QByteArray bytes;
    m_port->readAll(bytes);
    qDebug() << "TransferEscaped::readEscaped(" << bytes.toHex() << ")";
    if (!bytes.isEmpty())
        emit readUnescaped(unescape(bytes));
}

} // namespace Ux
