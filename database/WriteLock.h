#pragma once

#include <QSqlError>
#include <QString>
#include <QStringList>

// One write transaction at a time on a server database, whichever
// workstation runs it. Find-or-insert reads and then inserts, a download
// asks whether a set is already stored and whether it is the asset's
// newest: none of that holds while another workstation writes the same rows
// in between, and no schema of ours has a unique key that would refuse the
// second client or asset (an existing register may already hold such
// twins). Under the lock each transaction also sees everything the one
// before it committed, and two downloads no longer deadlock on each other's
// gap locks.
//
// The lock is the server's own advisory lock, taken as the outermost
// transaction begins (in the same round trip) and given back as it ends:
// MySQL's GET_LOCK, named after the database (it is the server's), and SQL
// Server's sp_getapplock, which belongs to the database and goes with the
// transaction.
//
// On MySQL a download's record, which writes one asset and what hangs on it
// and no place or equipment, need not wait for the records of other
// assets: eight lines sending at once would otherwise queue every record
// behind the server work of all the others. Such a record holds one of a
// few shares of the lock instead, and a lock named after the asset's name
// keeps two records of one asset (or of two new assets of one name) apart,
// whatever isolation level the server gives its sessions and without the
// gap locks of a locking read, which two new assets meeting in one index
// range would deadlock on. Every other write takes the database's lock and
// all the shares, so it still writes alone. A SQLite file has its own: a write transaction begins
// IMMEDIATE, taking the file's write lock at once, and a second writer waits
// for it (see busyTimeoutOption).
class WriteLock
{
public:
    // How long a transaction waits for the lock before the attempt fails as
    // a lock wait time-out; below the client's read time-out on MySQL, so
    // that a wait is never taken for a lost server. Tests shorten it to
    // meet a lock that stays taken without waiting the whole time.
    static inline int waitSeconds = 20;
    // MySQL: how long the server waits for the next statement of a session
    // that holds the lock before it takes the workstation for gone (asleep,
    // its network dropped or its cable pulled: nothing tells the server) and
    // ends the session, which rolls its transaction back and frees the lock.
    // Far beyond any pause between one transaction's statements, and below
    // the others' lock wait: they get the lock instead of giving up.
    static inline int heldIdleSeconds = 15;

    // MySQL: sent together, they begin the transaction, shorten the
    // session's idle time-out to heldIdleSeconds and take the lock; the
    // answer of the last is 1 when the lock was granted. The read view is
    // made at the first read, after the lock.
    static QStringList mySqlBegin();
    // MySQL: the same for a write of one asset's rows, which holds a share
    // and the lock of assetName (see above); the answer of the last is 1
    // when they were granted. Where placesKnown is given, an SQL condition
    // that is false when the write must insert a place (a share does not
    // cover that), the server weighs it before the transaction begins and
    // takes the whole lock instead: the answer is then 2. The choice costs
    // no round trip, and no attempt is begun under a share only to be
    // rolled back.
    static QStringList mySqlAssetBegin(const QString& assetName, const QString& placesKnown = QString());
    // The MySQL literal of text, whatever it holds.
    static QString mySqlText(const QString& text);
    // The character set and collation of Asset.Name ("utf8mb4
    // utf8mb4_general_ci"), by which names are the same asset's: empty for
    // a table not made yet, whose default is utf8mb4's.
    static void setMySqlAssetNameCollation(const QString& collation);
    static constexpr int mySqlShares = 16;
    // Whether the server holds several such locks for one session (MySQL
    // 5.7.5, MariaDB 10.0.2 and later): before that, taking a lock gave back
    // the one held, and every write takes the database's lock alone.
    static void setMySqlServerVersion(const QString& version);
    static bool mySqlSharesHeld();
    // MySQL: the failure of a begin whose lock was not granted in time, a
    // lock wait time-out.
    static QSqlError notGranted();
    // MySQL: gives the lock or share back and the session its own idle
    // time-out; sent after COMMIT or ROLLBACK, also when the lock was not
    // granted. assetName: that of mySqlAssetBegin, whose lock goes too.
    static QString mySqlRelease(const QString& assetName = QString());
    // SQL Server: run in the transaction the driver began. Fails with error
    // 51222 when the lock is not granted in time.
    static QString msSqlAcquire();
    // SQLite: begins a transaction that holds the file's write lock.
    static QString sqliteBegin();
    // SQLite: the connect option that makes a statement wait this long for
    // another program's lock on the file instead of failing at once.
    static QString busyTimeoutOption();

    // The import benchmark measures what the lock costs a record; nothing
    // else turns it off.
    static void setEnabled(bool enabled);
    static bool enabled();
};
