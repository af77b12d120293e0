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
    // Runs what waits, then statements, in one round trip where all of them
    // run as text. answers receives every row of each statement's answer.
    void exec(const QList<SqlQuery*>& statements, QList<QList<QVariantList>>* answers);
    // Runs what waits.
    void exec();
    // Runs what waits followed by a COMMIT and then the statements after,
    // in one round trip; false, with nothing run, when nothing waits.
    // lastValue, when given, receives the first value of the last one's
    // answer. For DatabaseTransaction::commit.
    bool execWithCommit(const QStringList& after = {}, QVariant* lastValue = nullptr);
    // Where statements wait here, the transaction's start (begin, of which
    // the one at lockAt, when given, answers 1 when the write lock was
    // granted) waits too and goes to the server with the first statement;
    // false elsewhere, where the caller begins as usual. For
    // DatabaseTransaction.
    bool deferBegin(const QStringList& begin, int lockAt = -1);

    // What waits in the batches of the connection of driver, taken out to
    // go to the server before (or with) a statement run there now. lockAt
    // receives the place of a lock whose answer must be checked, or -1.
    static QStringList takeWaiting(const QSqlDriver* driver, int* lockAt = nullptr);
    static bool hasWaiting(const QSqlDriver* driver);
    // Runs what waits there, for a statement that cannot go with it.
    static void flush(const QSqlDriver* driver);
    // Forgets what waits there: the transaction it belonged to was rolled back.
    static void drop(const QSqlDriver* driver);

private:
    static StatementBatch* queueOf(const QSqlDriver* driver);

    QSqlDatabase m_connection;
    QStringList m_waiting;
    int m_lockAt = -1;    // in m_waiting
    int m_exceptions = 0; // uncaught when the batch was made
    StatementBatch* m_outer = nullptr;
};
