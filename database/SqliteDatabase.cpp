#include "database/SqliteDatabase.h"

#include "core/AppPaths.h"
#include "core/Error.h"
#include "database/ExecSqlScriptThread.h"
#include "database/WriteLock.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSqlQuery>
#include <QTextStream>

const QString SqliteDatabase::schemaScript = QStringLiteral("Schemas/schema.sqlite.sql");

SqliteDatabase::SqliteDatabase() : Database(DatabaseSqlite) {}

SqliteDatabase::~SqliteDatabase() = default;

int SqliteDatabase::open(const QString& path, bool allowMissing)
{
    if (!allowMissing && !QFileInfo::exists(path))
        return 1;
    m_connectionName = path;
    m_connection = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), path);
    m_connection.setDatabaseName(path);
    // Another program writing to the file makes this one wait, not fail.
    m_connection.setConnectOptions(WriteLock::busyTimeoutOption());
    if (!m_connection.open())
        return 1;
    m_filePath = path;
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    m_fileName = slash < 0 ? path : path.mid(slash + 1);
    QSqlQuery pragma(m_connection);
    pragma.exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    // Another program's file is left as it was found: the journal mode below
    // would be written into a file that keeps a write-ahead log. Its caller
    // finds the schema missing and closes it.
    if (!allowMissing && !checkSchema())
        return 0;
    // A rollback journal, never a write-ahead log: that would be written into
    // the user's file for good, leave -wal and -shm files beside it and fail
    // on a network share. TRUNCATE lasts for this connection only and spares
    // each commit creating and deleting the journal. Every commit waits for
    // the disk, so a record counted as stored survives a power cut.
    pragma.exec(QStringLiteral("PRAGMA journal_mode = TRUNCATE"));
    pragma.exec(QStringLiteral("PRAGMA synchronous = FULL"));
    if (!allowMissing)
        addLaterIndexes();
    return 0;
}

namespace {
// The current database's file, however the path is spelt.
bool isOpenNow(const QString& path)
{
    const auto* current = qobject_cast<const SqliteDatabase*>(Database::instance());
    if (!current || current->filePath().isEmpty())
        return false;
    const QFileInfo wanted(path), open(current->filePath());
    return wanted.absoluteFilePath() == open.absoluteFilePath()
           || (wanted.exists() && wanted.canonicalFilePath() == open.canonicalFilePath());
}
} // namespace

int SqliteDatabase::create(const QString& path)
{
    // Registering a connection under the open file's name would take the
    // connection away from the database in use.
    if (isOpenNow(path)) {
        QMessageBox box(QMessageBox::Warning, QString(),
                        tr("The database \"%1\" is open now and cannot be created anew. "
                           "Choose another file for the new database.")
                            .arg(path),
                        QMessageBox::Ok, Error::dialogParent());
        box.exec();
        return 1;
    }
    const bool existed = QFileInfo::exists(path);
    if (open(path, true) != 0)
        return 1;
    bool reported;
    {
        ExecSqlScriptThread thread(shippedPath(schemaScript), &m_connection, Error::dialogParent());
        thread.exec();
        reported = thread.hasError();
    }
    m_filePath = path;
    if (!checkSchema()) {
        // A file without our tables is no database of ours: say so (once)
        // rather than hand out an empty file as a new database.
        if (!reported)
            Error::report(QStringLiteral("SqliteDatabase::create"),
                          tr("The new database could not be created from the schema script \"%1\".")
                              .arg(schemaScript),
                          ErrorCritical, 0, __FILE__, __LINE__);
        m_connection.close();
        if (!existed)
            QFile::remove(path);
        return 1;
    }
    return 0;
}

void SqliteDatabase::writeCreateScript(QTextStream& out)
{
    QFile file(shippedPath(schemaScript));
    if (file.open(QIODevice::ReadOnly | QIODevice::Text))
        out << file.readAll();
}
