#include "database/DatabaseTransaction.h"
#include "database/MySqlDatabase.h"
#include "database/SqliteDatabase.h"
#include "database/StatementBatch.h"
#include "database/StatementCache.h"
#include "database/WriteLock.h"
#include "support/DialogAnswerer.h"
#include "support/MariaDbServer.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QSqlQuery>
#include <QtTest>

namespace {

// Client names of the database, in the order they were stored, as another
// connection sees them.
QStringList clientsSeenFromOutside(const QString& database)
{
    QSqlQuery rows(QSqlDatabase::database(QStringLiteral("pelvane-test-admin")));
    if (!rows.exec(QStringLiteral("SELECT Name FROM %1.Client ORDER BY Id").arg(MySqlDatabase::quoteIdentifier(database))))
        return {QStringLiteral("unreadable")};
    QStringList names;
    while (rows.next())
        names << rows.value(0).toString();
    return names;
}

int sessionCounter(const QSqlDatabase& connection, const char* name)
{
    QSqlQuery status(connection);
    status.exec(QStringLiteral("SHOW SESSION STATUS LIKE '%1'").arg(QLatin1String(name)));
    return status.next() ? status.value(1).toInt() : -1;
}

MySqlDatabase* openMariaDb(const QString& name)
{
    DialogAnswerer answerer;
    answerer.pressNext("Yes");
    auto* db = new MySqlDatabase;
    if (db->open(MariaDbServer::settings(name)) != 0) {
        delete db;
        return nullptr;
    }
    Database::setInstance(db);
    return db;
}

// A database of its own, current while the object lives, then dropped.
struct ScratchDatabase
{
    explicit ScratchDatabase(const QString& hint) : name(MariaDbServer::uniqueName(hint)), db(openMariaDb(name)) {}
    ~ScratchDatabase()
    {
        Database::setInstance(nullptr);
        MariaDbServer::dropDatabase(name);
    }
    const QString name;
    MySqlDatabase* const db;
};

void addClient(StatementBatch& batch, const QString& name)
{
    StatementCache::Statement insert =
        StatementCache::prepareInsert(Database::instance()->connection(), "Client", {"Name"}, DatabaseMySql);
    insert->bindValue(":Name", name);
    batch.add(*insert);
}

} // namespace

// A statement in the second of three waiting ones fails: the report names
// it, and the transaction keeps nothing of the batch.
PELVANE_CHILD_SCENARIO(failingInBatch)
{
    QString why;
    if (!MariaDbServer::reachable(&why) || !openMariaDb(args.value(0)))
        return 3;
    StatementCache cache(Database::instance()->connection());
    DatabaseTransaction transaction;
    StatementBatch batch(Database::instance()->connection());
    addClient(batch, "Stored first");
    StatementCache::Statement broken = StatementCache::prepare(
        QStringLiteral("INSERT INTO Site (ClientId,Name) VALUES (:ClientId,:Name)"));
    broken->bindValue(":ClientId", 987654); // no such client
    broken->bindValue(":Name", "Orphan");
    batch.add(*broken);
    addClient(batch, "Never reached");
    batch.exec();
    std::printf("batch ran\n");
    return 0;
}

// The transaction's start waits in the batch and goes with the first
// statement whose answer is read; a statement that fails after that keeps
// nothing of the record, the rows written before it included.
PELVANE_CHILD_SCENARIO(failingAfterDeferredBegin)
{
    QString why;
    if (!MariaDbServer::reachable(&why) || !openMariaDb(args.value(0)))
        return 3;
    StatementCache cache(Database::instance()->connection());
    StatementBatch batch(Database::instance()->connection());
    DatabaseTransaction transaction(batch);
    addClient(batch, "Written before the answer");
    StatementCache::Statement count = StatementCache::prepare(QStringLiteral("SELECT COUNT(*) FROM Client"));
    count->exec();
    count->next();
    std::printf("clients seen inside: %d\n", count->value(0).toInt());
    StatementCache::Statement broken = StatementCache::prepare(
        QStringLiteral("INSERT INTO Site (ClientId,Name) VALUES (:ClientId,:Name)"));
    broken->bindValue(":ClientId", 987654); // no such client
    broken->bindValue(":Name", "Orphan");
    batch.add(*broken);
    transaction.commit(batch);
    std::printf("committed\n");
    return 0;
}

