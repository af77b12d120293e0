#include "database/MsSqlDatabase.h"

#include "core/AppPaths.h"
#include "core/Error.h"
#include "database/ExecSqlScriptThread.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

#include <optional>

#include <sql.h>
#include <sqlext.h>

const QString MsSqlDatabase::schemaScript = QStringLiteral("Schemas/schema.mssql.sql");
const QString MsSqlDatabase::listStatement = QStringLiteral("SELECT name FROM master..sysdatabases");

const QString MsSqlDatabase::legacyServer = QStringLiteral(".\\SQLEXPRESS");
const QString MsSqlDatabase::legacyDatabaseName = QStringLiteral("__temp");

namespace {
const QString kCannotOpenDatabase = QStringLiteral("4060");
// Without a registered driver the connection strings still name one, so
// that the driver manager's refusal reads as it always has.
const QString kPreferredDriver = QStringLiteral("SQL Server");
const QString kDebianDriver = QStringLiteral("FreeTDS");

// The driver names in the driver manager's registry (odbcinst.ini).
QStringList registeredOdbcDrivers()
{
    QStringList names;
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        return names;
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLCHAR name[256];
    SQLCHAR attributes[2048];
    SQLSMALLINT nameLength = 0;
    SQLSMALLINT attributesLength = 0;
    for (SQLUSMALLINT direction = SQL_FETCH_FIRST;
         SQL_SUCCEEDED(SQLDrivers(env, direction, name, sizeof(name), &nameLength, attributes, sizeof(attributes),
                                  &attributesLength));
         direction = SQL_FETCH_NEXT)
        names << QString::fromLocal8Bit(reinterpret_cast<const char*>(name));
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return names;
}
} // namespace

MsSqlDatabase::MsSqlDatabase() : ServerDatabase(DatabaseMsSql) {}

MsSqlDatabase::~MsSqlDatabase() = default;

QString MsSqlDatabase::connectionValue(const QString& value)
{
    const bool plain = !value.contains(QLatin1Char(';')) && !value.contains(QLatin1Char('{'))
                       && !value.contains(QLatin1Char('}')) && !value.contains(QLatin1Char('='))
                       && value.trimmed() == value;
    if (plain)
        return value;
    QString braced = value;
    braced.replace(QLatin1Char('}'), QStringLiteral("}}"));
    return QLatin1Char('{') + braced + QLatin1Char('}');
}

QString MsSqlDatabase::odbcDriver()
{
    const QStringList registered = registeredOdbcDrivers();
    for (const QString& name : {kPreferredDriver, kDebianDriver})
        if (registered.contains(name, Qt::CaseInsensitive))
            return name;
    return QString();
}

QString MsSqlDatabase::serverAttributes(const QString& host)
{
    const QString driver = odbcDriver();
    return QStringLiteral("Driver={%1};Server=%2").arg(driver.isEmpty() ? kPreferredDriver : driver, host);
}

void MsSqlDatabase::prepare(QSqlDatabase& db, const QString& connectionString, const ConnectionSettings& s)
{
    // FreeTDS's automatic version falls back, when the first handshake
    // fails, to old logins that carry the password in clear text, and a
    // login time-out binds only a version it knows from the start: both
    // need the version named. 7.4 is what SQL Server 2012 and later speak.
    // A server that declines encryption would get the login with only the
    // protocol's fixed scramble over the password: it gets no login at all.
    db.setDatabaseName(connectionString + QStringLiteral(";TDS_Version=7.4;Encryption=require"));
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(s.timeout));
    if (s.integratedSecurity)
        return;
    db.setUserName(s.userName);
    db.setPassword(s.password);
}

QString MsSqlDatabase::connectionString(const ConnectionSettings& s, bool withDatabase)
{
    QString text = serverAttributes(connectionValue(s.host));
    if (withDatabase)
        text += QStringLiteral(";Database=%1").arg(connectionValue(s.databaseName));
    if (s.integratedSecurity)
        text += QStringLiteral(";Trusted_Connection=Yes");
    return text;
}

QString MsSqlDatabase::quoteIdentifier(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char(']'), QStringLiteral("]]"));
    return QLatin1Char('[') + quoted + QLatin1Char(']');
}

