#include "support/SimulatedInstrument.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

const char Stx = 0x02;
const char Etx = 0x03;
const char Esc = 0x7F;

QByteArray unescaped(const QByteArray& bytes)
{
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) != Esc || i + 1 == bytes.size()) {
            out.append(bytes.at(i));
            continue;
        }
        const auto next = static_cast<quint8>(bytes.at(++i));
        out.append(next == 0xF2 ? Stx : next == 0xF3 ? Etx : next == 0x7F ? Esc : '\0');
    }
    return out;
}

} // namespace

SimulatedInstrument::SimulatedInstrument(QObject* parent) : QObject(parent)
{
    if (::openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        m_master = m_slave = -1;
        return;
    }
    char name[256] = {};
    ::ptsname_r(m_master, name, sizeof name);
    m_slaveName = QString::fromLocal8Bit(name);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    // A fresh pseudo-terminal echoes and edits lines; until the program sets
    // its own line settings nothing it did not write may come back to it.
    termios raw;
    ::tcgetattr(m_slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(m_slave, TCSANOW, &raw);

    if (QCoreApplication::instance()) {
        m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { pump(); });
    }
}

SimulatedInstrument::~SimulatedInstrument()
{
    delete m_notifier;
    m_notifier = nullptr;
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

quint16 SimulatedInstrument::sum(quint8 id, const QByteArray& data)
{
    quint32 total = 1u + id + (data.size() & 0xFF) + ((data.size() >> 8) & 0xFF);
    for (const char byte : data)
        total += static_cast<quint8>(byte);
    return static_cast<quint16>(total & 0xFFFF);
}

QByteArray SimulatedInstrument::escaped(const QByteArray& bytes)
{
    QByteArray out;
    for (const char byte : bytes) {
        if (byte == Stx)
            out.append(Esc).append(char(0xF2));
        else if (byte == Etx)
            out.append(Esc).append(char(0xF3));
        else if (byte == Esc)
            out.append(Esc).append(Esc);
        else
            out.append(byte);
    }
    return out;
}

QByteArray SimulatedInstrument::frame(quint8 id, const QByteArray& data, Fault fault)
{
    quint16 total = sum(id, data);
    if (fault == BadSum)
        ++total;
    QByteArray body;
    body.append(char(fault == BadId ? 127 : id));
    body.append(char(data.size() & 0xFF));
    body.append(char((data.size() >> 8) & 0xFF));
    body.append(data);
    body.append(char(total & 0xFF));
    body.append(char(total >> 8));
    return Stx + escaped(body) + (fault == MissingEtx ? '\x04' : Etx);
}

QByteArray SimulatedInstrument::ackBytes(quint8 id)
{
    return QByteArray("\x02\x06", 2) + char(id) + Etx;
}

QByteArray SimulatedInstrument::nckBytes(quint8 id)
{
    return QByteArray("\x02\x15", 2) + char(id) + Etx;
}

bool SimulatedInstrument::writeAll(const QByteArray& bytes)
{
    qsizetype done = 0;
    QElapsedTimer clock;
    clock.start();
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            m_error = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        if (clock.elapsed() > 5000) {
            m_error = QStringLiteral("the program does not take the bytes");
            return false;
        }
        pollfd pfd{m_master, POLLOUT, 0};
        ::poll(&pfd, 1, 10);
    }
    return true;
}

bool SimulatedInstrument::sendRaw(const QByteArray& bytes, const QList<int>& chunkSizes)
{
    return send(bytes, chunkSizes, false);
}

bool SimulatedInstrument::sendAndWaitRead(const QByteArray& bytes, const QList<int>& chunkSizes)
{
    return send(bytes, chunkSizes, true);
}

bool SimulatedInstrument::send(const QByteArray& bytes, const QList<int>& chunkSizes, bool waitForLast)
{
    if (!isValid())
        return false;
    QList<QByteArray> chunks;
    qsizetype pos = 0;
    for (const int size : chunkSizes) {
        if (pos >= bytes.size() || size <= 0)
            break;
        chunks << bytes.mid(pos, size);
        pos += chunks.last().size();
    }
    if (pos < bytes.size())
        chunks << bytes.mid(pos);
    for (qsizetype i = 0; i < chunks.size(); ++i) {
        if (!writeAll(chunks.at(i)))
            return false;
        if (i + 1 == chunks.size() && !waitForLast)
            break;
        // Let the program read this chunk on its own before the next: first
        // it has to cross the pseudo-terminal, then the program takes it.
        if (!waitUntilPending(int(chunks.at(i).size()))
            || !waitUntil([this] { return pendingForPort() == 0; })) {
            m_error = QStringLiteral("the program did not read the bytes");
            return false;
        }
    }
    return true;
}

bool SimulatedInstrument::sendPacket(quint8 id, const QByteArray& data, Fault fault,
                                     const QList<int>& chunkSizes)
{
    m_lastFrame = frame(id, data, fault);
    return send(m_lastFrame, chunkSizes, false);
}

bool SimulatedInstrument::resendLastPacket(const QList<int>& chunkSizes)
{
    return sendRaw(m_lastFrame, chunkSizes);
}

