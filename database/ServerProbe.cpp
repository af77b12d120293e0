#include "database/ServerProbe.h"

#include "database/ServerDatabase.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHostInfo>
#include <QTcpSocket>
#include <QTimer>
#include <QtEndian>

namespace {
// A prelogin that asks for encryption: the version and encryption options.
QByteArray tdsPrelogin()
{
    const char options[] = {0x00, 0x00, 0x0b, 0x00, 0x06, 0x01, 0x00, 0x11, 0x00, 0x01, char(0xff),
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01};
    QByteArray packet("\x12\x01\x00\x00\x00\x00\x01\x00", 8);
    packet.append(options, sizeof(options));
    qToBigEndian<quint16>(quint16(packet.size()), packet.data() + 2);
    return packet;
}

// The encryption a prelogin answer settles on; -1 when the bytes are no
// whole prelogin answer.
int tdsEncryption(const QByteArray& reply)
{
    if (reply.size() < 8 || reply.at(0) != 0x04 || reply.size() < qFromBigEndian<quint16>(reply.constData() + 2))
        return -1;
    const QByteArray options = reply.mid(8);
    for (int at = 0; at + 5 <= options.size() && quint8(options.at(at)) != 0xff; at += 5) {
        const int offset = qFromBigEndian<quint16>(options.constData() + at + 1);
        if (options.at(at) == 0x01 && offset < options.size())
            return quint8(options.at(offset));
    }
    return -1;
}

const int kEncryptionNotSupported = 2;
} // namespace

ServerProbe::ServerProbe(const QString& place, const QString& name, quint16 port, Greeting greeting, int timeout)
{
    const QDeadlineTimer deadline(timeout * 1000LL);
    m_deadlineMs = deadline.deadline();
    m_started.start();
    if (name.isEmpty())
        return;
    BusyCursor busy;
    // The wait paints the window but takes no clicks or keys, which would
    // start another attempt inside this one.
    QEventLoop loop;
    QTimer expiry;
    expiry.setSingleShot(true);
    expiry.setTimerType(Qt::PreciseTimer);
    bool expired = false;
    QObject::connect(&expiry, &QTimer::timeout, &loop, [&] {
        expired = true;
        loop.quit();
    });
    // Whether what was waited for came (or may have) before the deadline.
    const auto wait = [&] {
        if (!expired) {
            expiry.start(int(qMax<qint64>(0, deadline.remainingTime())));
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        }
        return !expired;
    };

    QHostInfo found;
    bool answered = false;
    const int lookup = QHostInfo::lookupHost(name, &loop, [&](const QHostInfo& info) {
        found = info;
        answered = true;
        loop.quit();
    });
    if (!answered)
        wait();
    if (!answered) {
        QHostInfo::abortHostLookup(lookup);
        stop = tr("The name %1 could not be looked up within %n seconds", "%%1 is the host name as typed", timeout)
                   .arg(name);
        return;
    }
    if (found.error() != QHostInfo::NoError || found.addresses().isEmpty()) {
        stop = tr("The name %1 could not be looked up (%2)", "%%1 is the host name as typed, %%2 the resolver's reason")
                   .arg(name, found.errorString());
        return;
    }
    QHostAddress chosen = found.addresses().constFirst();
    // FreeTDS takes an IPv4 address more readily than an IPv6 one.
    for (const QHostAddress& a : found.addresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol) {
            chosen = a;
            break;
        }
    address = chosen.toString();
    if (port == 0)
        return;

    QTcpSocket socket;
    QObject::connect(&socket, &QTcpSocket::connected, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QTcpSocket::readyRead, &loop, &QEventLoop::quit);
    socket.connectToHost(chosen, port);
    const auto settled = [&] {
        return socket.state() == QAbstractSocket::ConnectedState || socket.state() == QAbstractSocket::UnconnectedState;
    };
    while (!settled() && wait()) {
    }
    if (!settled()) {
        stop = tr("Nothing answers at %1 within %n seconds", "%%1 is the host and port as typed", timeout).arg(place);
        return;
    }
    if (socket.state() != QAbstractSocket::ConnectedState) {
        // The driver's own words follow, as they say more on some failures.
        lead = socket.error() == QAbstractSocket::ConnectionRefusedError
                   ? tr("The port refused the connection at %1: no server listens there, or a firewall turns it away",
                        "%%1 is the host and port as typed")
                         .arg(place)
                   : tr("%1 could not be reached (%2)", "%%1 is the host and port as typed, %%2 the system's reason")
                         .arg(place, socket.errorString());
        return;
    }
    if (greeting == TdsPrelogin)
        socket.write(tdsPrelogin());
    QByteArray reply;
    for (;;) {
        reply += socket.readAll();
        // Bytes that are no prelogin answer are the driver's to judge.
        const bool judged = !reply.isEmpty()
                            && (greeting == ServerSpeaksFirst || reply.at(0) != 0x04 || tdsEncryption(reply) >= 0
                                || reply.size() >= 4096);
        if (judged || socket.state() != QAbstractSocket::ConnectedState || !wait())
            break;
    }
    reply += socket.readAll();
    if (reply.isEmpty() && socket.state() == QAbstractSocket::ConnectedState)
        stop = ServerDatabase::tr("The server did not answer within %n seconds (%1)", "%%1 is the database driver's message",
                                  timeout)
                   .arg(tr("%1 took the connection and sent nothing", "%%1 is the host and port as typed").arg(place));
    else if (greeting == TdsPrelogin && tdsEncryption(reply) == kEncryptionNotSupported)
        stop = tr("The server at %1 does not encrypt logins, so the password was not sent to it",
                  "%%1 is the host and port as typed")
                   .arg(place);
    socket.abort();
}

qint64 ServerProbe::waitedMs() const
{
    return m_started.elapsed();
}

int ServerProbe::secondsLeft() const
{
    const qint64 left = m_deadlineMs - QDeadlineTimer::current().deadline();
    return int(qMax<qint64>(1, (left + 999) / 1000));
}

BusyCursor::BusyCursor()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
        m_set = true;
    }
}

BusyCursor::~BusyCursor()
{
    if (m_set)
        QGuiApplication::restoreOverrideCursor();
}
