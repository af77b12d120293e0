#pragma once

#include <QSqlDatabase>

class StatementBatch;

// Begins a transaction when constructed and commits it when destroyed. Scopes
// nest: only the outermost scope of a connection begins and commits, so an
// inner scope never commits half of an outer one's work.
class DatabaseTransaction
{
public:
    explicit DatabaseTransaction(QSqlDatabase* connection = nullptr);
    // On the current database, with batch (which must outlive the scope)
    // carrying its start and its commit: where statements wait in batch,
    // the start goes to the server with the scope's first statement and the
    // commit with its last, costing no round trip of their own.
    explicit DatabaseTransaction(StatementBatch& batch);
    virtual ~DatabaseTransaction();
    DatabaseTransaction(const DatabaseTransaction&) = delete;
    DatabaseTransaction& operator=(const DatabaseTransaction&) = delete;

    // Runs what waits in batch and commits now, in one round trip where the
    // commit can go with it. An inner scope only runs the batch.
    void commit(StatementBatch& batch);

private:
    void commitNow();

    void begin();

    QSqlDatabase m_connection;
    StatementBatch* m_batch = nullptr;
    bool m_outermost = false;
    bool m_begun = false;
};