int SimulatedInstrument::pump()
{
    if (!isValid())
        return 0;
    int total = 0;
    char block[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, block, sizeof block);
        if (n <= 0)
            break;
        m_received.append(block, n);
        total += int(n);
    }
    if (total > 0)
        decode();
    return total;
}

void SimulatedInstrument::decode()
{
    while (m_decoded < m_received.size()) {
        const qsizetype start = m_decoded;
        if (m_received.at(start) != Stx) {
            qsizetype end = m_received.indexOf(Stx, start);
            if (end < 0)
                end = m_received.size();
            Seen stray;
            stray.raw = m_received.mid(start, end - start);
            m_decoded = end;
            record(stray);
            continue;
        }
        // A frame runs from STX to the next ETX; an STX first means the frame
        // before it was cut off.
        qsizetype end = start + 1;
        while (end < m_received.size() && m_received.at(end) != Etx && m_received.at(end) != Stx)
            ++end;
        if (end == m_received.size())
            return;  // wait for the rest
        if (m_received.at(end) == Stx) {
            Seen broken;
            broken.raw = m_received.mid(start, end - start);
            m_decoded = end;
            record(broken);
            continue;
        }
        Seen frame;
        frame.raw = m_received.mid(start, end + 1 - start);
        m_decoded = end + 1;
        if (frame.raw.size() == 4) {
            frame.code = static_cast<quint8>(frame.raw.at(1));
            frame.id = static_cast<quint8>(frame.raw.at(2));
            frame.kind = frame.code == 0x06 ? Seen::Ack : frame.code == 0x15 ? Seen::Nck : Seen::OtherReply;
        } else {
            const QByteArray body = unescaped(frame.raw.mid(1, frame.raw.size() - 2));
            frame.kind = Seen::BadPacket;
            if (!body.isEmpty())
                frame.id = static_cast<quint8>(body.at(0));
            if (body.size() >= 5) {
                const int length = quint8(body.at(1)) | (quint8(body.at(2)) << 8);
                if (body.size() == length + 5) {
                    frame.data = body.mid(3, length);
                    const quint16 carried =
                        quint16(quint8(body.at(length + 3)) | (quint8(body.at(length + 4)) << 8));
                    if (carried == sum(frame.id, frame.data) && frame.id >= 4 && frame.id <= 126)
                        frame.kind = Seen::Packet;
                }
            }
        }
        record(frame);
    }
}

void SimulatedInstrument::record(const Seen& frame)
{
    m_seen.append(frame);
    answer(frame);
    emit frameSeen(frame);
}

void SimulatedInstrument::answer(const Seen& frame)
{
    if (frame.kind == Seen::BadPacket) {
        if (m_defaultAnswer != NoAnswer)
            writeAll(nckBytes(frame.id));
        return;
    }
    if (frame.kind != Seen::Packet)
        return;
    const Answer reply = m_answers.isEmpty() ? m_defaultAnswer : m_answers.takeFirst();
    if (reply == AnswerAck)
        writeAll(ackBytes(frame.id));
    else if (reply == AnswerNck)
        writeAll(nckBytes(frame.id));
}

QList<SimulatedInstrument::Seen> SimulatedInstrument::seenOfKind(Seen::Kind kind) const
{
    QList<Seen> out;
    for (const Seen& frame : m_seen) {
        if (frame.kind == kind)
            out.append(frame);
    }
    return out;
}

void SimulatedInstrument::clearReceived()
{
    pump();
    m_received.clear();
    m_seen.clear();
    m_decoded = 0;
}

bool SimulatedInstrument::waitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        pump();
        if (condition())
            return true;
        if (m_poller)
            m_poller();
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        pump();
        if (condition())
            return true;
        if (clock.elapsed() > timeoutMs)
            return false;
        pollfd pfd{m_master, POLLIN, 0};
        ::poll(&pfd, 1, 1);
    }
}

bool SimulatedInstrument::waitForReceived(int byteCount, int timeoutMs)
{
    return waitUntil([this, byteCount] { return m_received.size() >= byteCount; }, timeoutMs);
}

bool SimulatedInstrument::waitForSeen(int frameCount, int timeoutMs)
{
    return waitUntil([this, frameCount] { return m_seen.size() >= frameCount; }, timeoutMs);
}

int SimulatedInstrument::pendingForPort() const
{
    int count = 0;
    if (m_slave < 0 || ::ioctl(m_slave, FIONREAD, &count) != 0)
        return -1;
    return count;
}

bool SimulatedInstrument::waitUntilPending(int count, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (pendingForPort() < count) {
        if (clock.elapsed() > timeoutMs)
            return false;
        ::usleep(100);
    }
    return true;
}

bool SimulatedInstrument::lineSettings(termios* settings) const
{
    return m_slave >= 0 && ::tcgetattr(m_slave, settings) == 0;
}

bool SimulatedInstrument::setLineSettings(const termios& settings)
{
    return m_slave >= 0 && ::tcsetattr(m_slave, TCSANOW, &settings) == 0;
}

bool SimulatedInstrument::portIsExclusive() const
{
    int exclusive = 0;
    return m_slave >= 0 && ::ioctl(m_slave, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
}
