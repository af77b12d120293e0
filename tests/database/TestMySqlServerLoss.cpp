// A MySQL server that stops answering or goes away under an open
// connection, reached through a relay that can freeze or cut it.

#include "database/ConnectionLoss.h"
#include "database/DatabaseTransaction.h"
#include "database/ExportDatabase.h"
#include "database/MySqlDatabase.h"
#include "database/PendingWrite.h"
#include "database/SqlQuery.h"
#include "support/DialogAnswerer.h"
#include "support/MariaDbServer.h"
#include "support/ServerRelay.h"
#include "support/TestEnvironment.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <cstdio>

namespace {

// The database named by args[0], through a relay, made current.
MySqlDatabase* openThroughRelay(const QString& name)
{
    auto* db = new MySqlDatabase;
    if (db->open(ServerRelay::settings(name)) != 0) {
        delete db;
        return nullptr;
    }
    Database::setInstance(db);
    return db;
}

// The same once the server and relay are both there; null otherwise.
MySqlDatabase* openThroughRelay(const ServerRelay& relay, const QString& name)
{
    QString why;
    if (!MariaDbServer::reachable(&why) || !relay.isValid())
        return nullptr;
    return openThroughRelay(name);
}

} // namespace

PELVANE_CHILD_SCENARIO(frozenServer)
{
    QString why;
    ServerRelay relay;
    if (!MariaDbServer::reachable(&why) || !relay.isValid())
        return 3;
    MySqlDatabase::setServerTimeout(2);
    if (!openThroughRelay(args.value(0)))
        return 4;
    relay.freeze();
    std::printf("frozen\n");
    std::fflush(stdout);
    SqlQuery query(QStringLiteral("SELECT COUNT(*) FROM Client"));
    query.exec();
    std::printf(ConnectionLoss::happened() ? "went on, connection lost\n" : "went on\n");
    return 0;
}

PELVANE_CHILD_SCENARIO(serverGoneBeforeCommit)
{
    ServerRelay relay;
    MySqlDatabase* db = openThroughRelay(relay, args.value(0));
    if (!db)
        return 4;
    {
        PendingWrite pending(QStringLiteral("the client Never stored"));
        DatabaseTransaction transaction;
        db->findOrInsertClient(QStringLiteral("Never stored"));
        relay.cut();
    }
    std::printf(ConnectionLoss::happened() ? "went on, connection lost\n" : "committed\n");
    return 0;
}

// A lost connection lets the program go on; a statement that fails on a
// working connection afterwards still ends it.
PELVANE_CHILD_SCENARIO(lostThenOtherFailure)
{
    QString why;
    ServerRelay relay;
    if (!MariaDbServer::reachable(&why) || !relay.isValid())
        return 3;
    if (!openThroughRelay(args.value(0)))
        return 4;
    relay.cut();
    SqlQuery count(QStringLiteral("SELECT COUNT(*) FROM Client"));
    count.exec();
    std::printf("went on\n");
    std::fflush(stdout);

    auto* direct = new MySqlDatabase;
    if (direct->open(MariaDbServer::settings(args.value(0))) != 0)
        return 5;
    Database::setInstance(direct);
    SqlQuery missing(QStringLiteral("SELECT NoSuchColumn FROM Client"));
    missing.exec();
    std::printf("not ended\n");
    return 0;
}

// The export streams a table's rows while it writes them: a server that goes
// away under a page is told as a lost connection, by the page's own read.
PELVANE_CHILD_SCENARIO(exportCutUnderAPage)
{
    ServerRelay relay;
    MySqlDatabase* db = openThroughRelay(relay, args.value(0));
    if (!db)
        return 4;
    const int clients = 3 * ExportDatabase::mysqlPageRows;
    QSqlQuery fill(db->connection());
    if (!fill.exec(QStringLiteral("INSERT INTO Client (Id,Name) SELECT seq,REPEAT('x',200) FROM seq_1_to_%1")
                       .arg(clients)))
        return 5;
    QString script;
    QTextStream out(&script);
    // On a thread of its own, as the program runs it: the loss is told on
    // this thread, in a dialog, while the worker waits.
    std::atomic<int> steps{0};
    QThread* thread = QThread::create([&] {
        ExportDatabase worker(&out);
        QEventLoop loop;
        QObject::connect(&worker, &ThreadObject::updateProgress, [&](float) {
            if (++steps == 10)
                relay.cut();
        });
        QObject::connect(&worker, &ThreadObject::done, &loop, &QEventLoop::quit);
        QObject::connect(&worker, &ThreadObject::abort, &loop, &QEventLoop::quit);
        if (worker.init())
            loop.exec();
    });
    QEventLoop wait;
    QObject::connect(thread, &QThread::finished, &wait, &QEventLoop::quit);
    thread->start();
    wait.exec();
    delete thread;
    out.flush();
    std::printf("stopped after %d of %d steps\n", steps.load(), clients);
    return 0;
}

