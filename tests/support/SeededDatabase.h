#pragma once

#include <QString>

class Database;
class QSqlDatabase;
class SqliteDatabase;

// SQLite database files for tests, built from Schemas/schema.sqlite.sql (the
// tests run in the build folder, where the schema scripts are copied).
namespace SeededDatabase {

// Runs a script on the connection of db in this thread, statement by statement.
bool runScript(SqliteDatabase* db, const QString& scriptPath);
// The same on any connection (a server database, an export read back).
bool runScript(QSqlDatabase* connection, const QString& scriptPath);

// A new file with the schema, opened and made the current database.
SqliteDatabase* createEmpty(const QString& path);

// As createEmpty, plus a small register: clients "Acme Health" and
// "Borough Clinic"; Acme has sites "North" (locations "Ward 1", "Ward 2")
// and "South" (location "Theatre"); Borough has site "Main" (location
// "Reception"). Six assets, result sets with pass, fail and alert outcomes,
// applied parts and one recycled asset. Ids follow insertion order.
SqliteDatabase* createSeeded(const QString& path);
// The same register written into db, on any back-end, empty before.
void fill(Database* db);

// Another program (a child process) writes to the file and commits, waiting
// for no lock held on it; what it wrote is gone again. Empty when it could;
// otherwise what failed.
QString writtenByAnotherProgram(const QString& path);

} // namespace SeededDatabase
