#include "database/ServerDatabase.h"

#include "core/DialogErrorMessage.h"
#include "core/Error.h"
#include "database/MsSqlDatabase.h"
#include "database/MySqlDatabase.h"

#include <QFile>
#include <QMessageBox>
#include <QSqlQuery>
#include <QTextStream>

Database* ServerDatabase::connectFromSettings(int type, const ConnectionSettings& settings)
{
    ConnectionSettings cs = settings;
    cs.create = false;
    if (type == DatabaseMsSql) {
        cs.integratedSecurity = cs.userName.isEmpty();
        auto* db = new MsSqlDatabase;
        if (db->connect(cs) == 0)
            return db;
        delete db;
    } else if (type == DatabaseMySql) {
        auto* db = new MySqlDatabase;
        if (db->open(cs) == 0)
            return db;
        delete db;
    }
    return nullptr;
}

void ServerDatabase::registerConnection(const QString& driver, const QString& name)
{
    releaseConnection();
    QString unique = name;
    for (int n = 2; QSqlDatabase::contains(unique); ++n)
        unique = QStringLiteral("%1#%2").arg(name).arg(n);
    m_connectionName = unique;
    m_connection = QSqlDatabase::addDatabase(driver, unique);
}

void ServerDatabase::releaseConnection()
{
    if (m_connectionName.isEmpty())
        return;
    if (m_connection.isOpen())
        m_connection.close();
    m_connection = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
    m_connectionName.clear();
}

bool ServerDatabase::schemaCheckPasses()
{
    if (checkSchema())
        return true;
    DialogErrorMessage dialog(Database::tr("The database is not a Pelvane database or it has become corrupted. "
                                           "The database will now be closed."),
                              ErrorCritical, Error::dialogParent());
    dialog.exec();
    releaseConnection();
    return false;
}

ServerDatabase::MissingAnswer ServerDatabase::askCreateMissing()
{
    QMessageBox box(QMessageBox::Question, QString(),
                    Database::tr("This database does not exist. Would you like to create a new database?"),
                    QMessageBox::Yes | QMessageBox::Retry | QMessageBox::Cancel, Error::dialogParent());
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return CreateMissing;
    case QMessageBox::Retry:
        return RetryMissing;
    default:
        return CancelMissing;
    }
}

bool ServerDatabase::confirmOverwrite()
{
    QMessageBox box(QMessageBox::Warning, QString(),
                    Database::tr("Database already exists. Are you sure you want to create a new database? "
                                 "All existing data will be overwritten."),
                    QMessageBox::Yes | QMessageBox::No, Error::dialogParent());
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void ServerDatabase::showCritical(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QString(), text, QMessageBox::Ok, Error::dialogParent());
    box.exec();
}

QStringList ServerDatabase::listWith(const QString& connectionName, const QString& statement, int timeout,
                                     const ServerProbe& probe)
{
    QStringList names;
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        const QString cannotConnect = QStringLiteral("Cannot connect to server. Error:\n\n%1");
        bool opened = false;
        if (probe.stop.isEmpty()) {
            BusyCursor busy;
            opened = db.open();
        }
        if (!probe.stop.isEmpty()) {
            showCritical(cannotConnect.arg(probe.stop));
        } else if (!opened) {
            showCritical(cannotConnect.arg(openFailureText(db, probe.waitedMs(), timeout, probe.lead)));
        } else {
            QSqlQuery query(db);
            if (!query.exec(statement)) {
                showCritical(QStringLiteral("Unable to list databases from server. Error:\n\n%1")
                                 .arg(query.lastError().text()));
            } else {
                while (query.next())
                    names.append(query.value(0).toString());
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    return names;
}

bool ServerDatabase::driversInstalled(const QSqlDatabase& connection)
{
    return connection.isValid()
           && (connection.driverName() != QLatin1String("QODBC") || !MsSqlDatabase::odbcDriver().isEmpty());
}

QString ServerDatabase::openFailureText(const QSqlDatabase& connection, qint64 waitedMs, int timeout,
                                        const QString& lead)
{
    const QString driver = connection.driverName();
    // Qt names the plugin it could not load only as "Driver not loaded".
    if (!connection.isValid()) {
        const QString package = driver == QLatin1String("QODBC") ? QStringLiteral("libqt6sql6-odbc")
                                                                   : QStringLiteral("libqt6sql6-mysql");
        return tr("Qt's database driver %1 is not installed; it comes with the Debian package %2",
                  "%%1 is the driver's name (QMYSQL or QODBC), %%2 the package")
            .arg(driver, package);
    }
    if (driver == QLatin1String("QODBC") && MsSqlDatabase::odbcDriver().isEmpty())
        return tr("No ODBC driver for SQL Server is installed; FreeTDS comes with the Debian package tdsodbc",
                  "FreeTDS and tdsodbc are names");
    // The drivers' words for a host that took the connection and never
    // answered ("Timeout expired", "system error: 110") do not say how long
    // they waited.
    if (waitedMs >= timeout * 1000LL - 500)
        return tr("The server did not answer within %n seconds (%1)",
                  "%%1 is the database driver's message", timeout)
            .arg(connection.lastError().text());
    if (!lead.isEmpty())
        return QStringLiteral("%1\n\n%2").arg(lead, connection.lastError().text());
    return connection.lastError().text();
}

void ServerDatabase::copyScript(const QString& path, QTextStream& out)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text))
        out << file.readAll();
}
