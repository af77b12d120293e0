#include "ux/TransferPacket.h"

#include "ux/SerialPort.h"

#include <QDebug>

namespace Ux {

TransferPacket::TransferPacket(SerialPort* port, int mode) : TransferEscaped(port)
{
    if (mode == ReceiverMode)
        connect(this, &TransferEscaped::readUnescaped, this, &TransferPacket::readPacket,
                Qt::DirectConnection);
    else if (mode == SenderMode)
        connect(this, &TransferEscaped::readUnescaped, this, &TransferPacket::readAckNck,
                Qt::DirectConnection);
}

quint16 TransferPacket::checksum(quint8 id, const QByteArray& data)
{
    const auto length = static_cast<quint32>(data.size());
    quint16 sum = 1;
    sum += id;
    sum += length & 0xFF;
    sum += (length >> 8) & 0xFF;
    for (const char byte : data)
        sum += static_cast<quint8>(byte);
    return sum;
}

void TransferPacket::sendPacket(quint8 id, const QByteArray& data)
{
    m_frame.clear();
    if (data.size() > MaxDataLength) {
        qWarning() << "TransferPacket::sendPacket: packet" << id << "refused, data of"
                   << data.size() << "bytes does not fit the 16-bit length";
        return;
    }
    const auto length = static_cast<quint16>(data.size());
    const quint16 sum = checksum(id, data);
    QByteArray body;
    body.reserve(data.size() + 5);
    body.append(char(id));
    body.append(char(length & 0xFF));
    body.append(char(length >> 8));
    body.append(data);
    body.append(char(sum & 0xFF));
    body.append(char(sum >> 8));

    m_frame.append(Stx);
    m_frame.append(escape(body));
    m_frame.append(Etx);
    resendPacket();
}

qint64 TransferPacket::resendPacket()
{
    if (m_frame.isEmpty() || !port())
        return 0;
    return port()->write(m_frame);
}

qint64 TransferPacket::sendReply(char kind, quint8 id, const char* name)
{
    qDebug() << name << int(id) << ")";
    if (!port() || !port()->isOpen())
        return 0;
    const char reply[4] = {Stx, kind, char(id), Etx};
    return port()->write(reply, 4);
}

qint64 TransferPacket::sendAck(quint8 id)
{
    return sendReply(Ack, id, "TransferPacket::sendAck(");
}

qint64 TransferPacket::sendNck(quint8 id)
{
    return sendReply(Nck, id, "TransferPacket::sendNck(");
}

void TransferPacket::reset()
{
    m_packetId = 0;
    m_lastAckId = 0;
    m_state = WaitStx;
    m_buffer.clear();
    m_length = 0;
    m_receivedSum = 0;
    m_runningSum = 0;
    m_haveAcked = false;
    m_lastAckData.clear();
    m_replyBytes.clear();
    clearPendingEscape();
}

void TransferPacket::refuse(int code)
{
    sendNck(m_lastAckId);
    m_buffer.clear();
    m_state = WaitStx;
    emit packetError(code);
}

void TransferPacket::acceptPacket()
{
    sendAck(m_packetId);
    const QByteArray data = m_buffer;
    m_buffer.clear();
    // The instrument repeats a packet whose ACK it missed; acknowledging it
    // again lets it go on, handing it on again would import it twice.
    if (m_haveAcked && m_packetId == m_lastAckId && data == m_lastAckData) {
        qDebug() << "TransferPacket: repeat of packet id" << int(m_packetId) << "acknowledged again";
        return;
    }
    m_lastAckId = m_packetId;
    m_lastAckData = data;
    m_haveAcked = true;
    emit packetReceived(m_packetId, data);
}

void TransferPacket::readPacket(const QByteArray& bytes)
{
    for (const char ch : bytes) {
        const auto byte = static_cast<quint8>(ch);
        switch (m_state) {
        case WaitStx:
            if (ch == Stx) {
                m_runningSum = 1;
                m_state = WaitId;
            } else if (m_packetId != 0 && m_packetId != m_lastAckId) {
                refuse(TransferPacketStrayByte);
            }
            continue;
        case WaitId:
            m_packetId = byte;
            if (byte < FirstPacketId || byte > LastPacketId) {
                refuse(TransferPacketBadId);
                return;
            }
            m_state = WaitLengthLow;
            break;
        case WaitLengthLow:
            m_length = byte;
            m_state = WaitLengthHigh;
            break;
        case WaitLengthHigh:
            m_length = static_cast<quint16>(m_length + byte * 256);
            m_state = m_length == 0 ? WaitSumLow : WaitData;
            break;
        case WaitData:
            m_buffer.append(ch);
            if (m_buffer.size() >= m_length)
                m_state = WaitSumLow;
            break;
        case WaitSumLow:
            m_receivedSum = byte;
            m_state = WaitSumHigh;
            continue;
        case WaitSumHigh:
            m_receivedSum = static_cast<quint16>(m_receivedSum + byte * 256);
            m_state = WaitEtx;
            continue;
        case WaitEtx:
            if (ch != Etx) {
                refuse(TransferPacketMissingEtx);
                return;
            }
            if (m_receivedSum != m_runningSum) {
                refuse(TransferPacketBadSum);
                return;
            }
            m_state = WaitStx;
            acceptPacket();
            continue;
        }
        // Id, length and data bytes count in the sum.
        m_runningSum = static_cast<quint16>(m_runningSum + byte);
    }
}

void TransferPacket::readAckNck(const QByteArray& bytes)
{
    qDebug() << "TransferPacket::readAckNck(" << bytes.toHex() << ")";
    // Replies are taken from the stream in order, whatever the read that
    // brought each byte; anything not framed as STX kind id ETX is skipped.
    // Worked on a local copy: a slot may send, or reset this object.
    QByteArray stream = m_replyBytes + bytes;
    m_replyBytes.clear();
    qsizetype pos = 0;
    while (stream.size() - pos >= 4) {
        if (stream.at(pos) != Stx || stream.at(pos + 3) != Etx) {
            ++pos;
            continue;
        }
        const char kind = stream.at(pos + 1);
        const auto id = static_cast<quint8>(stream.at(pos + 2));
        pos += 4;
        if (kind == Ack) {
            qDebug() << "TransferPacket: ACK received for packet id " << int(id);
            emit ackReceived(id);
        } else if (kind == Nck) {
            qDebug() << "TransferPacket: NCK received for packet id " << int(id);
            emit nckReceived(id);
        } else {
            qDebug() << "Unknown message received";
        }
    }
    // Keep only what may still start a reply.
    while (pos < stream.size() && stream.at(pos) != Stx)
        ++pos;
    m_replyBytes = stream.mid(pos) + m_replyBytes;
}

} // namespace Ux