class TestStatementBatch : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Database::setInstance(nullptr); }
    void sqliteRunsEachAsItIsAdded();
    void mariaDbSendsWaitingStatementsWithTheAnsweredOne();
    void mariaDbKeepsTheOrderAroundAStatementThatCannotWait();
    void mariaDbReportsTheStatementThatFailed();
    void mariaDbDeferredStartKeepsTheRecordWhole();
    void mariaDbCommitsTogetherWithTheWaitingStatements();
    void mariaDbDeferredLockNotGrantedEndsTheAttempt();
    void mariaDbFailedAttemptLeavesNothingWaiting();
};

void TestStatementBatch::sqliteRunsEachAsItIsAdded()
{
    SqliteDatabase* db = SeededDatabase::createSeeded(TestEnvironment::instance()->newFolder() + "/batch.db");
    QVERIFY(db);
    StatementCache cache(db->connection());
    StatementBatch batch(db->connection());
    StatementCache::Statement insert = StatementCache::prepareInsert(db->connection(), "Client", {"Name"}, db->type());
    insert->bindValue(":Name", "Batch one");
    batch.add(*insert);
    QSqlQuery check(db->connection());
    QVERIFY(check.exec("SELECT COUNT(*) FROM Client WHERE Name='Batch one'"));
    QVERIFY(check.next());
    QCOMPARE(check.value(0).toInt(), 1);

    StatementCache::Statement count =
        StatementCache::prepare(db->connection(), "SELECT COUNT(*) FROM Client WHERE Name LIKE 'Batch%'");
    batch.exec(*count);
    QVERIFY(count->next());
    QCOMPARE(count->value(0).toInt(), 1);
}

void TestStatementBatch::mariaDbSendsWaitingStatementsWithTheAnsweredOne()
{
    PELVANE_REQUIRE_MARIADB();
    ScratchDatabase scratch(QStringLiteral("batch together"));
    MySqlDatabase* db = scratch.db;
    const QString& name = scratch.name;
    QVERIFY(db);
    StatementCache cache(db->connection());
    {
        StatementBatch batch(db->connection());
        addClient(batch, "North; Clinic");
        addClient(batch, "O'Brien & Sons");
        addClient(batch, "South -- Clinic");
        // Nothing has reached the server yet.
        QCOMPARE(clientsSeenFromOutside(name), QStringList());

        StatementCache::Statement count = StatementCache::prepare(
            db->connection(), "SELECT COUNT(*), MAX(Name) FROM Client WHERE Name<>:Name");
        count->bindValue(":Name", "North; Clinic");
        batch.exec(*count);
        QVERIFY(count->next());
        QCOMPARE(count->value(0).toInt(), 2);
        QCOMPARE(count->value(1).toString(), QString("South -- Clinic"));
        QVERIFY(!count->next());
        QCOMPARE(clientsSeenFromOutside(name), QStringList({"North; Clinic", "O'Brien & Sons", "South -- Clinic"}));

        // The answered statement may itself be an insert: its id is its own.
        addClient(batch, "West");
        StatementCache::Statement insert =
            StatementCache::prepareInsert(db->connection(), "Client", {"Name"}, DatabaseMySql);
        insert->bindValue(":Name", "East");
        batch.exec(*insert);
        const int eastId = insert->lastInsertId(DatabaseMySql);
        QSqlQuery east(db->connection());
        QVERIFY(east.exec(QStringLiteral("SELECT Name FROM Client WHERE Id=%1").arg(eastId)));
        QVERIFY(east.next());
        QCOMPARE(east.value(0).toString(), QString("East"));

        // What still waits when the batch goes is run, not dropped.
        addClient(batch, "Last");
    }
    QCOMPARE(clientsSeenFromOutside(name).mid(3), QStringList({"West", "East", "Last"}));
}