QString MsSqlDatabase::createDatabaseStatement(const QString& databaseName)
{
    return QStringLiteral("CREATE DATABASE %1").arg(quoteIdentifier(databaseName));
}

QString MsSqlDatabase::useDatabaseStatement(const QString& databaseName)
{
    return QStringLiteral("USE %1").arg(quoteIdentifier(databaseName));
}

ServerProbe MsSqlDatabase::probe(const QSqlDatabase& db, const ConnectionSettings& s, ConnectionSettings& driverSide)
{
    // "name", "name,port" or "name\instance"; the port of a named instance
    // is the server's to tell the driver.
    const int end = s.host.indexOf(QRegularExpression(QStringLiteral("[,\\\\]")));
    const QString name = s.host.left(end);
    const QString rest = end < 0 ? QString() : s.host.mid(end);
    bool named = false;
    int port = rest.startsWith(QLatin1Char(',')) ? rest.mid(1).toInt(&named) : 0;
    // FreeTDS takes its environment's port over the one named.
    const int environmentPort = qEnvironmentVariableIntValue("TDSPORT");
    if (environmentPort > 0)
        port = environmentPort;
    else if (!named && rest.isEmpty())
        port = 1433;
    const ServerProbe found(port ? QStringLiteral("%1,%2").arg(name).arg(port) : s.host,
                            driversInstalled(db) ? name : QString(), quint16(port), ServerProbe::TdsPrelogin, s.timeout);
    driverSide = s;
    if (!found.address.isEmpty())
        driverSide.host = found.address + rest;
    driverSide.timeout = found.secondsLeft();
    return found;
}

int MsSqlDatabase::connect(const ConnectionSettings& s)
{
    registerConnection(QStringLiteral("QODBC"), QStringLiteral("%1.%2").arg(s.host, s.databaseName));
    ConnectionSettings driverSide;
    const ServerProbe found = probe(m_connection, s, driverSide);
    prepare(m_connection, connectionString(driverSide, !s.create), driverSide);
    m_connection.setHostName(s.host);

    bool opened = false;
    if (found.stop.isEmpty()) {
        BusyCursor busy;
        opened = m_connection.open();
    }
    if (!opened) {
        const QSqlError error = m_connection.lastError();
        qDebug() << error;
        if (error.nativeErrorCode() == kCannotOpenDatabase) {
            switch (askCreateMissing()) {
            case CreateMissing: {
                ConnectionSettings create = s;
                create.create = true;
                return connect(create);
            }
            case RetryMissing:
                return connect(s);
            case CancelMissing:
                releaseConnection();
                return 1;
            }
        }
        QMessageBox box(QMessageBox::Warning, QString(),
                        Database::tr("There was an error connecting to the database.\n\n%1")
                            .arg(found.stop.isEmpty()
                                     ? openFailureText(m_connection, found.waitedMs(), s.timeout, found.lead)
                                     : found.stop),
                        QMessageBox::Ok, Error::dialogParent());
        box.exec();
        releaseConnection();
        return 1;
    }

    if (s.create) {
        const QStringList existing = listDatabases(s);
        if (existing.contains(s.databaseName) && !confirmOverwrite()) {
            releaseConnection();
            return 1;
        }
        // An existing database makes this fail; the USE below decides.
        QSqlQuery create(m_connection);
        create.exec(createDatabaseStatement(s.databaseName));
        QSqlQuery use(m_connection);
        if (!use.exec(useDatabaseStatement(s.databaseName))) {
            const QSqlError error = use.lastError();
            Error::report(QStringLiteral("MsSqlDatabase::connect"),
                          tr("Unable to create the database:\n\n%1\n%2",
                             "%%1 and %%2 are messages from the database system")
                              .arg(error.driverText(), error.databaseText()),
                          ErrorCritical, 2, __FILE__, __LINE__);
            releaseConnection();
            return 1;
        }
    }

    m_displayName = QStringLiteral("%1\\%2").arg(s.host, s.databaseName);
    m_settings = s;

    if (s.create) {
        ExecSqlScriptThread thread(shippedPath(schemaScript), &m_connection, Error::dialogParent());
        thread.exec();
    }

    if (!schemaCheckPasses())
        return 1;
    if (!s.create)
        addLaterIndexes();
    return 0;
}

