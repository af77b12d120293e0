#pragma once

#include "database/SqlQuery.h"

#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <memory>

// While one is alive, the statements that the register's find-or-insert and
// import functions run on its connection are prepared once and kept: over a
// server each prepare and each close is a round trip of its own, and a
// download runs the same few statements for every record it receives. On
// MySQL a kept statement runs as text instead (see MySqlTextStatement), which
// the server neither prepares nor resets. A cache serves the thread that made
// it; everywhere else statements are prepared afresh as before.
class StatementCache
{
public:
    explicit StatementCache(const QSqlDatabase& connection);
    ~StatementCache();
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // A prepared statement, used like a query. A kept one gives back its
    // result when the handle goes, so that no read stays open on the
    // connection between records.
    class Statement
    {
    public:
        Statement(Statement&& other) noexcept;
        Statement(const Statement&) = delete;
        Statement& operator=(const Statement&) = delete;
        ~Statement();
        SqlQuery* operator->() const { return m_query; }
        SqlQuery& operator*() const { return *m_query; }

    private:
        friend class StatementCache;
        Statement(SqlQuery* kept, std::unique_ptr<SqlQuery> owned);
        std::unique_ptr<SqlQuery> m_owned;
        SqlQuery* m_query = nullptr;
    };

    static Statement prepare(const QSqlDatabase& connection, const QString& statement);
    // On the current database's connection, as SqlQuery(statement) does.
    static Statement prepare(const QString& statement);
    // The insert of SqlQuery::prepareInsert.
    static Statement prepareInsert(const QSqlDatabase& connection, const QString& table, const QStringList& fields,
                                   int type);

    // Number of statements prepared through the cache of connection (0 when
    // none is alive).
    static int preparedCount(const QSqlDatabase& connection);

    // The row ids that find-or-insert returned for a key while the cache is
    // alive, so that a repeated key costs no statement. An id is learned
    // inside a transaction and kept only once that transaction has
    // committed: a rolled-back insert must not leave an id of a row that
    // does not exist. Outside a transaction nothing is learned. 0: not known.
    static int knownId(const QSqlDatabase& connection, const QString& key);
    static void learnId(const QSqlDatabase& connection, const QString& key, int id);
    // That the running transaction looked for key and found no row: the
    // transaction reads the same answer again (a row another writer adds
    // meanwhile is not seen), so the caller inserts without asking twice.
    // Forgotten when the transaction ends.
    // The id learned for key in a transaction that has committed since, 0
    // when none: another connection may have deleted its row meanwhile.
    static int keptId(const QSqlDatabase& connection, const QString& key);
    // Forgets the ids kept from earlier transactions, one of which names a
    // row that another connection has deleted since.
    static void forgetIds(const QSqlDatabase& connection);
    static void learnAbsent(const QSqlDatabase& connection, const QString& key);
    static bool knownAbsent(const QSqlDatabase& connection, const QString& key);

    // Whether kept statements of connection run as text, so that several can
    // go to the server in one round trip (MySQL with a cache alive).
    static bool runsAsText(const QSqlDatabase& connection);
    // Called by the outermost transaction of connection as it begins and
    // ends; committed false drops what was learned inside it.
    static void transactionBegun(const QSqlDatabase& connection);
    static void transactionEnded(const QSqlDatabase& connection, bool committed);

private:
    static StatementCache* forConnection(const QSqlDatabase& connection);

    QSqlDatabase m_connection;
    QHash<QString, SqlQuery*> m_statements;
    QHash<QString, int> m_ids;
    QHash<QString, int> m_uncommittedIds;
    QSet<QString> m_absent;
    bool m_inTransaction = false;
    StatementCache* m_outer = nullptr;
};
