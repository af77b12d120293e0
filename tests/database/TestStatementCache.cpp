#include "database/SqliteDatabase.h"
#include "database/StatementCache.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QThread>
#include <QtTest>

// A cache keeps one prepared statement per text for its own connection and
// thread; everything else prepares afresh as before.
class TestStatementCache : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Database::setInstance(nullptr); }
    void keptPerTextWhileAlive();
    void otherConnectionsAndThreadsPrepareAfresh();
};

void TestStatementCache::keptPerTextWhileAlive()
{
    SqliteDatabase* db = SeededDatabase::createSeeded(TestEnvironment::instance()->newFolder() + "/kept.db");
    QVERIFY(db);
    const QString names = QStringLiteral("SELECT Name FROM Client ORDER BY Id");

    SqlQuery* first = nullptr;
    {
        StatementCache cache(db->connection());
        {
            StatementCache::Statement query = StatementCache::prepare(names);
            query->exec();
            QVERIFY(query->next()); // left with a row still unread
            QCOMPARE(query->value(0).toString(), QString("Acme Health"));
            first = &*query;
        }
        // Its result was given back: nothing stays open on the connection.
        QVERIFY(!first->isActive());
        {
            StatementCache::Statement again = StatementCache::prepare(db->connection(), names);
            QCOMPARE(&*again, first);
            again->exec();
            QVERIFY(again->next());
            QCOMPARE(again->value(0).toString(), QString("Acme Health"));
        }
        {
            StatementCache::Statement insert =
                StatementCache::prepareInsert(db->connection(), "Client", {"Name"}, db->type());
            insert->bindValue(":Name", "Kept");
            insert->exec();
            const int id = insert->lastInsertId(db->type());
            StatementCache::Statement moved = std::move(insert);
            moved->bindValue(":Name", "Kept again");
            moved->exec();
            QCOMPARE(moved->lastInsertId(db->type()), id + 1);
        }
        QCOMPARE(StatementCache::preparedCount(db->connection()), 2);

        // An inner cache serves while it lives; the outer one afterwards.
        {
            StatementCache inner(db->connection());
            StatementCache::Statement query = StatementCache::prepare(names);
            QVERIFY(&*query != first);
            QCOMPARE(StatementCache::preparedCount(db->connection()), 1);
        }
        QCOMPARE(&*StatementCache::prepare(names), first);
    }
    QCOMPARE(StatementCache::preparedCount(db->connection()), 0);
    StatementCache::Statement fresh = StatementCache::prepare(names);
    fresh->exec();
    QVERIFY(fresh->next());
}

void TestStatementCache::otherConnectionsAndThreadsPrepareAfresh()
{
    SqliteDatabase other;
    QCOMPARE(other.open(TestEnvironment::instance()->newFolder() + "/other.db", true), 0);
    SqliteDatabase* db = SeededDatabase::createSeeded(TestEnvironment::instance()->newFolder() + "/current.db");
    QVERIFY(db);
    StatementCache cache(db->connection());

    const QString statement = QStringLiteral("SELECT 1");
    SqlQuery* kept = &*StatementCache::prepare(statement);
    QVERIFY(&*StatementCache::prepare(other.connection(), statement) != kept);
    QCOMPARE(StatementCache::preparedCount(other.connection()), 0);

    int inThread = -1;
    std::unique_ptr<QThread> thread(
        QThread::create([&] { inThread = StatementCache::preparedCount(db->connection()); }));
    thread->start();
    QVERIFY(thread->wait(5000));
    QCOMPARE(inThread, 0);
    QCOMPARE(StatementCache::preparedCount(db->connection()), 1);
}

PELVANE_TEST_MAIN(TestStatementCache)
#include "TestStatementCache.moc"
