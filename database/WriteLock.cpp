#include "database/WriteLock.h"

#include <QRegularExpression>
#include <QVersionNumber>

namespace {
bool g_enabled = true;
bool g_shares = true;
bool g_releaseAll = false;
bool g_firstLevel = true;
QString g_nameCharset, g_nameCollation;

// GET_LOCK names are the server's, not one database's, and hold at most 64
// characters. A connection without a database (one that is about to create
// it) has a lock too.
const QString databaseName = QStringLiteral("IFNULL(DATABASE(),'')");

// The database's name where room characters of a lock's name are left for
// it: whole, or, when it is longer, its head and the hash of all of it, so
// that two registers whose names begin alike never share a lock. No
// database name holds a '.', so a hashed one is never another's whole name.
QString databaseKey(int room)
{
    return QStringLiteral("IF(CHAR_LENGTH(%1)<=%2,%1,CONCAT(LEFT(%1,%3),'.',MD5(%1)))")
        .arg(databaseName)
        .arg(room)
        .arg(room - 33);
}

const QString mySqlName = QStringLiteral("CONCAT('pelvane.',%1)").arg(databaseKey(56));

// The head of the shares' names, each ending in '.' and its number (at most
// two digits): no share's name is another database's lock.
const QString sharePrefix = QStringLiteral("CONCAT('pelvane.',%1)").arg(databaseKey(53));

QString shareName(int share)
{
    return QStringLiteral("CONCAT(%1,'.%2')").arg(sharePrefix).arg(share);
}

QString getLock(const QString& name, int seconds)
{
    return QStringLiteral("GET_LOCK(%1,%2)").arg(name).arg(seconds);
}

// text's weights under the column's collation; on MariaDB the first level
// alone, as that of a collation with accents or case (uca1400_as_cs) holds
// trailing spaces at every level. Names that differ only below it share a
// lock, which costs them no more than a wait.
QString weights(const QString& text)
{
    QString collated = text;
    if (!g_nameCollation.isEmpty())
        collated = QStringLiteral("CONVERT(%1 USING %2) COLLATE %3").arg(text, g_nameCharset, g_nameCollation);
    return QStringLiteral("WEIGHT_STRING(%1%2)").arg(collated, g_firstLevel ? QStringLiteral(" LEVEL 1") : QString());
}

// The lock of an asset's name: names that the column holds for one share it.
// Their weights are alike (case, accents and characters the collation
// ignores, such as ESC or a soft hyphen, as it has them) but for spaces at
// the end, which a PAD SPACE collation does not count, after an ignored
// character too: the weights of trailing spaces are taken off. The hash of
// the database's whole name and the weights fits the 64 characters.
QString assetNameLock(const QString& assetName)
{
    const QString name = WriteLock::mySqlText(assetName.trimmed());
    return QStringLiteral("CONCAT('pelvane.',LEFT(%1,22),'#',MD5(CONCAT(%1,'.',TRIM(TRAILING %2 FROM %3))))")
        .arg(databaseName, weights(QStringLiteral("_utf8mb4 X'20'")), weights(name));
}

QString setIdleTimeOut()
{
    return QStringLiteral("SET SESSION wait_timeout=%1").arg(WriteLock::heldIdleSeconds);
}

// The names of mySqlName and shareName's prefix, worked out once where a
// statement before the locks sets these variables: the server parses and
// evaluates every name of a begin anew, and an asset's begin names the
// lock and its shares 34 times.
const QString mySqlNameVariable = QStringLiteral("@pelvane_lock");
const QString sharePrefixVariable = QStringLiteral("@pelvane_share");

QString setLockNames()
{
    return QStringLiteral(", %1=%2, %3=%4").arg(mySqlNameVariable, mySqlName, sharePrefixVariable, sharePrefix);
}

QString shareOfVariable(int share)
{
    return QStringLiteral("CONCAT(%1,'.%2')").arg(sharePrefixVariable).arg(share);
}

// The locks of a whole-database write, by the names given.
QString wholeLock(const QString& name, QString (*share)(int))
{
    QStringList locks{getLock(name, WriteLock::waitSeconds)};
    for (int i = 0; g_shares && i < WriteLock::mySqlShares; ++i)
        locks << getLock(share(i), WriteLock::waitSeconds);
    return locks.join(QStringLiteral(" AND "));
}
} // namespace

void WriteLock::setMySqlAssetNameCollation(const QString& collation)
{
    // Written into statements: only a name of the server's own form.
    const QStringList names = collation.split(QLatin1Char(' '));
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_]+$"));
    const bool valid = names.size() == 2 && plain.match(names.at(0)).hasMatch() && plain.match(names.at(1)).hasMatch();
    g_nameCharset = valid ? names.at(0) : QString();
    g_nameCollation = valid ? names.at(1) : QString();
}

