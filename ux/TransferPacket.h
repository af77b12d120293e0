#pragma once

#include "ux/TransferEscaped.h"

namespace Ux {

// Codes carried by TransferPacket::packetError().
enum TransferPacketError {
    TransferPacketStrayByte = 0,   // not STX between packets after a refused packet
    TransferPacketBadId = 1,       // packet id outside 4..126
    TransferPacketMissingEtx = 2,  // the byte after the sum is not ETX
    TransferPacketBadSum = 3,      // ETX present, sum differs
};

// Framed packets on the escaped stream, one record per packet:
//   STX, escaped {id, length low, length high, data, sum low, sum high}, ETX
// with sum = 1 + id + both length bytes + every data byte, modulo 65536.
// A receiver (mode 0) checks each packet, answers ACK (02 06 id 03) or NCK
// (02 15 lastAckId 03) by itself and signals good packets; a sender (mode 1)
// writes packets and turns the replies into ackReceived()/nckReceived().
// Timing and repeats are left to the transfer that owns the object.
class TransferPacket : public TransferEscaped
{
    Q_OBJECT
public:
    enum Mode { ReceiverMode = 0, SenderMode = 1 };
    static constexpr char Ack = 0x06;
    static constexpr char Nck = 0x15;
    static constexpr quint8 FirstPacketId = 4;
    static constexpr quint8 LastPacketId = 126;
    static constexpr int MaxDataLength = 0xFFFF;

    // Any mode but 0 and 1 connects neither reader.
    TransferPacket(SerialPort* port, int mode);

    static quint16 checksum(quint8 id, const QByteArray& data);

    // Builds, keeps and writes one frame. Data longer than MaxDataLength is
    // refused and logged; nothing is written and nothing is kept.
    void sendPacket(quint8 id, const QByteArray& data);
    // Writes the kept frame again, byte for byte; nothing before the first
    // sendPacket().
    qint64 resendPacket();
    // Reply writers; 0 when the port is not open.
    qint64 sendAck(quint8 id);
    qint64 sendNck(quint8 id);

    // Back to the state of a new object: waiting for STX, no packet
    // acknowledged, no partial reply, no pending escape.
    void reset();

    quint8 lastAckId() const { return m_lastAckId; }

public slots:
    void readPacket(const QByteArray& bytes);
    void readAckNck(const QByteArray& bytes);

signals:
    void packetReceived(quint8 id, const QByteArray& data);
    void ackReceived(quint8 id);
    void nckReceived(quint8 id);
    void packetError(int code);

private:
    enum State {
        WaitStx = 0,
        WaitId = 1,
        WaitLengthLow = 2,
        WaitLengthHigh = 3,
        WaitData = 4,
        WaitSumLow = 5,
        WaitSumHigh = 6,
        WaitEtx = 7,
    };

    qint64 sendReply(char kind, quint8 id, const char* name);
    void refuse(int code);
    void acceptPacket();

    quint8 m_packetId = 0;
    quint8 m_lastAckId = 0;
    int m_state = WaitStx;
    QByteArray m_buffer;
    quint16 m_length = 0;
    quint16 m_receivedSum = 0;
    quint16 m_runningSum = 0;

    // Receiver: the last packet acknowledged, to know a repeat of it.
    bool m_haveAcked = false;
    QByteArray m_lastAckData;
    // Sender: the frame last sent, and reply bytes not yet making a reply.
    QByteArray m_frame;
    QByteArray m_replyBytes;
};

} // namespace Ux
