#include "database/MySqlDatabase.h"

#include "core/AppPaths.h"
#include "core/Error.h"
#include "database/ExecSqlScriptThread.h"
#include "database/SqlQuery.h"
#include "database/WriteLock.h"

#include <QDebug>
#include <QMessageBox>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

#include <optional>

const QString MySqlDatabase::schemaScript = QStringLiteral("Schemas/schema.mysql.sql");
const QString MySqlDatabase::listingConnectionName = QStringLiteral("__MYSQL_master_db__");

namespace {
const QString kUnknownDatabase = QStringLiteral("1049");
// Long enough for any statement of ours on a loaded server, short enough
// that a stopped one is reported rather than waited for.
int g_serverTimeout = 30;
}

int MySqlDatabase::serverTimeout()
{
    return g_serverTimeout;
}

void MySqlDatabase::setServerTimeout(int seconds)
{
    g_serverTimeout = seconds;
}

// Without them the client library waits for ever on a server that is
// stopped but still holds the connection open, or on a host that takes the
// connection and never greets.
QString MySqlDatabase::connectOptions(int connectTimeout)
{
    return QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=%1;MYSQL_OPT_READ_TIMEOUT=%2;MYSQL_OPT_WRITE_TIMEOUT=%2")
        .arg(connectTimeout)
        .arg(g_serverTimeout);
}

namespace {
struct MySqlPlace
{
    QString host;
    int port = 0;
    bool hasPort = false;
};

// "host:port" reaches a server on another port; an address of several
// colons (IPv6) is a host alone.
MySqlPlace placeOf(const QString& host)
{
    MySqlPlace place;
    const int colon = host.lastIndexOf(QLatin1Char(':'));
    place.hasPort = colon > 0 && host.indexOf(QLatin1Char(':')) == colon;
    place.port = place.hasPort ? host.mid(colon + 1).toInt(&place.hasPort) : 0;
    place.host = place.hasPort ? host.left(colon) : host;
    return place;
}
} // namespace

ServerProbe MySqlDatabase::probe(const QSqlDatabase& db, const QString& host, int timeout)
{
    const MySqlPlace place = placeOf(host);
    // The client library takes "localhost" without a port to the local
    // socket, which has no name to look up.
    const bool socket = !place.hasPort && (place.host.isEmpty() || place.host == QLatin1String("localhost"));
    const int defaultPort = qEnvironmentVariableIntValue("MYSQL_TCP_PORT");
    const int port = place.hasPort ? place.port : defaultPort > 0 ? defaultPort : 3306;
    return ServerProbe(QStringLiteral("%1:%2").arg(place.host).arg(port),
                       socket || !driversInstalled(db) ? QString() : place.host, quint16(port),
                       ServerProbe::ServerSpeaksFirst, timeout);
}

void MySqlDatabase::applyServer(QSqlDatabase& db, const QString& host, const ServerProbe& probe)
{
    const MySqlPlace place = placeOf(host);
    // The address found is not looked up again, and "localhost" with a port
    // goes to that port over TCP, not to the local socket.
    db.setHostName(probe.address.isEmpty() ? place.host : probe.address);
    if (place.hasPort)
        db.setPort(place.port);
    db.setConnectOptions(connectOptions(probe.secondsLeft()));
}

MySqlDatabase::MySqlDatabase() : ServerDatabase(DatabaseMySql) {}

MySqlDatabase::~MySqlDatabase() = default;

QString MySqlDatabase::quoteIdentifier(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('`'), QStringLiteral("``"));
    return QLatin1Char('`') + quoted + QLatin1Char('`');
}

int MySqlDatabase::open(const ConnectionSettings& s)
{
    try {
        registerConnection(QStringLiteral("QMYSQL"), QStringLiteral("%1.%2").arg(s.host, s.databaseName));
        const QString unable = tr("%1. Unable to connect to the MySQL service. Please check the settings and try again.",
                                  "%%1 is the database error message");
        const ServerProbe found = probe(m_connection, s.host, s.timeout);
        if (!found.stop.isEmpty())
            throw unable.arg(found.stop);
        applyServer(m_connection, s.host, found);
        if (!s.create)
            m_connection.setDatabaseName(s.databaseName);
        m_connection.setUserName(s.userName);
        m_connection.setPassword(s.password);

        bool opened = false;
        {
            BusyCursor busy;
            opened = m_connection.open();
        }
        if (!opened) {
            const QSqlError error = m_connection.lastError();
            qDebug() << error;
            if (error.nativeErrorCode() == kUnknownDatabase) {
                switch (askCreateMissing()) {
                case CreateMissing: {
                    ConnectionSettings create = s;
                    create.create = true;
                    return open(create);
                }
                case RetryMissing:
                    return open(s);
                case CancelMissing:
                    releaseConnection();
                    return 1;
                }
            }
            throw unable.arg(openFailureText(m_connection, found.waitedMs(), s.timeout, found.lead));
        }

        if (s.create) {
            const QStringList existing = listDatabases(s.host, s.userName, s.password, s.timeout);
            if (existing.contains(s.databaseName) && !confirmOverwrite()) {
                releaseConnection();
                return 1;
            }
            const QString create =
                QStringLiteral("CREATE DATABASE IF NOT EXISTS %1").arg(quoteIdentifier(s.databaseName));
            QSqlQuery query(m_connection);
            if (!query.exec(create))
                throw tr("Cannot create MySQL database (%1): %2", "%%1 is the query and %%2 is the database system message")
                    .arg(create, query.lastError().text());
        }

        SqlQuery use(m_connection);
        use.exec(QStringLiteral("USE %1").arg(quoteIdentifier(s.databaseName)));
        QSqlQuery version(m_connection);
        if (version.exec(QStringLiteral(
                "SELECT VERSION(),(SELECT CONCAT(CHARACTER_SET_NAME,' ',COLLATION_NAME) FROM information_schema.COLUMNS "
                "WHERE TABLE_SCHEMA=DATABASE() AND TABLE_NAME='Asset' AND COLUMN_NAME='Name')"))
            && version.next()) {
            WriteLock::setMySqlServerVersion(version.value(0).toString());
            WriteLock::setMySqlAssetNameCollation(version.value(1).toString());
        }

        if (s.create) {
            ExecSqlScriptThread thread(shippedPath(schemaScript), &m_connection, Error::dialogParent());
            thread.exec();
        }

        if (!schemaCheckPasses())
            return 1;
        if (!s.create)
            addLaterIndexes();
        m_settings = s;
        return 0;
    } catch (const QString& message) {
        QMessageBox box(QMessageBox::Warning, QString(), message, QMessageBox::Ok);
        box.exec();
        releaseConnection();
        return 1;
    } catch (...) {
        const QSqlError error = m_connection.lastError();
        Error::report(QStringLiteral("MySqlDatabase::open"),
                      tr("Unknown database error:\n\n%1\n%2", "%%1 and %%2 are messages from the database system")
                          .arg(error.driverText(), error.databaseText()),
                      ErrorFatal, 0, __FILE__, __LINE__);
        return 1;
    }
}

QStringList MySqlDatabase::listDatabases(const QString& host, const QString& userName, const QString& password,
                                         int connectTimeout)
{
    std::optional<ServerProbe> found;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), listingConnectionName);
        found.emplace(probe(db, host, connectTimeout));
        applyServer(db, host, *found);
        db.setUserName(userName);
        db.setPassword(password);
    }
    return listWith(listingConnectionName, QStringLiteral("show databases"), connectTimeout, *found);
}

void MySqlDatabase::writeCreateScript(QTextStream& out)
{
    copyScript(shippedPath(schemaScript), out);
}
