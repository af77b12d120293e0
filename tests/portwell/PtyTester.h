#pragma once

// A tester at the far end of a serial line, for the portwell tests: a
// pseudo-terminal whose slave the tool opens as its port, while this side
// reads the master. Bytes are collected as they come; blocks (STX .. ETX)
// are cut out and answered from a queue of replies. Nothing of the tool's
// own serial code is used here.

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QSocketNotifier>
#include <QString>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <functional>
#include <memory>

class PtyTester
{
public:
    enum Reply { Ack, Nak, Silent };

    PtyTester()
    {
        if (::openpty(&m_master, &m_slave, nullptr, nullptr, nullptr) != 0) {
            m_master = m_slave = -1;
            return;
        }
        char name[256] = {};
        ::ptsname_r(m_master, name, sizeof name);
        m_slaveName = QString::fromLocal8Bit(name);
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
        ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
        ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
        termios raw;
        ::tcgetattr(m_slave, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(m_slave, TCSANOW, &raw);
        m_notifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { pump(); });
    }

    ~PtyTester() { vanish(); }

    bool isValid() const { return m_master >= 0; }
    // The device path the tool opens.
    QString slaveName() const { return m_slaveName; }
    // The name the tool lists the port under (below /dev/).
    QString shortName() const { return m_slaveName.mid(5); }
    // A descriptor on the same terminal, for reading its settings back.
    int slaveFd() const { return m_slave; }

    // The far end goes away, as when an adapter is pulled out.
    void vanish()
    {
        m_notifier.reset();
        if (m_slave >= 0)
            ::close(m_slave);
        if (m_master >= 0)
            ::close(m_master);
        m_master = m_slave = -1;
    }

    // Stops reading: what the tool writes piles up in the terminal.
    void stopReading() { m_notifier.reset(); }

    // The line takes nothing more: reading stops and the terminal's queue
    // towards this end is filled up, so that the tool's writes find no room.
    void takeNothing()
    {
        stopReading();
        ::fcntl(m_slave, F_SETFL, ::fcntl(m_slave, F_GETFL) | O_NONBLOCK);
        const QByteArray filler(4096, '\0');
        // The driver refuses a large write while a smaller one still fits,
        // and room frees up in steps as it moves bytes along its buffers:
        // full means a whole round, down to single bytes, found none.
        for (bool wrote = true; wrote;) {
            wrote = false;
            for (const int chunk : {4096, 256, 16, 1}) {
                for (;;) {
                    const ssize_t n = ::write(m_slave, filler.constData(), size_t(chunk));
                    if (n <= 0)
                        break;
                    m_filler += n;
                    wrote = true;
                }
            }
            QThread::msleep(20);
        }
    }

    // Reading again, the filler read away before this returns so that the
    // line has room; the tool's bytes are kept.
    void takeAgain()
    {
        m_notifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { pump(); });
        QDeadlineTimer deadline(5000);
        while (m_filler > 0 && !deadline.hasExpired()) {
            if (pump() == 0)
                QThread::msleep(2);
        }
    }

    void send(const QByteArray& bytes)
    {
        qsizetype done = 0;
        QDeadlineTimer deadline(5000);
        while (done < bytes.size() && !deadline.hasExpired()) {
            const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
            if (n > 0)
                done += n;
            else
                QThread::msleep(2);
        }
    }

    void queueReplies(const QList<Reply>& replies) { m_replies.append(replies); }
    void setDefaultReply(Reply reply) { m_defaultReply = reply; }

    int pump()
    {
        if (m_master < 0)
            return 0;
        int total = 0;
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n <= 0)
                break;
            const qint64 skip = qMin<qint64>(m_filler, n);
            m_filler -= skip;
            m_received.append(buffer + skip, n - skip);
            total += int(n - skip);
        }
        cutBlocks();
        return total;
    }

    QByteArray received() const { return m_received; }
    QList<QByteArray> blocks() const { return m_blocks; }
    void clear()
    {
        m_received.clear();
        m_blocks.clear();
        m_cut = 0;
    }

    // Runs the event loop until the condition holds or the time is up.
    static bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!condition()) {
            if (deadline.hasExpired())
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(1);
        }
        return true;
    }
    bool waitForBlocks(int count, int timeoutMs = 5000)
    {
        return waitFor([this, count] { pump(); return m_blocks.size() >= count; }, timeoutMs);
    }
    bool waitForBytes(int count, int timeoutMs = 5000)
    {
        return waitFor([this, count] { pump(); return m_received.size() >= count; }, timeoutMs);
    }

private:
    void cutBlocks()
    {
        for (;;) {
            const qsizetype start = m_received.indexOf('\x02', m_cut);
            if (start < 0)
                return;
            const qsizetype end = m_received.indexOf('\x03', start);
            if (end < 0)
                return;
            m_blocks.append(m_received.mid(start, end + 1 - start));
            m_cut = end + 1;
            const Reply reply = m_replies.isEmpty() ? m_defaultReply : m_replies.takeFirst();
            if (reply == Ack)
                send(QByteArray(1, '\x06'));
            else if (reply == Nak)
                send(QByteArray(1, '\x15'));
        }
    }

    int m_master = -1;
    int m_slave = -1;
    QString m_slaveName;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QByteArray m_received;
    qsizetype m_cut = 0;
    // Bytes of takeNothing() still to come before the tool's own.
    qint64 m_filler = 0;
    QList<QByteArray> m_blocks;
    QList<Reply> m_replies;
    Reply m_defaultReply = Silent;
};
