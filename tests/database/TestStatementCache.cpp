#include "database/DatabaseTransaction.h"
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
    void remembersOnlyCommittedIds();
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

// Find-or-insert remembers what it found or inserted, but only once the
// transaction that holds the row has committed.
void TestStatementCache::remembersOnlyCommittedIds()
{
    SqliteDatabase* db = SeededDatabase::createSeeded(TestEnvironment::instance()->newFolder() + "/ids.db");
    QVERIFY(db);
    QSqlDatabase& connection = db->connection();
    StatementCache cache(connection);
    auto nameOf = [&](int id) {
        QSqlQuery query(connection);
        query.exec(QString("SELECT Name FROM Client WHERE Id=%1").arg(id));
        return query.next() ? query.value(0).toString() : QString("<none>");
    };

    // Inside a transaction that is then rolled back: the row is gone, and
    // the next look-up must insert it again rather than answer its old id.
    QVERIFY(connection.transaction());
    int rolledBack = 0;
    {
        DatabaseTransaction scope;
        rolledBack = db->findOrInsertClient("Rolled Back");
    }
    QCOMPARE(nameOf(rolledBack), QString("Rolled Back"));
    QVERIFY(connection.rollback());
    QCOMPARE(nameOf(rolledBack), QString("<none>"));
    int again = 0;
    {
        DatabaseTransaction scope;
        again = db->findOrInsertClient("Rolled Back");
    }
    QCOMPARE(nameOf(again), QString("Rolled Back"));

    // Committed: the id is remembered for this download, found or inserted.
    int inserted = 0, found = 0;
    {
        DatabaseTransaction scope;
        inserted = db->findOrInsertClient("Kept Client");
        found = db->findOrInsertClient("Acme Health");
    }
    QSqlQuery rename(connection);
    QVERIFY(rename.exec(QString("UPDATE Client SET Name=Name||' (renamed)' WHERE Id IN (%1,%2)").arg(inserted).arg(found)));
    {
        DatabaseTransaction scope;
        QCOMPARE(db->findOrInsertClient("Kept Client"), inserted);
        QCOMPARE(db->findOrInsertClient("Acme Health"), found);
        QCOMPARE(db->findOrInsertClient("acme health"), db->findOrInsertClient("acme health"));
        QVERIFY(db->findOrInsertClient("acme health") != found);
    }

    // Outside any transaction nothing is learned, and another download
    // starts with nothing.
    const int outside = db->findOrInsertClient("Outside");
    QVERIFY(rename.exec(QString("DELETE FROM Client WHERE Id=%1").arg(outside)));
    QVERIFY(db->findOrInsertClient("Outside") != 0);
    QCOMPARE(nameOf(db->findOrInsertClient("Outside")), QString("Outside"));
    {
        StatementCache nextDownload(connection);
        DatabaseTransaction scope;
        const int fresh = db->findOrInsertClient("Kept Client");
        QVERIFY(fresh != inserted);
        QCOMPARE(nameOf(fresh), QString("Kept Client"));
    }
}

PELVANE_TEST_MAIN(TestStatementCache)
#include "TestStatementCache.moc"