void TestStatementBatch::mariaDbKeepsTheOrderAroundAStatementThatCannotWait()
{
    PELVANE_REQUIRE_MARIADB();
    ScratchDatabase scratch(QStringLiteral("batch order"));
    MySqlDatabase* db = scratch.db;
    const QString& name = scratch.name;
    QVERIFY(db);
    StatementCache cache(db->connection());
    StatementBatch batch(db->connection());
    addClient(batch, "First");
    // A backslash is never written into a text: this one is prepared and
    // runs at once, after what waited before it.
    addClient(batch, "Second \\ with a backslash");
    QCOMPARE(clientsSeenFromOutside(name), QStringList({"First", "Second \\ with a backslash"}));
    addClient(batch, "Third");
    StatementCache::Statement names = StatementCache::prepare(db->connection(), "SELECT Name FROM Client ORDER BY Id");
    batch.exec(*names);
    QStringList seen;
    while (names->next())
        seen << names->value(0).toString();
    QCOMPARE(seen, QStringList({"First", "Second \\ with a backslash", "Third"}));
}

void TestStatementBatch::mariaDbReportsTheStatementThatFailed()
{
    PELVANE_REQUIRE_MARIADB();
    const QString name = MariaDbServer::uniqueName("batch failure");
    auto drop = qScopeGuard([&] { MariaDbServer::dropDatabase(name); });
    {
        MySqlDatabase* db = openMariaDb(name);
        QVERIFY(db);
        Database::setInstance(nullptr);
    }
    const ChildResult child = runChildScenario("failingInBatch", {name});
    QVERIFY(!child.crashed);
    QVERIFY2(child.exitCode == 1, child.output.right(1500).constData());
    QVERIFY(!child.output.contains("batch ran"));
    QVERIFY2(child.output.contains("INSERT INTO Site (ClientId,Name) VALUES (987654,'Orphan')"),
             child.output.right(1500).constData());
    QVERIFY(child.output.contains("foreign key"));
    QVERIFY(!child.output.contains("Last query:\nINSERT INTO Client"));
    QCOMPARE(clientsSeenFromOutside(name), QStringList());
}

void TestStatementBatch::mariaDbDeferredStartKeepsTheRecordWhole()
{
    PELVANE_REQUIRE_MARIADB();
    const QString name = MariaDbServer::uniqueName("deferred start");
    auto drop = qScopeGuard([&] { MariaDbServer::dropDatabase(name); });
    {
        MySqlDatabase* db = openMariaDb(name);
        QVERIFY(db);
        Database::setInstance(nullptr);
    }
    const ChildResult child = runChildScenario("failingAfterDeferredBegin", {name});
    QVERIFY(!child.crashed);
    QVERIFY2(child.exitCode == 1, child.output.right(1500).constData());
    QVERIFY2(child.output.contains("clients seen inside: 1"), child.output.right(1500).constData());
    QVERIFY(!child.output.contains("committed"));
    QVERIFY(child.output.contains("foreign key"));
    QCOMPARE(clientsSeenFromOutside(name), QStringList());
}

void TestStatementBatch::mariaDbCommitsTogetherWithTheWaitingStatements()
{
    PELVANE_REQUIRE_MARIADB();
    ScratchDatabase scratch(QStringLiteral("batch commit"));
    QVERIFY(scratch.db);
    const QSqlDatabase connection = scratch.db->connection();
    StatementCache cache(connection);
    int learned = 0;
    {
        DatabaseTransaction outer;
        {
            // An inner scope does not commit its outer one's work.
            DatabaseTransaction inner;
            StatementBatch batch(connection);
            addClient(batch, "Inner");
            inner.commit(batch);
            QSqlQuery own(connection);
            QVERIFY(own.exec("SELECT COUNT(*) FROM Client"));
            QVERIFY(own.next());
            QCOMPARE(own.value(0).toInt(), 1);
            QCOMPARE(clientsSeenFromOutside(scratch.name), QStringList());
        }
        StatementBatch batch(connection);
        learned = scratch.db->findOrInsertClient("Learned");
        addClient(batch, "Waiting");
        outer.commit(batch);
        QCOMPARE(clientsSeenFromOutside(scratch.name), QStringList({"Inner", "Learned", "Waiting"}));
    }
    // Nothing was left for the scope's end to commit or to report, and the
    // id found inside the committed transaction is remembered by the next.
    QCOMPARE(clientsSeenFromOutside(scratch.name), QStringList({"Inner", "Learned", "Waiting"}));
    DatabaseTransaction next;
    const int selects = sessionCounter(connection, "Com_select");
    QCOMPARE(scratch.db->findOrInsertClient("Learned"), learned);
    QCOMPARE(sessionCounter(connection, "Com_select"), selects);
}

