#include "database/MySqlDatabase.h"

#include "core/AppPaths.h"
#include "core/Error.h"
#include "database/ExecSqlScriptThread.h"
#include "database/SqlQuery.h"
#include "database/WriteLock.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

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

void MySqlDatabase::applyServer(QSqlDatabase& db, const QString& host, int connectTimeout)
{
    // "host:port" reaches a server on another port; an address of several
    // colons (IPv6) is a host alone.
    const int colon = host.lastIndexOf(QLatin1Char(':'));
    bool isPort = colon > 0 && host.indexOf(QLatin1Char(':')) == colon;
    const int port = isPort ? host.mid(colon + 1).toInt(&isPort) : 0;
    db.setHostName(isPort ? host.left(colon) : host);
    if (isPort)
        db.setPort(port);
    db.setConnectOptions(connectOptions(connectTimeout));
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
        applyServer(m_connection, s.host, s.timeout);
        if (!s.create)
            m_connection.setDatabaseName(s.databaseName);
        m_connection.setUserName(s.userName);
        m_connection.setPassword(s.password);

        QElapsedTimer waited;
        waited.start();
        if (!m_connection.open()) {
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
            throw tr("%1. Unable to connect to the MySQL service. Please check the settings and try again.",
                     "%%1 is the database error message")
                .arg(openFailureText(m_connection, waited.elapsed(), s.timeout));
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
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), listingConnectionName);
        applyServer(db, host, connectTimeout);
        db.setUserName(userName);
        db.setPassword(password);
    }
    return listWith(listingConnectionName, QStringLiteral("show databases"), connectTimeout);
}

void MySqlDatabase::writeCreateScript(QTextStream& out)
{
    copyScript(shippedPath(schemaScript), out);
}
