#include "database/DatabaseTransaction.h"

#include "core/Error.h"
#include "database/ConnectionLoss.h"
#include "database/DatabaseAction.h"
#include "database/Database.h"
#include "database/SqlQuery.h"
#include "database/StatementBatch.h"
#include "database/StatementCache.h"
#include "database/WriteLock.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QRandomGenerator>
#include <QSqlDriver>
#include <QThread>
#include <exception>
#include <optional>

namespace {
QMutex depthLock;
QHash<QString, int>& depths()
{
    static QHash<QString, int> map;
    return map;
}

QSqlDatabase resolved(QSqlDatabase* connection)
{
    if (connection)
        return *connection;
    if (Database::instance())
        return Database::instance()->connection();
    return QSqlDatabase();
}

bool isMySql(const QSqlDatabase& connection)
{
    return connection.driverName() == QLatin1String("QMYSQL") || connection.driverName() == QLatin1String("QMARIADB");
}

// Restores this thread's retrying state however the scope is left.
class Retrying
{
public:
    explicit Retrying(bool on) : m_before(SqlQuery::setRetrying(on)) {}
    ~Retrying() { SqlQuery::setRetrying(m_before); }
    Retrying(const Retrying&) = delete;
    Retrying& operator=(const Retrying&) = delete;

private:
    bool m_before;
};

constexpr int attempts = 5;

// The outermost scopes this thread has open, for rollBackThisThread.
thread_local QList<DatabaseTransaction*> openScopes;

[[maybe_unused]] const bool fatalHookRegistered = [] {
    Error::setBeforeFatalDialogHook(&DatabaseTransaction::rollBackThisThread);
    return true;
}();

// A COMMIT that finds the file busy (another program still reads it) has
// written nothing and lost nothing: the transaction stays open and the
// COMMIT is sent again, each time waiting as long as a begin waits for the
// lock. The driver's own commit() drops the result code that tells busy
// from failed, so the statement runs as a query here.
bool commitSqlite(const QSqlDatabase& connection, QSqlError* error)
{
    QSqlQuery commit(connection);
    for (int attempt = 1;; ++attempt) {
        if (commit.exec(QStringLiteral("COMMIT")))
            return true;
        const QSqlError failed = commit.lastError();
        *error = QSqlError(QStringLiteral("Unable to commit transaction"), failed.databaseText(),
                           QSqlError::TransactionError, failed.nativeErrorCode());
        if (attempt == attempts || !SqlQuery::isTransient(failed))
            return false;
        qDebug() << "DatabaseTransaction: commit" << attempt << "found the file busy:" << failed.databaseText();
    }
}
} // namespace

DatabaseTransaction::DatabaseTransaction(QSqlDatabase* connection) : DatabaseTransaction(nullptr, connection) {}

DatabaseTransaction::DatabaseTransaction(StatementBatch& batch, QSqlDatabase* connection)
    : DatabaseTransaction(&batch, connection)
{
}

DatabaseTransaction::DatabaseTransaction(StatementBatch* batch, QSqlDatabase* connection, const OneAsset* share)
    : m_connection(resolved(connection)), m_batch(batch), m_share(share != nullptr)
{
    if (share) {
        m_asset = *share;
        // Its lock is given back by this name, also an empty one.
        if (m_asset.name.isNull())
            m_asset.name = QStringLiteral("");
    }
    if (!m_connection.isValid())
        return;
    m_exceptions = std::uncaught_exceptions();
    {
        QMutexLocker locker(&depthLock);
        m_outermost = depths()[m_connection.connectionName()]++ == 0;
    }
    if (!m_outermost)
        return;
    openScopes.append(this);
    try {
        m_begun = begin();
    } catch (...) {
        // The destructor of a scope that never was does not run.
        openScopes.removeOne(this);
        rollback();
        QMutexLocker locker(&depthLock);
        if (--depths()[m_connection.connectionName()] <= 0)
            depths().remove(m_connection.connectionName());
        throw;
    }
    if (m_begun)
        StatementCache::transactionBegun(m_connection);
}