// The lock goes with the deferred start and the record's first statement:
// when another workstation holds it, the attempt ends as a lock wait does,
// whatever ran after it in the same text is rolled back, and the connection
// answers again.
void TestStatementBatch::mariaDbDeferredLockNotGrantedEndsTheAttempt()
{
    PELVANE_REQUIRE_MARIADB();
    ScratchDatabase scratch("deferred lock");
    QVERIFY(scratch.db);
    QSqlDatabase connection = scratch.db->connection();
    const QStringList begin = WriteLock::mySqlBegin().replaceInStrings(QRegularExpression(",\\d+\\)(?= AND |$)"), ",0)");
    auto removeHolder = qScopeGuard([] {
        QSqlDatabase::database("holder", false).close();
        QSqlDatabase::removeDatabase("holder");
    });
    QSqlDatabase holder = MariaDbServer::connection("holder", scratch.name);
    QSqlQuery hold(holder);
    QVERIFY(hold.exec(begin.last()) && hold.next() && hold.value(0).toInt() == 1);

    StatementCache cache(connection);
    QString failed;
    {
        const bool retrying = SqlQuery::setRetrying(true);
        auto restore = qScopeGuard([&] { SqlQuery::setRetrying(retrying); });
        try {
            StatementBatch batch(connection);
            QVERIFY(batch.deferBegin(begin, int(begin.size()) - 1));
            addClient(batch, "Without the lock");
            StatementCache::Statement count = StatementCache::prepare(QStringLiteral("SELECT COUNT(*) FROM Client"));
            count->exec();
        } catch (const SqlQuery::TransientFailure& failure) {
            failed = failure.statement;
        }
    }
    connection.rollback();
    QVERIFY2(failed.contains("GET_LOCK"), qPrintable(failed));
    QVERIFY(!StatementBatch::hasWaiting(connection.driver()));
    QVERIFY(!clientsSeenFromOutside(scratch.name).contains("Without the lock"));
    QSqlQuery after(connection);
    QVERIFY(after.exec("SELECT 1") && after.next());
}

// An attempt that a deadlock ends drops what still waits for the server,
// even in a batch that outlives it, and the next attempt stores the record
// once and gives the write lock back.
void TestStatementBatch::mariaDbFailedAttemptLeavesNothingWaiting()
{
    PELVANE_REQUIRE_MARIADB();
    ScratchDatabase scratch("failed attempt");
    QVERIFY(scratch.db);
    QSqlDatabase connection = scratch.db->connection();
    const QStringList before = clientsSeenFromOutside(scratch.name);
    StatementCache cache(connection);
    StatementBatch outer(connection);
    int attempts = 0;
    const bool stored = DatabaseTransaction::run([&](DatabaseTransaction&, StatementBatch& batch) {
        ++attempts;
        addClient(batch, QStringLiteral("Attempt %1").arg(attempts));
        StatementCache::Statement count = StatementCache::prepare(QStringLiteral("SELECT COUNT(*) FROM Client"));
        count->exec();
        addClient(batch, QStringLiteral("Late in attempt %1").arg(attempts));
        if (attempts == 1)
            SqlQuery::reportFailure(QStringLiteral("UPDATE"),
                                    QSqlError("Deadlock found", QString(), QSqlError::StatementError, "1213"));
    });
    QVERIFY(stored);
    QCOMPARE(attempts, 2);
    QVERIFY(!StatementBatch::hasWaiting(connection.driver()));
    QCOMPARE(clientsSeenFromOutside(scratch.name), before + QStringList({"Attempt 2", "Late in attempt 2"}));
    // The commit that went with what waited gave the lock back.
    auto removeOther = qScopeGuard([] {
        QSqlDatabase::database("other workstation", false).close();
        QSqlDatabase::removeDatabase("other workstation");
    });
    QSqlQuery other(MariaDbServer::connection("other workstation", scratch.name));
    const QString tryLock = WriteLock::mySqlBegin().last().replace(QRegularExpression(",\\d+\\)(?= AND |$)"), ",0)");
    QVERIFY(other.exec(tryLock) && other.next());
    QCOMPARE(other.value(0).toInt(), 1);
}

PELVANE_TEST_MAIN(TestStatementBatch)
#include "TestStatementBatch.moc"