QString WriteLock::mySqlText(const QString& text)
{
    return QStringLiteral("_utf8mb4 X'%1'").arg(QString::fromLatin1(text.toUtf8().toHex()));
}

void WriteLock::setMySqlServerVersion(const QString& version)
{
    const QVersionNumber number = QVersionNumber::fromString(version);
    const bool mariaDb = version.contains(QLatin1String("MariaDB"), Qt::CaseInsensitive);
    g_shares = mariaDb ? number >= QVersionNumber(10, 0, 2) : number >= QVersionNumber(5, 7, 5);
    g_releaseAll = mariaDb ? number >= QVersionNumber(10, 5, 2) : number >= QVersionNumber(5, 7, 5);
    // MySQL 8.0 has no levels to choose; its collations with several are
    // NO PAD, whose weights follow equality as they are.
    g_firstLevel = mariaDb;
}

bool WriteLock::mySqlSharesHeld()
{
    return g_shares;
}

QStringList WriteLock::mySqlBegin()
{
    // The database's lock first, as every other writer takes it: holding
    // it, this one waits only for the asset writes already under way. Its
    // last statement names the locks itself, so that it can also be sent alone.
    return {QStringLiteral("START TRANSACTION"), setIdleTimeOut(), QStringLiteral("SELECT ") + wholeLock(mySqlName, shareName)};
}

QStringList WriteLock::mySqlAssetBegin(const QString& assetName, const QString& placesKnown)
{
    // All but the asset's own lock is the same for every record: made once
    // for the lock wait and the shares in force (tests change the wait).
    struct Parts
    {
        int wait = -1;
        int idle = -1;
        bool shares = false;
        QString setNames;  // the idle time-out and the names' variables
        QString shareHead; // the share, up to the asset's lock
        QString whole;     // the whole lock, by the variables' names
    };
    thread_local Parts parts;
    if (parts.wait != waitSeconds || parts.idle != heldIdleSeconds || parts.shares != g_shares) {
        // Past the database's lock (no whole-database write holds it), the
        // first share that is free, or else a wait for the last; the
        // database's lock is then given back at once, before the wait for
        // the asset's own.
        QStringList shares;
        for (int share = 0; share < mySqlShares; ++share)
            shares << getLock(shareOfVariable(share), share + 1 < mySqlShares ? 0 : waitSeconds);
        parts = {waitSeconds, heldIdleSeconds, g_shares, setIdleTimeOut() + setLockNames(),
                 QStringLiteral("%1 AND (%2) AND RELEASE_LOCK(%3) AND ")
                     .arg(getLock(mySqlNameVariable, waitSeconds), shares.join(QStringLiteral(" OR ")),
                          mySqlNameVariable),
                 wholeLock(mySqlNameVariable, shareOfVariable)};
    }
    const QString share = parts.shareHead + getLock(assetNameLock(assetName), waitSeconds);
    if (placesKnown.isEmpty())
        return {QStringLiteral("START TRANSACTION"), parts.setNames, QStringLiteral("SELECT ") + share};
    // Weighed before the transaction begins: its snapshot is made after the lock.
    return {parts.setNames + QStringLiteral(", @pelvane_whole=NOT (") + placesKnown + QLatin1Char(')'),
            QStringLiteral("START TRANSACTION"),
            QStringLiteral("SELECT IF(@pelvane_whole,2*(") + parts.whole + QStringLiteral("),") + share
                + QLatin1Char(')')};
}

QSqlError WriteLock::notGranted()
{
    return QSqlError(
        QStringLiteral("The database's write lock was not granted within %1 seconds.").arg(waitSeconds), QString(),
        QSqlError::StatementError, QStringLiteral("1205"));
}

QString WriteLock::mySqlRelease(const QString& assetName)
{
    // One statement, so that it goes wherever the release went before; the
    // program's connections never ask for a time-out of their own, so the
    // server's default is theirs. The program takes no other named locks:
    // where the server can, every lock the session holds goes at once.
    if (g_releaseAll)
        return QStringLiteral("SET SESSION wait_timeout=DEFAULT, @pelvane_released=RELEASE_ALL_LOCKS()");
    // Whichever of them this session holds.
    QStringList releases{QStringLiteral("RELEASE_LOCK(%1)").arg(mySqlName)};
    for (int share = 0; share < mySqlShares; ++share)
        releases << QStringLiteral("RELEASE_LOCK(%1)").arg(shareName(share));
    if (!assetName.isNull())
        releases << QStringLiteral("RELEASE_LOCK(%1)").arg(assetNameLock(assetName));
    return QStringLiteral("SET SESSION wait_timeout=DEFAULT, @pelvane_released=CONCAT_WS(',',%1)")
        .arg(releases.join(QLatin1Char(',')));
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
