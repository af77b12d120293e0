#pragma once

#include "database/ServerDatabase.h"

#include <QStringList>

// A database on a Microsoft SQL Server, through Qt's ODBC driver and the
// ODBC driver that odbcDriver() names.
class MsSqlDatabase : public ServerDatabase
{
    Q_OBJECT
public:
    MsSqlDatabase();
    ~MsSqlDatabase() override;

    // 0 when connected (and created, when asked) and the schema is ours;
    // 1 after a failure or a declined question, which the user has seen.
    int connect(const ConnectionSettings& settings);

    // The server's databases as the login of settings (host, user name,
    // password, integrated security) sees them; empty after a failure,
    // which the user has seen.
    static QStringList listDatabases(const ConnectionSettings& settings);

    // Attaches a first-version database file to the local SQL Server
    // Express instance as database __temp and makes it this connection's
    // current database. 0 when attached; non-zero after a failure, which
    // the user has seen.
    int open(const QString& path);
    // Gives the attached file back; the object stays on the master database.
    void detachLegacy();

    // The file as the local server names it, and the log file beside it.
    static QString legacyNativePath(const QString& path);
    static QString legacyLogPath(const QString& nativePath);
    // Attaches the file, and its log file when one is given.
    static QString attachStatement(const QString& nativePath, const QString& logPath = QString());

    static const QString legacyServer;
    static const QString legacyDatabaseName;

    const QString& databaseName() const override { return m_displayName; }
    void writeCreateScript(QTextStream& out) override;

    // The ODBC driver the connection strings name: the one registered as
    // "SQL Server" when there is one, else FreeTDS under the name Debian's
    // tdsodbc registers it with. Empty when neither is registered.
    static QString odbcDriver();
    // "Driver={...};Server=host", the start of every connection string.
    static QString serverAttributes(const QString& host);

    // The ODBC connection string for settings; withDatabase adds the
    // database name (a create opens the login's default database first).
    static QString connectionString(const ConnectionSettings& settings, bool withDatabase);
    // A value inside an ODBC connection string, braced when it holds
    // characters that would end or break the attribute.
    static QString connectionValue(const QString& value);
    // A name written into a statement as a SQL Server identifier.
    static QString quoteIdentifier(const QString& name);
    static QString createDatabaseStatement(const QString& databaseName);
    static QString useDatabaseStatement(const QString& databaseName);

    static const QString schemaScript;
    static const QString listStatement;

private:
    // The name looked up and the port reached, within the settings'
    // time-out; driverSide is the settings as the driver gets them: the
    // address found, and what is left of the time-out.
    static ServerProbe probe(const QSqlDatabase& db, const ConnectionSettings& s, ConnectionSettings& driverSide);
    // Readies a connection to open with connectionString: the protocol's
    // terms, the login time-out and the login (nothing for integrated
    // security). Its clones (the list reader's) inherit them.
    static void prepare(QSqlDatabase& db, const QString& connectionString, const ConnectionSettings& settings);

    QString m_displayName;
};
