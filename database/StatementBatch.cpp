#include "database/StatementBatch.h"

#include "database/SqlQuery.h"
#include "database/StatementCache.h"

#include <exception>
#include <utility>

namespace {
// Batches alive on this thread, innermost first through m_outer.
thread_local StatementBatch* t_innermost = nullptr;

} // namespace

StatementBatch::StatementBatch(const QSqlDatabase& connection)
    : m_connection(connection), m_exceptions(std::uncaught_exceptions()), m_outer(t_innermost)
{
    t_innermost = this;
}

StatementBatch::~StatementBatch()
{
    // Left by an exception, what waits belonged to a transaction that is
    // rolled back, and must not run outside it.
    if (std::uncaught_exceptions() <= m_exceptions) {
        // No exception may leave a destructor: a failure here is fatal.
        const bool retrying = SqlQuery::setRetrying(false);
        exec();
        SqlQuery::setRetrying(retrying);
    }
    for (StatementBatch** link = &t_innermost; *link; link = &(*link)->m_outer) {
        if (*link == this) {
            *link = m_outer;
            break;
        }
    }
}

// The batches of one connection share one queue, the outermost's, so that
// statements reach the server in the order they were added whichever batch
// took them.
StatementBatch* StatementBatch::queueOf(const QSqlDriver* driver)
{
    StatementBatch* outermost = nullptr;
    for (StatementBatch* batch = t_innermost; batch; batch = batch->m_outer)
        if (batch->m_connection.driver() == driver)
            outermost = batch;
    return outermost;
}

QStringList StatementBatch::takeWaiting(const QSqlDriver* driver, int* lockAt)
{
    StatementBatch* queue = driver ? queueOf(driver) : nullptr;
    const int at = queue ? std::exchange(queue->m_lockAt, -1) : -1;
    if (lockAt)
        *lockAt = at;
    return queue ? std::exchange(queue->m_waiting, {}) : QStringList();
}

void StatementBatch::drop(const QSqlDriver* driver)
{
    takeWaiting(driver);
}

bool StatementBatch::hasWaiting(const QSqlDriver* driver)
{
    StatementBatch* queue = driver ? queueOf(driver) : nullptr;
    return queue && !queue->m_waiting.isEmpty();
}

void StatementBatch::add(SqlQuery& statement)
{
    QString text;
    if (statement.textWithValues(&text)) {
        queueOf(m_connection.driver())->m_waiting << text;
        return;
    }
    // What waits goes first, with it or before it.
    statement.exec();
}

void StatementBatch::exec(SqlQuery& statement)
{
    statement.exec();
}

void StatementBatch::exec(const QList<SqlQuery*>& statements, QList<QList<QVariantList>>* answers)
{
    QStringList texts;
    for (SqlQuery* statement : statements) {
        QString text;
        if (!statement->textWithValues(&text))
            break;
        texts << text;
    }
    if (!statements.isEmpty() && texts.size() == statements.size()) {
        SqlQuery runner(m_connection);
        runner.execTogether(texts, answers);
        return;
    }
    answers->clear();
    for (SqlQuery* statement : statements) {
        statement->exec();
        answers->append(statement->rows());
        statement->finish();
    }
}

bool StatementBatch::execWithCommit(const QStringList& after, QVariant* lastValue)
{
    if (!hasWaiting(m_connection.driver()))
        return false;
    // A failed commit is reported as "COMMIT", as the driver's own is.
    SqlQuery runner(m_connection);
    runner.execTogether(QStringList{QStringLiteral("COMMIT")} << after);
    if (lastValue && runner.next())
        *lastValue = runner.value(0);
    return true;
}

bool StatementBatch::deferBegin(const QStringList& begin, int lockAt)
{
    if (!StatementCache::runsAsText(m_connection))
        return false;
    StatementBatch* queue = queueOf(m_connection.driver());
    if (lockAt >= 0)
        queue->m_lockAt = int(queue->m_waiting.size()) + lockAt;
    queue->m_waiting << begin;
    return true;
}

void StatementBatch::exec()
{
    if (!hasWaiting(m_connection.driver()))
        return;
    // execTogether sends what waits ahead of what it is given.
    SqlQuery runner(m_connection);
    runner.execTogether({});
}

void StatementBatch::flush(const QSqlDriver* driver)
{
    if (StatementBatch* queue = driver ? queueOf(driver) : nullptr)
        queue->exec();
}
