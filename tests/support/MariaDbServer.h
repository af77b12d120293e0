#pragma once

#include "database/ConnectionSettings.h"

#include <QSqlDatabase>
#include <QString>

// The private MariaDB server that scripts/mariadb-test-server starts for the
// test run, found through the PELVANE_MYSQL_* variables.
namespace MariaDbServer {

// Points the client library at the server's port and checks that the test
// login connects; why says what is missing when it does not.
bool reachable(QString* why);
// In CI the server is part of the run: without it a test fails.
bool required();

// Settings for the test login on the server, naming databaseName.
ConnectionSettings settings(const QString& databaseName = QString());
// A database name used by no other test process.
QString uniqueName(const QString& hint);
// A connection of the test login to databaseName, registered (again) as
// connectionName and opened.
QSqlDatabase connection(const QString& connectionName, const QString& databaseName);
// Runs statement as the test login without a default database.
bool exec(const QString& statement, QString* error = nullptr);
void dropDatabase(const QString& name);
// Creates the database name on the server, answering the program's question,
// and makes it the current database; false when it could not be opened.
bool installNew(const QString& name);

// A database of one test's own, under a unique name: on leaving, the current
// database is let go and this one dropped.
class ScopedDatabase
{
public:
    explicit ScopedDatabase(const QString& hint) : m_name(uniqueName(hint)) {}
    ~ScopedDatabase();
    ScopedDatabase(const ScopedDatabase&) = delete;
    ScopedDatabase& operator=(const ScopedDatabase&) = delete;

    const QString& name() const { return m_name; }
    // installNew under this name.
    bool install() { return installNew(m_name); }

private:
    QString m_name;
};

} // namespace MariaDbServer

// Skips the test outside CI when no server was started; fails in CI.
#define PELVANE_REQUIRE_MARIADB()                                                               \
    do {                                                                                        \
        QString why_;                                                                           \
        if (!MariaDbServer::reachable(&why_)) {                                                 \
            if (MariaDbServer::required())                                                      \
                QFAIL(qPrintable("MariaDB test server unreachable in CI: " + why_));            \
            QSKIP(qPrintable("MariaDB test server not available (" + why_                       \
                             + "); run the tests through scripts/test"));                       \
        }                                                                                       \
    } while (0)
