#pragma once

#include <QSqlDatabase>
#include <QVariant>
#include <functional>

class StatementBatch;

// Begins a transaction when constructed and commits it when destroyed. Scopes
// nest: only the outermost scope of a connection begins and commits, so an
// inner scope never commits half of an outer one's work. The outermost
// scope holds the database's write lock (see WriteLock) from its beginning
// to its end. A scope left by an exception rolls back.
class DatabaseTransaction
{
public:
    explicit DatabaseTransaction(QSqlDatabase* connection = nullptr);
    // With batch (which must outlive the scope) carrying its start and its
    // commit: where statements wait in batch, the start and the write lock
    // go to the server ahead of the scope's first statement, in the same
    // text, and the commit and the lock's release with its last, costing no
    // round trip of their own. The lock's answer is checked as it comes; no
    // statement of the scope runs before the lock was asked for.
    DatabaseTransaction(StatementBatch& batch, QSqlDatabase* connection = nullptr);
    virtual ~DatabaseTransaction();
    DatabaseTransaction(const DatabaseTransaction&) = delete;
    DatabaseTransaction& operator=(const DatabaseTransaction&) = delete;

    // Runs what waits in batch and commits now, in one round trip where the
    // commit can go with it. An inner scope only runs the batch.
    void commit(StatementBatch& batch);
    // The same, and then the value of the server's variable (one that a
    // statement in batch set), asked in the same round trip where it can go
    // with the commit.
    QVariant commitAsking(StatementBatch& batch, const QString& variable);
    // Commits now, when this scope has not yet.
    void commit();

    // Runs work in a transaction of its own and commits it. When the
    // database ends an attempt to resolve a deadlock or a lock wait (see
    // SqlQuery::isTransient), the attempt is rolled back, what it learned
    // forgotten, and work runs again from the start, a few times. work must
    // therefore keep nothing of an attempt but what it reads again. False
    // when every attempt met another workstation's write, or one attempt
    // waited out the whole lock wait (its lock held too long, a frozen or
    // cut-off workstation perhaps): nothing of work
    // is stored and nothing was reported; the caller tells the user (see
    // DatabaseBusy). Inside another transaction of the connection work runs
    // once, in that one: only the outermost can begin again.
    [[nodiscard]] static bool run(const std::function<void(DatabaseTransaction&)>& work,
                                  QSqlDatabase* connection = nullptr);
    // What a write of one asset's rows (a download's record) tells the
    // lock it takes on MySQL (see WriteLock::mySqlAssetBegin).
    struct OneAsset
    {
        QString name;        // the asset's, whose records it keeps apart
        QString placesKnown; // empty: none to insert, as far as is known
    };
    // The same, with a batch of the connection, made for each attempt,
    // carrying the transaction's start and its commit (see the constructor).
    // With asset, work writes the rows of that asset and what hangs on them,
    // and on MySQL holds a share of the write lock (see WriteLock), or the
    // whole lock where the server finds the places not known; should it
    // need to insert anything else under a share, it calls needWholeLock
    // and runs again holding the whole lock.
    [[nodiscard]] static bool run(const std::function<void(DatabaseTransaction&, StatementBatch&)>& work,
                                  QSqlDatabase* connection = nullptr, const OneAsset* asset = nullptr);

    // Ends the attempt of a scope on connection that holds only a share,
    // before it writes what a share does not cover; it then runs again under
    // the whole lock.
    static void needWholeLock(const QSqlDatabase& connection);

    // Whether a scope is open on connection.
    static bool isOpen(const QSqlDatabase& connection);
    // Whether this thread has a transaction open, on any connection.
    static bool openOnThisThread();
    // Rolls back every transaction this thread has open and gives their
    // locks back; their scopes then commit nothing. For a report that ends
    // the program: its dialog must not hold up other workstations.
    static void rollBackThisThread();

private:
    struct WholeLockNeeded
    {
    };

    DatabaseTransaction(StatementBatch* batch, QSqlDatabase* connection, const OneAsset* share = nullptr);
    static bool run(const std::function<void(DatabaseTransaction&, StatementBatch*)>& work, QSqlDatabase* connection,
                    bool batched, const OneAsset* asset = nullptr);
    bool holdsAShare() const;
    // The statement that gives back what this scope's lock took.
    QString release() const;
    // ask, when given, goes after the commit and its answer's first value
    // to answer; false when it did not go.
    bool commit(StatementBatch& batch, const QString* ask, QVariant* answer = nullptr);
    bool begin();
    void commitNow();
    void rollback();

    QSqlDatabase m_connection;
    StatementBatch* m_batch = nullptr;
    bool m_outermost = false;
    bool m_begun = false;
    bool m_locked = false; // holds MySQL's lock, which outlives the transaction
    bool m_share = false;  // asked for only a share
    bool m_deferred = false; // its lock's answer comes with the first statement
    OneAsset m_asset;
    int m_exceptions = 0;  // uncaught when the scope began
};
