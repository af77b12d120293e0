#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

#include <termios.h>

class QSocketNotifier;

// Plays a test instrument at the far end of a serial line. It opens a
// pseudo-terminal pair: the program under test opens portName() (the slave
// device) with Ux::SerialPort, the instrument works on the master side.
//
// Sending: frames are built here from the wire rules alone (never by the
// code under test), optionally spoilt (bad sum, bad id, missing ETX), and
// written whole or split into chunks; stray bytes and raw replies go out as
// given; resendLastPacket() repeats the last frame as after a lost ACK.
//
// Receiving: every byte the program writes is recorded (received()) and
// decoded into what the instrument saw (seen()): data packets with their sum
// checked, ACK and NCK replies, stray bytes. Good data packets are answered
// with ACK or NCK when asked to (setDefaultAnswer(), queueAnswers()).
//
// Driving: with the Qt event loop running, a socket notifier on the master
// picks up the program's bytes; without one, pump() does it. The wait
// functions call pump(), the poller (typically a lambda that polls the
// Ux::SerialPort, as a transfer's timer would) and processEvents() until
// their condition holds. Everything runs in the calling thread; the
// destructor closes both descriptors.
class SimulatedInstrument : public QObject
{
    Q_OBJECT
public:
    enum Fault { NoFault, BadSum, BadId, MissingEtx };
    enum Answer { NoAnswer, AnswerAck, AnswerNck };

    struct Seen
    {
        enum Kind { Packet, BadPacket, Ack, Nck, OtherReply, Stray };
        Kind kind = Stray;
        quint8 id = 0;    // packet id, or the id carried by a reply
        quint8 code = 0;  // reply kind byte (OtherReply)
        QByteArray data;  // packet data (unescaped)
        QByteArray raw;   // the bytes as they travelled
    };

    explicit SimulatedInstrument(QObject* parent = nullptr);
    ~SimulatedInstrument() override;

    bool isValid() const { return m_master >= 0; }
    QString errorString() const { return m_error; }
    // Device path for Ux::SerialPort::open().
    QString portName() const { return m_slaveName; }

    // --- frames by the wire rules -------------------------------------
    // STX, escaped {id, length, data, sum}, ETX. BadSum adds one to the sum,
    // BadId sends id 127 instead of the given one (ids are otherwise sent as
    // given, so 3 or 127 may also be passed directly), MissingEtx ends the
    // frame with 0x04.
    static QByteArray frame(quint8 id, const QByteArray& data, Fault fault = NoFault);
    static QByteArray escaped(const QByteArray& bytes);
    static quint16 sum(quint8 id, const QByteArray& data);
    static QByteArray ackBytes(quint8 id);
    static QByteArray nckBytes(quint8 id);

    // --- instrument -> program ----------------------------------------
    // chunkSizes splits the bytes; a remainder goes as a last chunk. Between
    // chunks the instrument waits until the program has read the previous
    // one, so each chunk reaches a separate read. False on a write failure or
    // when the program does not read within the time-out.
    bool sendRaw(const QByteArray& bytes, const QList<int>& chunkSizes = {});
    // As sendRaw(), then waits until the program has read the last chunk too.
    bool sendAndWaitRead(const QByteArray& bytes, const QList<int>& chunkSizes = {});
    bool sendPacket(quint8 id, const QByteArray& data, Fault fault = NoFault,
                    const QList<int>& chunkSizes = {});
    // The last frame of sendPacket() again, byte for byte.
    bool resendLastPacket(const QList<int>& chunkSizes = {});
    bool sendAck(quint8 id) { return sendRaw(ackBytes(id)); }
    bool sendNck(quint8 id) { return sendRaw(nckBytes(id)); }
    QByteArray lastFrame() const { return m_lastFrame; }

    // --- program -> instrument ----------------------------------------
    // Reads what the program wrote; returns the count of new bytes.
    int pump();
    QByteArray received() const { return m_received; }
    QList<Seen> seen() const { return m_seen; }
    QList<Seen> seenOfKind(Seen::Kind kind) const;
    // Forgets received bytes and seen frames (a partial frame too).
    void clearReceived();

    // How good data packets are answered: the queued answers first, one per
    // packet, then the default (NoAnswer at start). A refused packet (bad sum,
    // id or trailer) is answered with NCK of its id unless the default is
    // NoAnswer.
    void setDefaultAnswer(Answer answer) { m_defaultAnswer = answer; }
    void queueAnswers(const QList<Answer>& answers) { m_answers.append(answers); }

    // --- waiting --------------------------------------------------------
    void setPoller(std::function<void()> poller) { m_poller = std::move(poller); }
    bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);
    bool waitForReceived(int byteCount, int timeoutMs = 5000);
    bool waitForSeen(int frameCount, int timeoutMs = 5000);

    // --- the program's side of the line --------------------------------
    // Bytes waiting in the slave's input queue, not yet read by the program.
    int pendingForPort() const;
    // Waits, without polling the program, until at least count bytes wait
    // for it (the pseudo-terminal hands bytes over asynchronously).
    bool waitUntilPending(int count, int timeoutMs = 5000);
    bool lineSettings(termios* settings) const;
    bool setLineSettings(const termios& settings);
    bool portIsExclusive() const;

signals:
    void frameSeen(const SimulatedInstrument::Seen& frame);

private:
    bool writeAll(const QByteArray& bytes);
    bool send(const QByteArray& bytes, const QList<int>& chunkSizes, bool waitForLast);
    void decode();
    void record(const Seen& frame);
    void answer(const Seen& frame);

    int m_master = -1;
    int m_slave = -1;  // held open so the line lives; never read
    QString m_slaveName;
    QString m_error;
    QSocketNotifier* m_notifier = nullptr;
    std::function<void()> m_poller;

    QByteArray m_lastFrame;
    QByteArray m_received;
    qsizetype m_decoded = 0;
    QList<Seen> m_seen;
    Answer m_defaultAnswer = NoAnswer;
    QList<Answer> m_answers;
};