class TestMySqlServerLoss : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void frozenServerBecomesTheSqlError();
    void serverGoneBeforeTheCommitStoresNothing();
    void otherFailuresStayFatalAfterALostConnection();
    void exportToldAtTheLossUnderAPage();

private:
    QString m_name;
};

void TestMySqlServerLoss::initTestCase()
{
    PELVANE_REQUIRE_MARIADB();
}

void TestMySqlServerLoss::init()
{
    m_name = MariaDbServer::uniqueName("loss");
    DialogAnswerer answerer;
    answerer.pressNext("Yes");
    MySqlDatabase db;
    QCOMPARE(db.open(MariaDbServer::settings(m_name)), 0);
}

void TestMySqlServerLoss::cleanup()
{
    Database::setInstance(nullptr);
    MariaDbServer::dropDatabase(m_name);
}

void TestMySqlServerLoss::frozenServerBecomesTheSqlError()
{
    QElapsedTimer timer;
    timer.start();
    const ChildResult child = runChildScenario("frozenServer", {m_name}, 60000);
    QVERIFY2(!child.crashed, "the program waited for the frozen server");
    // The time-out is told as a lost connection, and the program goes on.
    QVERIFY2(child.exitCode == 0, child.output.right(1500).constData());
    QVERIFY(child.output.contains("frozen\n"));
    QVERIFY(child.output.contains("SELECT COUNT(*) FROM Client"));
    QVERIFY(child.output.contains("The connection to the MySQL server on"));
    QVERIFY(child.output.contains("went on, connection lost\n"));
    QVERIFY(timer.elapsed() < 30000);
}

void TestMySqlServerLoss::serverGoneBeforeTheCommitStoresNothing()
{
    const ChildResult child = runChildScenario("serverGoneBeforeCommit", {m_name}, 60000);
    QVERIFY(!child.crashed);
    QVERIFY2(child.exitCode == 0, child.output.right(1500).constData());
    QVERIFY(child.output.contains("\"COMMIT\""));
    QVERIFY(child.output.contains("went on, connection lost\n"));
    QVERIFY2(child.output.contains("Not saved:\n  - the client Never stored"), child.output.right(1500).constData());
    QVERIFY(!child.output.contains("committed"));
    QCOMPARE(MariaDbServer::exec(QStringLiteral("SELECT 1")), true);
    QSqlQuery rows(QSqlDatabase::database(QStringLiteral("pelvane-test-admin")));
    QVERIFY(rows.exec(QStringLiteral("SELECT COUNT(*) FROM %1.Client").arg(MySqlDatabase::quoteIdentifier(m_name))));
    QVERIFY(rows.next());
    QCOMPARE(rows.value(0).toInt(), 0);
}

void TestMySqlServerLoss::otherFailuresStayFatalAfterALostConnection()
{
    const ChildResult child = runChildScenario("lostThenOtherFailure", {m_name}, 60000);
    QVERIFY(!child.crashed);
    QVERIFY2(child.output.contains("went on\n"), child.output.right(1500).constData());
    QVERIFY(child.output.contains("was lost"));
    QCOMPARE(child.exitCode, 1);
    QVERIFY(child.output.contains("NoSuchColumn"));
    QVERIFY(!child.output.contains("not ended"));
}

void TestMySqlServerLoss::exportToldAtTheLossUnderAPage()
{
    const ChildResult child = runChildScenario("exportCutUnderAPage", {m_name}, 60000);
    QVERIFY2(!child.crashed, child.output.right(1500).constData());
    QVERIFY2(child.exitCode == 0, child.output.right(1500).constData());
    QVERIFY2(child.output.contains("The connection to the MySQL server on"), child.output.right(1500).constData());
    // The statement told is a read of the table's rows: the page under which
    // the cut is noticed, the first or (when the first was already on its
    // way) a later one.
    static const QRegularExpression pageRead(QStringLiteral("FROM Client( WHERE Id>\\d+)? ORDER BY Id LIMIT"));
    QVERIFY2(QString::fromUtf8(child.output).contains(pageRead), child.output.right(1500).constData());
    const QRegularExpression stopped(QStringLiteral("stopped after (\\d+) of (\\d+) steps"));
    const QRegularExpressionMatch match = stopped.match(QString::fromUtf8(child.output));
    QVERIFY(match.hasMatch());
    QVERIFY2(match.captured(1).toInt() < match.captured(2).toInt(), qPrintable(match.captured(0)));
}

PELVANE_TEST_MAIN(TestMySqlServerLoss)
#include "TestMySqlServerLoss.moc"
