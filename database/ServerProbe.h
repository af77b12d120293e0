#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>

// The first steps of a connection to a server, taken before its driver is
// asked, while the window keeps painting under a busy cursor: the name
// looked up and the port reached, both within the attempt's time-out, so
// that the words can say which step failed. The drivers look names up and
// wait for ports on the window's thread, with a time-out that binds only
// the connection, not the lookup.
class ServerProbe
{
    Q_DECLARE_TR_FUNCTIONS(ServerProbe)

public:
    enum Greeting {
        ServerSpeaksFirst, // MySQL greets every connection
        TdsPrelogin,       // SQL Server answers a prelogin: it must offer encryption
    };

    // place: host and port as the words name them; name: the host to look
    // up, none when it is left to the driver (a local socket, a missing
    // driver); port 0 looks the name up only.
    ServerProbe(const QString& place, const QString& name, quint16 port, Greeting greeting, int timeout);

    // Words why the attempt ends here: the driver is not to be asked.
    QString stop;
    // Words that lead the driver's own: the port turned the connection away.
    QString lead;
    // The address the name stands for, for the driver to use instead of
    // looking it up again; empty when the name was not looked up.
    QString address;
    // What is left of the time-out for the driver, in whole seconds.
    int secondsLeft() const;
    // Since the attempt began.
    qint64 waitedMs() const;

private:
    qint64 m_deadlineMs = 0;
    QElapsedTimer m_started;
};

// The window's cursor shows that it waits, for as long as this lives.
class BusyCursor
{
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool m_set = false;
};
