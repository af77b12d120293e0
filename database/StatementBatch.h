#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariantList>

class QSqlDriver;
class SqlQuery;

// Statements of one connection that run in the order given, with no answer
// read between them. Where statements run as text (kept statements on
// MySQL) the waiting ones go to the server together with the next statement
// whose answer is wanted, in one round trip; a record of a download would
// otherwise wait for the network a dozen times. Everywhere else a statement
// runs as it is added.
//
// While a batch is alive, every SqlQuery run on its connection sends what
// waits first: a statement run elsewhere (a find-or-insert, an insert whose
// id is needed) never overtakes a write added earlier.
class StatementBatch
{
public:
    explicit StatementBatch(const QSqlDatabase& connection);
    // Runs what is still waiting: an added statement is never dropped.
    ~StatementBatch();
    StatementBatch(const StatementBatch&) = delete;
    StatementBatch& operator=(const StatementBatch&) = delete;

    // statement, with the values bound to it now, runs before anything
    // executed through the batch later.
    void add(SqlQuery& statement);
    // Runs what waits, then statement, whose answer is read from it.
    void exec(SqlQuery& statement);
    // Runs what waits, then lookups and statement, in one round trip where
    // all of them run as text. answers receives the first row of each
    // lookup's answer (empty when it has none); statement's answer is read
    // from it.
    void exec(const QList<SqlQuery*>& lookups, QList<QVariantList>* answers, SqlQuery& statement);
    // Runs what waits.
    void exec();
    // Runs what waits followed by a COMMIT, in one round trip; false, with
    // nothing run, when nothing waits. For DatabaseTransaction::commit.
    bool execWithCommit();
    // Where statements wait here, the transaction's start waits too and goes
    // to the server with the first statement; false elsewhere, where the
    // caller begins as usual. For DatabaseTransaction.
    bool deferBegin();

    // What waits in the batches of the connection of driver, taken out to
    // go to the server before (or with) a statement run there now.
    static QStringList takeWaiting(const QSqlDriver* driver);
    static bool hasWaiting(const QSqlDriver* driver);
    // Runs what waits there, for a statement that cannot go with it.
    static void flush(const QSqlDriver* driver);

private:
    static StatementBatch* queueOf(const QSqlDriver* driver);

    QSqlDatabase m_connection;
    QStringList m_waiting;
    StatementBatch* m_outer = nullptr;
};
