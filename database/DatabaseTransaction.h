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
    virtual ~DatabaseTransaction();
    DatabaseTransaction(const DatabaseTransaction&) = delete;
    DatabaseTransaction& operator=(const DatabaseTransaction&) = delete;

    // Runs what waits in batch and commits now, in one round trip where the
    // commit can go with it. An inner scope only runs the batch.
    void commit(StatementBatch& batch);

private:
    void commitNow();

    QSqlDatabase m_connection;
    bool m_outermost = false;
    bool m_begun = false;
};
