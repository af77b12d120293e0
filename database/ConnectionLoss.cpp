#include "database/ConnectionLoss.h"

#include "core/Error.h"
#include "database/Database.h"
#include "database/MySqlRowStream.h"
#include "database/PendingWrite.h"
#include "database/ServerDatabase.h"

#include <QDebug>
#include <QMetaObject>
#include <QSqlDriver>
#include <QStringList>

#include <mysql.h>
#include <poll.h>

namespace {
thread_local int t_commitsSent = 0;

std::function<void()>& lostHook()
{
    static std::function<void()> hook;
    return hook;
}

// The MySQL client's and server's numbers for a connection that is gone.
// A deadlock (1213) or a lock wait that timed out (1205) is not among them:
// the connection still stands and the statement may be run again.
const QStringList kMySqlLost = {
    QStringLiteral("2002"), QStringLiteral("2003"), // the library tried to connect again and could not
    QStringLiteral("2006"), // the server has gone away
    QStringLiteral("2013"), // lost during a statement; also a read or write time-out
    QStringLiteral("2055"), // lost, with the system's reason
    QStringLiteral("1053"), // the server is shutting down
    QStringLiteral("1927"), // the connection was killed
    QStringLiteral("4031"), // the server closed an idle connection
};

// SQLSTATEs of ODBC for a link that is gone or timed out.
const QStringList kOdbcLostStates = {QStringLiteral("08S01"), QStringLiteral("08003"), QStringLiteral("08007"),
                                     QStringLiteral("HYT00"), QStringLiteral("HYT01")};
// Qt 6.4's ODBC driver gives only the drivers' messages and native codes,
// not the SQLSTATE: the words of Microsoft's and FreeTDS's drivers for the
// same states, and the socket errors SQL Server's client reports.
const QStringList kOdbcLostPhrases = {
    QStringLiteral("Communication link failure"), QStringLiteral("TCP Provider"),
    QStringLiteral("No process is on the other end of the pipe"), QStringLiteral("timeout expired"),
    QStringLiteral("Read from the server failed"), QStringLiteral("Write to the server failed"),
    QStringLiteral("Adaptive Server connection failed"), QStringLiteral("Adaptive Server connection timed out"),
};
const QStringList kOdbcLostCodes = {QStringLiteral("10053"), QStringLiteral("10054"), QStringLiteral("10060"),
                                    QStringLiteral("233")};

// A MySQL connection whose far end has hung up (the server stopped, or the
// network between dropped it): the client library still writes to it
// without complaint, and words the failure that follows as a loss during
// the statement, yet nothing sent now reaches the server.
bool closedByServer(const QSqlDriver* driver)
{
    MYSQL* mysql = MySqlRowStream::handleOf(driver);
    if (!mysql)
        return false;
    pollfd link{int(mysql_get_socket(mysql)), POLLRDHUP, 0};
    return link.fd >= 0 && ::poll(&link, 1, 0) == 1 && (link.revents & (POLLRDHUP | POLLHUP | POLLERR));
}

// The client library's number for a statement it could not send: the
// server never ran it.
const QString kMySqlNotSent = QStringLiteral("2006");

bool anyIn(const QString& list, const QStringList& wanted)
{
    for (const QString& item : list.split(QLatin1Char(';'))) {
        if (wanted.contains(item.trimmed()))
            return true;
    }
    return false;
}

bool odbcLost(const QSqlError& error)
{
    const QString text = error.databaseText();
    // Newer Qt ends the message with the records' SQLSTATEs.
    const qsizetype comma = text.lastIndexOf(QLatin1String(", "));
    if (comma >= 0 && anyIn(text.mid(comma + 2), kOdbcLostStates))
        return true;
    if (anyIn(error.nativeErrorCode(), kOdbcLostCodes))
        return true;
    for (const QString& phrase : kOdbcLostPhrases) {
        if (text.contains(phrase, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QString serverOf(Database* db)
{
    auto* server = dynamic_cast<ServerDatabase*>(db);
    const QString host = server ? server->connectionSettings().host : QString();
    if (db->type() == DatabaseMsSql)
        return ConnectionLoss::tr("SQL Server on %1 (database %2)", "%1 is the host, %2 the database name")
            .arg(host, db->databaseName());
    return ConnectionLoss::tr("MySQL server on %1 (database %2)", "%1 is the host, %2 the database name")
        .arg(host, db->databaseName());
}

QString reasonOf(const QSqlError& error)
{
    QString reason = error.databaseText().trimmed();
    if (reason.isEmpty())
        reason = error.text().trimmed();
    if (!error.nativeErrorCode().isEmpty())
        reason += QStringLiteral(" (%1)").arg(error.nativeErrorCode());
    return reason;
}
} // namespace

bool ConnectionLoss::isLost(const QSqlError& error, int type)
{
    if (error.type() == QSqlError::NoError)
        return false;
    if (type == DatabaseMySql)
        return kMySqlLost.contains(error.nativeErrorCode().trimmed());
    if (type == DatabaseMsSql)
        return odbcLost(error);
    return false;
}

bool ConnectionLoss::happened()
{
    const Database* db = Database::instance();
    return db && db->connectionLost();
}

void ConnectionLoss::setLostHook(std::function<void()> hook)
{
    lostHook() = std::move(hook);
}

ConnectionLoss::CommitSent::CommitSent(const QSqlDriver* driver) : m_counted(!closedByServer(driver))
{
    if (m_counted)
        ++t_commitsSent;
}

ConnectionLoss::CommitSent::~CommitSent()
{
    if (m_counted)
        --t_commitsSent;
}

QString ConnectionLoss::message(const QString& server, const QString& reason, const QStringList& notSaved,
                                const QStringList& maybeSaved, const QStringList& done)
{
    auto listed = [](const QStringList& items) {
        QStringList lines;
        for (const QString& item : items)
            lines << QStringLiteral("  - ") + item;
        return lines.join(QLatin1Char('\n'));
    };
    QString what;
    if (!done.isEmpty())
        what += tr("Done and saved:\n%1\n\n", "%1 lists what the steps done before the loss saved, one per line")
                    .arg(listed(done));
    if (!maybeSaved.isEmpty())
        what += tr("May not have been saved (the connection dropped after it was sent to be stored; saving it "
                   "again finds what was stored):\n%1\n\n",
                   "%1 lists what may not have been saved, one per line")
                    .arg(listed(maybeSaved));
    if (!notSaved.isEmpty() || maybeSaved.isEmpty())
        what += tr("Not saved:\n%1\n\n", "%1 lists what was not saved, one per line")
                    .arg(notSaved.isEmpty() ? listed({tr("anything that was being saved at that moment")})
                                            : listed(notSaved));
    return tr("The connection to the %1 was lost.\n\nReason: %2\n\n%3"
              "Pelvane goes on without a database. Once the server can be reached again, use Connect to "
              "Database to open it again, and repeat what was not saved.",
              "%1 names the server and database, %2 is the database system's message, %3 says what was not "
              "saved")
        .arg(server, reason, what);
}

bool ConnectionLoss::handle(const QSqlError& error, const QSqlDriver* driver)
{
    Database* db = Database::instance();
    if (!db || (driver && driver != db->connection().driver()))
        return false;
    // Once lost, everything that still runs on the connection fails too, and
    // for the same reason: the user has been told already.
    if (db->connectionLost())
        return true;
    if (!isLost(error, db->type()))
        return false;
    if (db->markConnectionLost())
        return true;
    // The innermost write is the one whose commit was on its way.
    QStringList notSaved = PendingWrite::all();
    QStringList maybeSaved;
    const bool notSent = db->type() == DatabaseMySql && error.nativeErrorCode().trimmed() == kMySqlNotSent;
    if (t_commitsSent > 0 && !notSent && !notSaved.isEmpty())
        maybeSaved << notSaved.takeFirst();
    const QString text = message(serverOf(db), reasonOf(error), notSaved, maybeSaved, PendingWrite::done());
    qDebug().noquote() << text;
    Error::report(QStringLiteral("ConnectionLoss::handle"), text, ErrorWarning, 0, __FILE__, __LINE__);
    if (lostHook() && QCoreApplication::instance())
        QMetaObject::invokeMethod(QCoreApplication::instance(), lostHook(), Qt::QueuedConnection);
    return true;
}
