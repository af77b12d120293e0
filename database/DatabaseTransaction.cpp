#include "database/DatabaseTransaction.h"

#include "database/Database.h"
#include "database/SqlQuery.h"
#include "database/StatementBatch.h"
#include "database/StatementCache.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

namespace {
QMutex depthLock;
QHash<QString, int>& depths()
{
    static QHash<QString, int> map;
    return map;
}
} // namespace

DatabaseTransaction::DatabaseTransaction(QSqlDatabase* connection)
{
    if (connection)
        m_connection = *connection;
    else if (Database::instance())
        m_connection = Database::instance()->connection();
    if (!m_connection.isValid())
        return;
    {
        QMutexLocker locker(&depthLock);
        m_outermost = depths()[m_connection.connectionName()]++ == 0;
    }
    // A scope that could not begin (a transaction someone else opened) has
    // nothing of its own to commit.
    if (m_outermost)
        m_begun = m_connection.transaction();
    if (m_begun)
        StatementCache::transactionBegun(m_connection);
}

DatabaseTransaction::~DatabaseTransaction()
{
    if (!m_connection.isValid())
        return;
    if (m_begun)
        commitNow();
    QMutexLocker locker(&depthLock);
    int& depth = depths()[m_connection.connectionName()];
    if (--depth <= 0)
        depths().remove(m_connection.connectionName());
}

// A commit that fails (disk full) has lost the scope's writes: it ends the
// program as a failed statement does, so that no caller goes on to count
// them as stored. A server gone away has dropped them with the connection:
// that is told as a lost connection, and the database is then closed.
void DatabaseTransaction::commitNow()
{
    m_begun = false;
    const bool committed = m_connection.commit();
    StatementCache::transactionEnded(m_connection, committed);
    if (!committed)
        SqlQuery::reportFailure(QStringLiteral("COMMIT"), m_connection.lastError(), m_connection.driver());
}

void DatabaseTransaction::commit(StatementBatch& batch)
{
    if (!m_begun) {
        batch.exec();
        return;
    }
    if (batch.execWithCommit()) {
        m_begun = false;
        StatementCache::transactionEnded(m_connection, true);
        return;
    }
    commitNow();
}
