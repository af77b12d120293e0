#include "database/WriteLock.h"

namespace {
bool g_enabled = true;

// GET_LOCK names are the server's, not one database's. A connection
// without a database (one that is about to create it) has a lock too, and
// MySQL takes names of at most 64 characters: two long names that begin
// alike only share a lock.
const QString mySqlName = QStringLiteral("LEFT(CONCAT('pelvane.',IFNULL(DATABASE(),'')),64)");
} // namespace

QStringList WriteLock::mySqlBegin()
{
    return {QStringLiteral("START TRANSACTION"), QStringLiteral("SET SESSION wait_timeout=%1").arg(heldIdleSeconds),
            QStringLiteral("SELECT GET_LOCK(%1,%2)").arg(mySqlName).arg(waitSeconds)};
}

QSqlError WriteLock::notGranted()
{
    return QSqlError(
        QStringLiteral("The database's write lock was not granted within %1 seconds.").arg(waitSeconds), QString(),
        QSqlError::StatementError, QStringLiteral("1205"));
}

QString WriteLock::mySqlRelease()
{
    // One statement, so that it goes wherever the release went before; the
    // program's connections never ask for a time-out of their own, so the
    // server's default is theirs.
    return QStringLiteral("SET SESSION wait_timeout=DEFAULT, @pelvane_released=RELEASE_LOCK(%1)").arg(mySqlName);
}

QString WriteLock::msSqlAcquire()
{
    // With the driver's transaction begun, the server opens it only at the
    // first statement that touches a table; the lock needs it open now.
    return QStringLiteral("IF @@TRANCOUNT=0 BEGIN TRANSACTION;"
                          "DECLARE @Granted int;"
                          "EXEC @Granted=sp_getapplock @Resource=N'pelvane.write',@LockMode=N'Exclusive',"
                          "@LockOwner=N'Transaction',@LockTimeout=%1;"
                          "IF @Granted<0 THROW 51222,N'The database''s write lock was not granted within %2 "
                          "seconds.',1;")
        .arg(waitSeconds * 1000)
        .arg(waitSeconds);
}

QString WriteLock::sqliteBegin()
{
    return QStringLiteral("BEGIN IMMEDIATE");
}

QString WriteLock::busyTimeoutOption()
{
    return QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(waitSeconds * 1000);
}

void WriteLock::setEnabled(bool enabled)
{
    g_enabled = enabled;
}

bool WriteLock::enabled()
{
    return g_enabled;
}
