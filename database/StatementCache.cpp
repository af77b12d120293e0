#include "database/StatementCache.h"

#include "database/Database.h"

#include <QSqlDriver>

namespace {
// Caches of this thread, innermost first through m_outer.
thread_local StatementCache* t_innermost = nullptr;

bool isMySql(const QSqlDatabase& connection)
{
    return connection.driver() && connection.driver()->dbmsType() == QSqlDriver::MySqlServer;
}
} // namespace

StatementCache::StatementCache(const QSqlDatabase& connection) : m_connection(connection), m_outer(t_innermost)
{
    t_innermost = this;
}

StatementCache::~StatementCache()
{
    qDeleteAll(m_statements);
    if (t_innermost == this)
        t_innermost = m_outer;
}

StatementCache::Statement::Statement(SqlQuery* kept, std::unique_ptr<SqlQuery> owned)
    : m_owned(std::move(owned)), m_query(kept ? kept : m_owned.get())
{
}

StatementCache::Statement::Statement(Statement&& other) noexcept
    : m_owned(std::move(other.m_owned)), m_query(other.m_query)
{
    other.m_query = nullptr;
}

StatementCache::Statement::~Statement()
{
    if (m_query && !m_owned)
        m_query->finish();
}

StatementCache* StatementCache::forConnection(const QSqlDatabase& connection)
{
    for (StatementCache* cache = t_innermost; cache; cache = cache->m_outer) {
        // Copies of one connection share its driver.
        if (cache->m_connection.driver() == connection.driver())
            return cache;
    }
    return nullptr;
}

StatementCache::Statement StatementCache::prepare(const QSqlDatabase& connection, const QString& statement)
{
    StatementCache* cache = forConnection(connection);
    if (!cache) {
        auto query = std::make_unique<SqlQuery>(connection);
        query->prepare(statement);
        return Statement(nullptr, std::move(query));
    }
    SqlQuery*& kept = cache->m_statements[statement];
    if (!kept) {
        kept = new SqlQuery(connection);
        if (isMySql(connection))
            kept->prepareAsMySqlText(statement);
        else
            kept->prepare(statement);
    }
    return Statement(kept, nullptr);
}

bool StatementCache::runsAsText(const QSqlDatabase& connection)
{
    return forConnection(connection) && isMySql(connection);
}

StatementCache::Statement StatementCache::prepare(const QString& statement)
{
    Database* db = Database::instance();
    return prepare(db ? db->connection() : QSqlDatabase(), statement);
}

StatementCache::Statement StatementCache::prepareInsert(const QSqlDatabase& connection, const QString& table,
                                                        const QStringList& fields, int type)
{
    return prepare(connection, SqlQuery::insertStatement(table, fields, type));
}

int StatementCache::preparedCount(const QSqlDatabase& connection)
{
    StatementCache* cache = forConnection(connection);
    return cache ? int(cache->m_statements.size()) : 0;
}

int StatementCache::knownId(const QSqlDatabase& connection, const QString& key)
{
    StatementCache* cache = forConnection(connection);
    if (!cache)
        return 0;
    if (const auto it = cache->m_ids.constFind(key); it != cache->m_ids.constEnd())
        return it.value();
    return cache->m_uncommittedIds.value(key, 0);
}

void StatementCache::learnId(const QSqlDatabase& connection, const QString& key, int id)
{
    StatementCache* cache = forConnection(connection);
    if (cache && cache->m_inTransaction && id != 0)
        cache->m_uncommittedIds.insert(key, id);
}

int StatementCache::keptId(const QSqlDatabase& connection, const QString& key)
{
    StatementCache* cache = forConnection(connection);
    return cache ? cache->m_ids.value(key, 0) : 0;
}

void StatementCache::forgetIds(const QSqlDatabase& connection)
{
    if (StatementCache* cache = forConnection(connection))
        cache->m_ids.clear();
}

void StatementCache::learnAbsent(const QSqlDatabase& connection, const QString& key)
{
    StatementCache* cache = forConnection(connection);
    if (cache && cache->m_inTransaction)
        cache->m_absent.insert(key);
}

bool StatementCache::knownAbsent(const QSqlDatabase& connection, const QString& key)
{
    StatementCache* cache = forConnection(connection);
    return cache && cache->m_absent.contains(key);
}

void StatementCache::transactionBegun(const QSqlDatabase& connection)
{
    if (StatementCache* cache = forConnection(connection)) {
        cache->m_uncommittedIds.clear();
        cache->m_absent.clear();
        cache->m_inTransaction = true;
    }
}

void StatementCache::transactionEnded(const QSqlDatabase& connection, bool committed)
{
    StatementCache* cache = forConnection(connection);
    if (!cache)
        return;
    if (committed)
        cache->m_ids.insert(cache->m_uncommittedIds);
    cache->m_uncommittedIds.clear();
    cache->m_absent.clear();
    cache->m_inTransaction = false;
}
