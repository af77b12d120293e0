#include "support/MariaDbServer.h"

#include "database/MySqlDatabase.h"
#include "support/DialogAnswerer.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace MariaDbServer {

namespace {
const QString kAdminConnection = QStringLiteral("pelvane-test-admin");

QSqlDatabase adminConnection()
{
    if (QSqlDatabase::contains(kAdminConnection))
        return QSqlDatabase::database(kAdminConnection);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), kAdminConnection);
    const ConnectionSettings s = settings();
    db.setHostName(s.host);
    db.setUserName(s.userName);
    db.setPassword(s.password);
    db.open();
    return db;
}
} // namespace

bool reachable(QString* why)
{
    const char* const vars[] = {"PELVANE_MYSQL_HOST", "PELVANE_MYSQL_PORT", "PELVANE_MYSQL_USER",
                                "PELVANE_MYSQL_PASSWORD"};
    for (const char* var : vars) {
        if (qEnvironmentVariableIsEmpty(var)) {
            *why = QStringLiteral("%1 is not set").arg(QLatin1String(var));
            return false;
        }
    }
    // The back-ends use the driver's default port; the client library takes
    // it from here. It must be set before the driver is first loaded.
    qputenv("MYSQL_TCP_PORT", qgetenv("PELVANE_MYSQL_PORT"));
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QMYSQL"))) {
        *why = QStringLiteral("Qt's QMYSQL driver is not installed");
        return false;
    }
    QSqlDatabase db = adminConnection();
    if (!db.isOpen() && !db.open()) {
        *why = db.lastError().text();
        return false;
    }
    return true;
}

bool required()
{
    return qgetenv("CI") == "true";
}

ConnectionSettings settings(const QString& databaseName)
{
    ConnectionSettings s;
    s.host = qEnvironmentVariable("PELVANE_MYSQL_HOST");
    s.userName = qEnvironmentVariable("PELVANE_MYSQL_USER");
    s.password = qEnvironmentVariable("PELVANE_MYSQL_PASSWORD");
    s.databaseName = databaseName;
    return s;
}

QString uniqueName(const QString& hint)
{
    static int counter = 0;
    return QStringLiteral("pt%1_%2_%3").arg(QCoreApplication::applicationPid()).arg(++counter).arg(hint);
}

QSqlDatabase connection(const QString& connectionName, const QString& databaseName)
{
    QSqlDatabase db = QSqlDatabase::contains(connectionName) ? QSqlDatabase::database(connectionName, false)
                                                             : QSqlDatabase::addDatabase("QMYSQL", connectionName);
    db.close();
    const ConnectionSettings s = settings(databaseName);
    db.setHostName(s.host);
    db.setUserName(s.userName);
    db.setPassword(s.password);
    db.setDatabaseName(databaseName);
    db.open();
    return db;
}

bool exec(const QString& statement, QString* error)
{
    QSqlQuery query(adminConnection());
    if (query.exec(statement))
        return true;
    if (error)
        *error = query.lastError().text();
    return false;
}

void dropDatabase(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('`'), QStringLiteral("``"));
    exec(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(quoted));
}

ScopedDatabase::~ScopedDatabase()
{
    Database::setInstance(nullptr);
    dropDatabase(m_name);
}

bool installNew(const QString& name)
{
    DialogAnswerer answerer;
    answerer.pressNext(QStringLiteral("Yes"));
    auto* db = new MySqlDatabase;
    if (db->open(settings(name)) != 0) {
        delete db;
        return false;
    }
    Database::setInstance(db);
    return true;
}

} // namespace MariaDbServer
