#pragma once

#include "database/ConnectionSettings.h"
#include "database/Database.h"
#include "database/ServerProbe.h"

#include <QSqlError>
#include <QStringList>

class QWidget;

// What the SQL Server and MySQL back-ends share: the connection settings
// that they were connected with and that the settings store keeps, and the
// questions both ask while connecting.
class ServerDatabase : public Database
{
    Q_OBJECT
public:
    explicit ServerDatabase(int type) : Database(type) {}

    const ConnectionSettings& connectionSettings() const { return m_settings; }

    // Reconnects to the server database the settings name; null on failure
    // (the back-end has reported it). A SQL Server record without a user
    // name logs in with integrated security.
    static Database* connectFromSettings(int type, const ConnectionSettings& settings);

    enum MissingAnswer { CreateMissing, RetryMissing, CancelMissing };

protected:
    // Registers this object's connection under name, or under name with a
    // "#n" suffix while another object's connection holds it, so that a
    // second connection to the same database never takes the current one's.
    void registerConnection(const QString& driver, const QString& name);
    // Closes and unregisters this object's connection, if it has one.
    void releaseConnection();

    // The schema check after a connect; a failure is shown and the
    // connection released.
    bool schemaCheckPasses();

    static MissingAnswer askCreateMissing();
    static bool confirmOverwrite();
    static void showCritical(const QString& text);
    // Opens the registered connection name, when probe found the server,
    // returns the first column of statement's rows and removes the
    // connection again, so that no login stays behind; a failure is shown
    // and gives an empty list.
    static QStringList listWith(const QString& connectionName, const QString& statement, int timeout,
                                const ServerProbe& probe);
    // Why connection could not be opened, for the user: what to install when
    // Qt's driver for it or (SQL Server) an ODBC driver is missing,
    // otherwise the connection's last error, led by the time-out when the
    // attempt took waitedMs of its timeout seconds, or by what the probe
    // found (lead).
    static QString openFailureText(const QSqlDatabase& connection, qint64 waitedMs, int timeout,
                                   const QString& lead = QString());
    // Whether the connection's drivers are there to be probed for.
    static bool driversInstalled(const QSqlDatabase& connection);
    static void copyScript(const QString& path, QTextStream& out);

    ConnectionSettings m_settings;
};
