#pragma once

#include <QSqlDatabase>
#include <QStringList>

class SqlQuery;

// Statements of one connection that run in the order given, with no answer
// read between them. Where statements run as text (kept statements on
// MySQL) the waiting ones go to the server together with the next statement
// whose answer is wanted, in one round trip; a record of a download would
// otherwise wait for the network a dozen times. Everywhere else a statement
// runs as it is added.
class StatementBatch
{
public:
    explicit StatementBatch(const QSqlDatabase& connection);
    // Runs what is still waiting: an added statement is never dropped,
    // unless an exception leaves the scope (the transaction that it
    // belonged to is rolled back, and it must not run outside it).
    ~StatementBatch();
    StatementBatch(const StatementBatch&) = delete;
    StatementBatch& operator=(const StatementBatch&) = delete;

    // statement, with the values bound to it now, runs before anything
    // executed through the batch later.
    void add(SqlQuery& statement);
    // Runs what waits, then statement, whose answer is read from it.
    void exec(SqlQuery& statement);
    // Runs what waits.
    void exec();
    // Runs what waits followed by a COMMIT and then the statements after,
    // in one round trip; false, with nothing run, when nothing waits. For
    // DatabaseTransaction::commit.
    bool execWithCommit(const QStringList& after = {});

private:
    QSqlDatabase m_connection;
    QStringList m_waiting;
    int m_exceptions = 0; // uncaught when the batch was made
};
