#include "database/StatementBatch.h"

#include "database/SqlQuery.h"

#include <exception>
#include <utility>

StatementBatch::StatementBatch(const QSqlDatabase& connection)
    : m_connection(connection), m_exceptions(std::uncaught_exceptions())
{
}

StatementBatch::~StatementBatch()
{
    if (std::uncaught_exceptions() > m_exceptions)
        return;
    // No exception may leave a destructor: a failure here is fatal.
    const bool retrying = SqlQuery::setRetrying(false);
    exec();
    SqlQuery::setRetrying(retrying);
}

void StatementBatch::add(SqlQuery& statement)
{
    QString text;
    if (statement.textWithValues(&text)) {
        m_waiting << text;
        return;
    }
    // What waits went first, and must reach the server first.
    exec();
    statement.exec();
}

void StatementBatch::exec(SqlQuery& statement)
{
    QString text;
    if (!statement.textWithValues(&text)) {
        exec();
        statement.exec();
        return;
    }
    m_waiting << text;
    const QStringList statements = std::exchange(m_waiting, {});
    statement.execTogether(statements);
}

bool StatementBatch::execWithCommit(const QStringList& after)
{
    if (m_waiting.isEmpty())
        return false;
    // A failed commit is reported as "COMMIT", as the driver's own is.
    m_waiting << QStringLiteral("COMMIT") << after;
    exec();
    return true;
}

void StatementBatch::exec()
{
    if (m_waiting.isEmpty())
        return;
    const QStringList statements = std::exchange(m_waiting, {});
    SqlQuery runner(m_connection);
    runner.execTogether(statements);
}