// A scope that could not begin (a transaction someone else opened) has
// nothing of its own to commit.
bool DatabaseTransaction::begin()
{
    // Elsewhere there is only the whole lock.
    if (!WriteLock::enabled() || !isMySql(m_connection) || !WriteLock::mySqlSharesHeld())
        m_share = false;
    if (!WriteLock::enabled()) {
        if (m_batch && isMySql(m_connection) && m_batch->deferBegin({WriteLock::mySqlBegin().first()}))
            return true;
        return m_connection.transaction();
    }
    const QString driver = m_connection.driverName();
    if (driver == QLatin1String("QSQLITE")) {
        QSqlQuery begin(m_connection);
        if (begin.exec(WriteLock::sqliteBegin()))
            return true;
        if (SqlQuery::isTransient(begin.lastError()))
            SqlQuery::reportFailure(WriteLock::sqliteBegin(), begin.lastError());
        return false;
    }
    if (isMySql(m_connection)) {
        const QStringList statements =
            m_share ? WriteLock::mySqlAssetBegin(m_asset.name, m_asset.placesKnown) : WriteLock::mySqlBegin();
        // The lock's answer is checked when it comes, with the first
        // statement's; until then nothing else reaches the server.
        if (m_batch && m_batch->deferBegin(statements, int(statements.size()) - 1)) {
            m_locked = true;
            m_deferred = true;
            return true;
        }
        SqlQuery begin(m_connection);
        begin.execTogether(statements);
        // A failure that was reported and let the program go on has begun nothing.
        if (begin.lastError().isValid())
            return false;
        const int granted = begin.next() ? begin.value(0).toInt() : 0;
        m_locked = granted == 1 || granted == 2;
        m_share = m_share && granted == 1;
        if (!m_locked) {
            m_connection.rollback();
            // The session's own idle time-out back.
            QSqlQuery(m_connection).exec(release());
            SqlQuery::reportFailure(
                statements.last(),
                QSqlError(QStringLiteral("The database's write lock was not granted within %1 seconds.")
                              .arg(WriteLock::waitSeconds),
                          QString(), QSqlError::StatementError, QStringLiteral("1205")));
        }
        return true;
    }
    if (!m_connection.transaction())
        return false;
    if (driver == QLatin1String("QODBC")) {
        SqlQuery lock(m_connection);
        lock.exec(WriteLock::msSqlAcquire());
    }
    return true;
}

DatabaseTransaction::~DatabaseTransaction()
{
    if (!m_connection.isValid())
        return;
    if (m_begun) {
        if (std::uncaught_exceptions() > m_exceptions) {
            rollback();
        } else {
            // No exception may leave a destructor: a failure here is fatal.
            Retrying never(false);
            const DatabaseAction::NoStop noStop;
            commitNow();
        }
    }
    if (m_outermost)
        openScopes.removeOne(this);
    QMutexLocker locker(&depthLock);
    int& depth = depths()[m_connection.connectionName()];
    if (--depth <= 0)
        depths().remove(m_connection.connectionName());
}

// A commit that fails (disk full) has lost the scope's writes: it ends the
// program as a failed statement does, so that no caller goes on to count
// them as stored. A server gone away has dropped them with the connection:
// that is told as a lost connection, and the database is then closed. A
// commit that only found the file busy waits and is sent again (see
// commitSqlite); only when the file stays busy is it rolled back and
// reported, as a lock wait that ran out.
void DatabaseTransaction::commitNow()
{
    m_begun = false;
    // What still waits, the start and the lock perhaps among it, goes with
    // the commit and the lock's release.
    if (m_batch && StatementBatch::hasWaiting(m_connection.driver())) {
        try {
            m_batch->execWithCommit(m_locked ? QStringList{release()} : QStringList());
        } catch (...) {
            m_begun = true;
            throw;
        }
        m_locked = false;
        StatementCache::transactionEnded(m_connection, true);
        return;
    }
    if (m_locked) {
        SqlQuery commit(m_connection);
        try {
            commit.execTogether({QStringLiteral("COMMIT"), release()});
        } catch (...) {
            m_begun = true; // rolled back, and the lock given back, as the scope is left
            throw;
        }
        m_locked = false;
        StatementCache::transactionEnded(m_connection, true);
        return;
    }
    const ConnectionLoss::CommitSent sent(m_connection.driver());
    QSqlError error;
    const bool committed = m_connection.driverName() == QLatin1String("QSQLITE") ? commitSqlite(m_connection, &error)
                                                                                 : m_connection.commit();
    if (committed) {
        StatementCache::transactionEnded(m_connection, true);
        return;
    }
    if (!error.isValid())
        error = m_connection.lastError();
    m_begun = true;
    rollback();
    // A file still busy after every wait has run out of time as a begin
    // that never got the lock does: under run() the user is told the
    // database is busy, and no attempt starts over, as the waits were full.
    SqlQuery::reportFailure(QStringLiteral("COMMIT"), error, m_connection.driver());
}

void DatabaseTransaction::commit(StatementBatch& batch)
{
    commit(batch, nullptr);
}

QVariant DatabaseTransaction::commitAsking(StatementBatch& batch, const QString& variable)
{
    const QString ask = QStringLiteral("SELECT ") + variable;
    QVariant value;
    if (commit(batch, &ask, &value))
        return value;
    SqlQuery query(m_connection);
    query.exec(ask);
    return query.next() ? query.value(0) : QVariant();
}

bool DatabaseTransaction::commit(StatementBatch& batch, const QString* ask, QVariant* answer)
{
    if (!m_begun) {
        batch.exec();
        return false;
    }
    QStringList after;
    if (m_locked)
        after << release();
    if (ask)
        after << *ask;
    if (batch.execWithCommit(after, answer)) {
        m_begun = false;
        m_locked = false;
        StatementCache::transactionEnded(m_connection, true);
        return true;
    }
    commitNow();
    return false;
}

void DatabaseTransaction::commit()
{
    if (m_begun)
        commitNow();
}

