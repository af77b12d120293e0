#pragma once

#include "database/ServerDatabase.h"

#include <QStringList>

// A database on a MySQL (or MariaDB) server, through Qt's native driver.
// A host written "host:port" names the port; otherwise the driver's default
// applies, which the client library's environment (MYSQL_TCP_PORT,
// MYSQL_UNIX_PORT) can change.
class MySqlDatabase : public ServerDatabase
{
    Q_OBJECT
public:
    MySqlDatabase();
    ~MySqlDatabase() override;

    // 0 when connected (and created, when asked) and the schema is ours;
    // non-zero after a failure or a declined question, which the user has seen.
    int open(const ConnectionSettings& settings);

    // The server's databases as the given login sees them; empty after a
    // failure, which the user has seen.
    static QStringList listDatabases(const QString& host, const QString& userName, const QString& password,
                                     int connectTimeout = ConnectionSettings().timeout);

    const QString& databaseName() const override { return m_settings.databaseName; }
    void writeCreateScript(QTextStream& out) override;

    // A name written into a statement as a MySQL identifier.
    static QString quoteIdentifier(const QString& name);

    static const QString schemaScript;
    static const QString listingConnectionName;

    // Seconds a connection waits for the server to take or answer a request
    // before the statement fails; applies to connections opened afterwards.
    static int serverTimeout();
    static void setServerTimeout(int seconds);

private:
    static QString connectOptions(int connectTimeout);
    // The name looked up and the port reached, within timeout seconds.
    static ServerProbe probe(const QSqlDatabase& db, const QString& host, int timeout);
    // Host (the address probe found), port and time-outs on a connection
    // about to open; its clones (the list reader's) inherit them.
    static void applyServer(QSqlDatabase& db, const QString& host, const ServerProbe& probe);
};