QStringList MsSqlDatabase::listDatabases(const ConnectionSettings& s)
{
    const QString name = QStringLiteral("%1.%2").arg(s.host, QStringLiteral("__master__"));
    std::optional<ServerProbe> found;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
        ConnectionSettings driverSide;
        found.emplace(probe(db, s, driverSide));
        prepare(db, connectionString(driverSide, false), driverSide);
    }
    return listWith(name, listStatement, s.timeout, *found);
}

void MsSqlDatabase::writeCreateScript(QTextStream& out)
{
    copyScript(shippedPath(schemaScript), out);
}

QString MsSqlDatabase::legacyNativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString MsSqlDatabase::legacyLogPath(const QString& nativePath)
{
    return nativePath.left(nativePath.size() - 4) + QStringLiteral("_log.LDF");
}

QString MsSqlDatabase::attachStatement(const QString& nativePath, const QString& logPath)
{
    // A quote in a folder name must not end the literal.
    auto literal = [](QString text) {
        text.replace(QLatin1Char('\''), QStringLiteral("''"));
        return QLatin1Char('\'') + text + QLatin1Char('\'');
    };
    QString statement = QStringLiteral("sp_attach_db %1,%2").arg(legacyDatabaseName, literal(nativePath));
    if (!logPath.isEmpty())
        statement += QLatin1Char(',') + literal(logPath);
    return statement;
}

int MsSqlDatabase::open(const QString& path)
{
    registerConnection(QStringLiteral("QODBC"), path);
    const QString native = legacyNativePath(path);
    ConnectionSettings local;
    local.integratedSecurity = true;
    prepare(m_connection, serverAttributes(legacyServer), local);

    QString failure;
    QElapsedTimer waited;
    waited.start();
    if (!m_connection.open()) {
        failure = QCoreApplication::translate("DialogCertificateGenerator", "Cannot open master database\n\n%1",
                                              "%%1 is the error message from the database system")
                      .arg(openFailureText(m_connection, waited.elapsed(), local.timeout));
    } else {
        QSqlQuery useMaster(m_connection);
        if (!useMaster.exec(QStringLiteral("USE master"))) {
            failure = QCoreApplication::translate("DialogCertificateGenerator", "Could not use master database (%1)\n\n%2",
                                                  "%%1 is the query and %%2 is the error message from the database system")
                          .arg(QStringLiteral("USE master"), useMaster.lastError().text());
        } else {
            const QString log = legacyLogPath(native);
            QSqlQuery attach(m_connection);
            if (!attach.exec(attachStatement(native, QFile::exists(log) ? log : QString()))) {
                qDebug() << attach.lastError().text();
                // A log file from another database makes the pair fail; the
                // server builds a new log for the data file alone.
                QSqlQuery alone(m_connection);
                if (!alone.exec(attachStatement(native)))
                    qDebug() << alone.lastError().text();
            }
            // Whether the attach worked shows here.
            QSqlQuery useTemp(m_connection);
            if (!useTemp.exec(QStringLiteral("USE %1").arg(legacyDatabaseName))) {
                const QSqlError error = useTemp.lastError();
                failure = tr("Error opening database:\n%1\n%2\nIs your mdf file on a shared driver? Does the mdf "
                             "file reference a log file not associated with this MDF file?",
                             "Error message shown when opening a MS SQL database. %%1 is replaced with the SQL "
                             "driver error and %%2 is the database error message.")
                              .arg(error.driverText(), error.databaseText());
            }
        }
    }
    if (failure.isEmpty())
        return 0;
    QMessageBox box(QMessageBox::Warning, QString(), failure, QMessageBox::Ok, Error::dialogParent());
    box.exec();
    return 1;
}

void MsSqlDatabase::detachLegacy()
{
    QSqlQuery useMaster(m_connection);
    useMaster.exec(QStringLiteral("Use Master"));
    QSqlQuery detach(m_connection);
    detach.exec(QStringLiteral("sp_detach_db %1").arg(legacyDatabaseName));
}