// Also for a transaction the server has already rolled back (a deadlock's
// victim): what it learned goes, and so does the lock.
void DatabaseTransaction::rollback()
{
    m_begun = false;
    StatementBatch::drop(m_connection.driver());
    if (m_locked) {
        // The release with the rollback, in one round trip.
        QSqlQuery query(m_connection);
        if (!query.exec(QStringLiteral("ROLLBACK;") + release()))
            qDebug() << "DatabaseTransaction: rollback and lock release:" << query.lastError();
        while (query.nextResult()) {
        }
        m_locked = false;
    } else if (!m_connection.rollback()) {
        qDebug() << "DatabaseTransaction: rollback:" << m_connection.lastError();
    }
    StatementCache::transactionEnded(m_connection, false);
}

void DatabaseTransaction::rollBackThisThread()
{
    // A commit that failed has let go of m_begun but may still hold the lock.
    for (DatabaseTransaction* scope : std::as_const(openScopes)) {
        if (scope->m_begun || scope->m_locked)
            scope->rollback();
    }
}

QString DatabaseTransaction::release() const
{
    return WriteLock::mySqlRelease(m_share ? m_asset.name : QString());
}

// A deferred start's answer came with the first statement: 2 when the
// server took the whole lock.
bool DatabaseTransaction::holdsAShare() const
{
    return m_share && m_begun && !(m_deferred && SqlQuery::lockGranted() == 2);
}

void DatabaseTransaction::needWholeLock(const QSqlDatabase& connection)
{
    for (DatabaseTransaction* scope : std::as_const(openScopes)) {
        if (scope->m_connection.connectionName() != connection.connectionName())
            continue;
        if (scope->holdsAShare())
            throw WholeLockNeeded{};
        return;
    }
}

bool DatabaseTransaction::isOpen(const QSqlDatabase& connection)
{
    QMutexLocker locker(&depthLock);
    return depths().value(connection.connectionName()) > 0;
}

bool DatabaseTransaction::openOnThisThread()
{
    return !openScopes.isEmpty();
}

bool DatabaseTransaction::run(const std::function<void(DatabaseTransaction&)>& work, QSqlDatabase* given)
{
    return run([&work](DatabaseTransaction& transaction, StatementBatch*) { work(transaction); }, given, false);
}

bool DatabaseTransaction::run(const std::function<void(DatabaseTransaction&, StatementBatch&)>& work,
                              QSqlDatabase* given, const OneAsset* asset)
{
    return run([&work](DatabaseTransaction& transaction, StatementBatch* batch) { work(transaction, *batch); },
               given, true, asset);
}

bool DatabaseTransaction::run(const std::function<void(DatabaseTransaction&, StatementBatch*)>& work,
                              QSqlDatabase* given, bool batched, const OneAsset* asset)
{
    QSqlDatabase connection = resolved(given);
    if (!connection.isValid() || isOpen(connection)) {
        std::optional<StatementBatch> batch;
        if (batched)
            batch.emplace(connection);
        DatabaseTransaction transaction(batch ? &*batch : nullptr, given);
        work(transaction, batch ? &*batch : nullptr);
        return true;
    }
    const OneAsset* share = WriteLock::enabled() ? asset : nullptr;
    DatabaseAction::setLastUnsaved(QString());
    for (int attempt = 1;; ++attempt) {
        QElapsedTimer waited;
        waited.start();
        try {
            Retrying retrying(true);
            // Made before the transaction, the batch is left after it: the
            // commit goes with what waits, and a failed attempt's waiting
            // statements are dropped with it.
            std::optional<StatementBatch> batch;
            if (batched)
                batch.emplace(connection);
            DatabaseTransaction transaction(batch ? &*batch : nullptr, &connection, share);
            work(transaction, batch ? &*batch : nullptr);
            transaction.commit();
            return true;
        } catch (const DatabaseAction::Stopped& stopped) {
            // Rolled back as the scope was left. The action under way tells
            // why; without one the caller says that nothing was stored.
            if (DatabaseAction::canStop())
                throw;
            qDebug() << "DatabaseTransaction: stopped:" << stopped.reason;
            DatabaseAction::setLastUnsaved(stopped.reason);
            return false;
        } catch (const WholeLockNeeded&) {
            // Rolled back as the scope was left; no other workstation's
            // write was met, so this is no attempt of the few.
            share = nullptr;
            --attempt;
            continue;
        } catch (const SqlQuery::TransientFailure& failure) {
            qDebug() << "DatabaseTransaction: attempt" << attempt << "rolled back:" << failure.statement
                     << failure.error.text();
            // Two records of neighbouring assets may meet in the index
            // ranges they lock; under the whole lock they cannot.
            share = nullptr;
            // The tree may show places that the attempt inserted and that
            // are gone again.
            if (Database* db = Database::instance(); db && db->connection().connectionName() == connection.connectionName())
                db->refreshAssetTree();
            // A lock waited for in full belongs to a workstation that is not
            // letting go (frozen, cut off, a very long write): waiting again
            // would only keep this user or download waiting five times as
            // long. A deadlock ends at once and is worth another attempt.
            if (attempt == attempts || waited.elapsed() >= WriteLock::waitSeconds * 1000)
                return false;
            // Apart again, so that the next attempts do not meet again.
            QThread::msleep(QRandomGenerator::global()->bounded(5, 30) * attempt);
        }
    }
}
