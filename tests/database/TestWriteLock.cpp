#include "database/DatabaseTransaction.h"
#include "database/MySqlDatabase.h"
#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "database/WriteLock.h"
#include "support/DialogAnswerer.h"
#include "support/MariaDbServer.h"
#include "support/SeededDatabase.h"
#include "support/ServerRelay.h"
#include "support/TestEnvironment.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSemaphore>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>
#include <cstdio>

namespace {

// Sends statements as one text, as the program does, and gives the answer
// of the last; -1 when one failed.
int together(QSqlDatabase& db, const QStringList& statements)
{
    QSqlQuery query(db);
    if (!query.exec(statements.join(QLatin1Char(';'))))
        return -1;
    for (qsizetype i = 1; i < statements.size(); ++i)
        if (!query.nextResult())
            return -1;
    return query.next() ? query.value(0).toInt() : 0;
}

int tryLock(QSqlDatabase& db)
{
    QSqlQuery query(db);
    query.exec(QStringLiteral("SELECT GET_LOCK('pelvane.%1',0)").arg(db.databaseName()));
    return query.next() ? query.value(0).toInt() : -1;
}

} // namespace

// The program's write, committed while another program reads the file: the
// commit waits longer than the file's busy wait before the reader is done.
PELVANE_CHILD_SCENARIO(commitWhileAnotherReads)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("committer"));
    db.setDatabaseName(args.value(0));
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1000"));
    if (!db.open())
        return 3;
    {
        DatabaseTransaction transaction(&db);
        SqlQuery insert(db);
        insert.exec(QStringLiteral("INSERT INTO Client (Name) VALUES ('Written')"));
        std::printf("committing\n");
        std::fflush(stdout);
    }
    return 0;
}

class TestWriteLock : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void mySqlLockIsOnePerDatabaseUntilCommit();
    void mySqlDeadlockIsTransient();
    void mySqlLockOfAVanishedHolderIsFreed();
    void sqliteBusyFileIsTransient();
    void sqliteCommitWaitsForAReader();
    void msSqlLockStatement();

private:
    QStringList m_databases;
    QStringList m_connections;
};

void TestWriteLock::cleanup()
{
    for (const QString& name : std::as_const(m_connections)) {
        QSqlDatabase::database(name, false).close();
        QSqlDatabase::removeDatabase(name);
    }
    m_connections.clear();
    for (const QString& name : std::as_const(m_databases))
        MariaDbServer::dropDatabase(name);
    m_databases.clear();
}

// Two workstations' transactions on one database take turns; on another
// database of the same server, however alike their names, nobody waits for
// them.
void TestWriteLock::mySqlLockIsOnePerDatabaseUntilCommit()
{
    PELVANE_REQUIRE_MARIADB();
    const QString shared = MariaDbServer::uniqueName(QStringLiteral("lock_hospital_group_biomed_north"));
    const QString other = QString(shared).replace(QStringLiteral("north"), QStringLiteral("south"));
    const QString longer = shared.leftJustified(63, QLatin1Char('_'));
    m_databases << shared << other << longer + "1" << longer + "2";
    QVERIFY(MariaDbServer::exec(QStringLiteral("CREATE DATABASE `%1`").arg(shared)));
    QVERIFY(MariaDbServer::exec(QStringLiteral("CREATE DATABASE `%1`").arg(other)));
    m_connections << "first" << "second" << "elsewhere";
    QSqlDatabase first = MariaDbServer::connection("first", shared);
    QSqlDatabase second = MariaDbServer::connection("second", shared);
    QSqlDatabase elsewhere = MariaDbServer::connection("elsewhere", other);
    QVERIFY(first.isOpen() && second.isOpen() && elsewhere.isOpen());

    QCOMPARE(together(first, WriteLock::mySqlBegin()), 1);
    QCOMPARE(tryLock(second), 0);
    QCOMPARE(tryLock(elsewhere), 1);
    // A rolled-back transaction keeps the lock until it is given back.
    QCOMPARE(together(first, {QStringLiteral("ROLLBACK")}), 0);
    QCOMPARE(tryLock(second), 0);
    QCOMPARE(together(first, {QStringLiteral("START TRANSACTION")}), 0);
    QCOMPARE(together(first, {QStringLiteral("COMMIT"), WriteLock::mySqlRelease()}), 0);
    QCOMPARE(tryLock(second), 1);
    const int wait = std::exchange(WriteLock::waitSeconds, 0);
    QCOMPARE(together(first, WriteLock::mySqlBegin()), 0);
    // Records of two assets hold a share each; any other write waits for them.
    QCOMPARE(together(second, {WriteLock::mySqlRelease()}) + together(second, WriteLock::mySqlAssetBegin("Pump 1")), 1);
    QCOMPARE(together(elsewhere, WriteLock::mySqlAssetBegin("Pump 1")), 1);
    QCOMPARE(together(first, {WriteLock::mySqlRelease()}) + together(first, WriteLock::mySqlAssetBegin("Pump 2")), 1);
    QCOMPARE(together(second, WriteLock::mySqlBegin()), 0);
    // Names longer than a lock's name holds, alike but for their last character.
    for (const char* end : {"1", "2"}) {
        QVERIFY(MariaDbServer::exec(QStringLiteral("CREATE DATABASE `%1`").arg(longer + end)));
        m_connections << longer + end;
        QSqlDatabase db = MariaDbServer::connection(longer + end, longer + end);
        QCOMPARE(together(db, WriteLock::mySqlBegin()), 1);
    }
    WriteLock::waitSeconds = wait;

    // A connection that is about to create its database locks as well.
    m_connections << "creating";
    QSqlDatabase creating = MariaDbServer::connection("creating", QString());
    QCOMPARE(together(creating, WriteLock::mySqlBegin()), 1);
    QCOMPARE(together(creating, {QStringLiteral("COMMIT"), WriteLock::mySqlRelease()}), 0);
}

// A workstation that vanishes while it holds the lock (asleep, cable pulled:
// no FIN, no RST reaches the server) loses it within 30 s; a holder that
// gives it back has its session's own idle time-out again.
void TestWriteLock::mySqlLockOfAVanishedHolderIsFreed()
{
    PELVANE_REQUIRE_MARIADB();
    const QString name = MariaDbServer::uniqueName(QStringLiteral("lock vanished"));
    m_databases << name;
    QVERIFY(MariaDbServer::exec(QStringLiteral("CREATE DATABASE `%1`").arg(name)));
    m_connections << "vanishing" << "waiting";
    QSqlDatabase waiting = MariaDbServer::connection("waiting", name);
    QSqlQuery idle(waiting);
    QVERIFY(idle.exec("SELECT @@SESSION.wait_timeout") && idle.next());
    const int own = idle.value(0).toInt();
    QCOMPARE(together(waiting, WriteLock::mySqlBegin()), 1);
    QCOMPARE(together(waiting, {QStringLiteral("COMMIT"), WriteLock::mySqlRelease(), "SELECT @@SESSION.wait_timeout"}),
             own);

    ServerRelay relay;
    QVERIFY(relay.isValid());
    const ConnectionSettings through = ServerRelay::settings(name);
    QSqlDatabase vanishing = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), QStringLiteral("vanishing"));
    vanishing.setHostName(through.host);
    vanishing.setDatabaseName(name);
    vanishing.setUserName(through.userName);
    vanishing.setPassword(through.password);
    QVERIFY2(vanishing.open(), qPrintable(vanishing.lastError().text()));
    QCOMPARE(together(vanishing, WriteLock::mySqlBegin()), 1);
    relay.freeze();
    QElapsedTimer waited;
    waited.start();
    QCOMPARE(together(waiting, {WriteLock::mySqlBegin().last().replace(QRegularExpression(",\\d+\\)$"), ",40)")}), 1);
    QVERIFY2(waited.elapsed() < 30000, qPrintable(QString::number(waited.elapsed())));
    relay.cut();
}

// The server's own deadlock report, as the driver gives it, ends only an
// attempt; a duplicate key does not.
void TestWriteLock::mySqlDeadlockIsTransient()
{
    PELVANE_REQUIRE_MARIADB();
    const QString name = MariaDbServer::uniqueName(QStringLiteral("deadlock"));
    m_databases << name;
    QVERIFY(MariaDbServer::exec(QStringLiteral("CREATE DATABASE `%1`").arg(name)));
    m_connections << "b";
    QSqlDatabase b = MariaDbServer::connection("b", name);
    QSqlQuery qb(b);
    QVERIFY(qb.exec("CREATE TABLE T (Id INT PRIMARY KEY, V INT) ENGINE=InnoDB"));
    QVERIFY(qb.exec("INSERT INTO T VALUES (1,0),(2,0)"));

    // The other side has a connection of its own thread: a holds row 1 and
    // then waits for row 2, which b holds and which then waits for row 1.
    QSemaphore holdsOne, bHoldsTwo;
    QSqlError aError;
    QThread* a = QThread::create([&] {
        {
            QSqlDatabase db = MariaDbServer::connection("a", name);
            QSqlQuery qa(db);
            qa.exec("START TRANSACTION");
            qa.exec("UPDATE T SET V=1 WHERE Id=1");
            holdsOne.release();
            bHoldsTwo.acquire();
            if (!qa.exec("UPDATE T SET V=2 WHERE Id=2"))
                aError = qa.lastError();
            qa.exec("ROLLBACK");
        }
        QSqlDatabase::removeDatabase("a");
    });
    a->start();
    QVERIFY(qb.exec("START TRANSACTION"));
    holdsOne.acquire();
    QVERIFY(qb.exec("UPDATE T SET V=1 WHERE Id=2"));
    bHoldsTwo.release();
    QThread::msleep(300);
    const bool bDone = qb.exec("UPDATE T SET V=2 WHERE Id=1");
    const QSqlError bError = qb.lastError();
    qb.exec("ROLLBACK");
    a->wait();
    delete a;
    const QSqlError error = bDone ? aError : bError;
    QCOMPARE(error.nativeErrorCode(), QStringLiteral("1213"));
    QVERIFY(SqlQuery::isTransient(error));

    QVERIFY(!qb.exec("INSERT INTO T VALUES (1,0)"));
    QCOMPARE(qb.lastError().nativeErrorCode(), QStringLiteral("1062"));
    QVERIFY(!SqlQuery::isTransient(qb.lastError()));
}

// A second program that finds the file's write lock taken waits for it, and
// if the wait runs out the failure ends an attempt only.
void TestWriteLock::sqliteBusyFileIsTransient()
{
    const QString path = TestEnvironment::instance()->newFolder() + QStringLiteral("/busy.db");
    QVERIFY(SeededDatabase::createEmpty(path));
    m_connections << "writer" << "impatient";
    QSqlDatabase writer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "writer");
    writer.setDatabaseName(path);
    QVERIFY(writer.open());
    QSqlDatabase impatient = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "impatient");
    impatient.setDatabaseName(path);
    impatient.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=200"));
    QVERIFY(impatient.open());

    QSqlQuery w(writer);
    QVERIFY(w.exec(WriteLock::sqliteBegin()));
    QSqlQuery i(impatient);
    QElapsedTimer waited;
    waited.start();
    QVERIFY(!i.exec(WriteLock::sqliteBegin()));
    QVERIFY(waited.elapsed() >= 150);
    QVERIFY2(SqlQuery::isTransient(i.lastError()), qPrintable(i.lastError().nativeErrorCode()));
    QVERIFY(w.exec(QStringLiteral("COMMIT")));
    QVERIFY(i.exec(WriteLock::sqliteBegin()));
    QVERIFY(i.exec(QStringLiteral("COMMIT")));

    // The program's own connection waits as long as the lock's wait.
    QCOMPARE(WriteLock::busyTimeoutOption(), QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(WriteLock::waitSeconds * 1000));
    QVERIFY(!SqlQuery::isTransient(QSqlError("", "constraint", QSqlError::StatementError, "19")));
    QVERIFY(!SqlQuery::isTransient(QSqlError("", "gone", QSqlError::StatementError, "2006")));
}

void TestWriteLock::sqliteCommitWaitsForAReader()
{
    const QString path = TestEnvironment::instance()->newFolder() + QStringLiteral("/read.db");
    SqliteDatabase* db = SeededDatabase::createEmpty(path);
    QVERIFY(db);
    QSqlQuery read(db->connection());
    QVERIFY(read.exec(QStringLiteral("BEGIN")));
    QVERIFY(read.exec(QStringLiteral("SELECT COUNT(*) FROM Client")) && read.next());

    QProcess child;
    startChildScenario(child, QStringLiteral("commitWhileAnotherReads"), {path});
    QByteArray output;
    // Refused twice, past the child's own busy wait: its commit waits on.
    while (!output.contains("commit 2 found the file busy") && child.waitForReadyRead(30000))
        output += child.readAll();
    QVERIFY2(output.contains("commit 2 found the file busy"), output.constData());
    QVERIFY(read.exec(QStringLiteral("COMMIT")));
    const ChildResult result = finishChildScenario(child);
    output += result.output;
    QVERIFY2(result.exitCode == 0, output.right(2000).constData());
    QVERIFY(read.exec(QStringLiteral("SELECT COUNT(*) FROM Client WHERE Name='Written'")) && read.next());
    QCOMPARE(read.value(0).toInt(), 1);
}

// No SQL Server runs here: this checks the text sent, not what a server does
// with it. The lock belongs to the transaction (so commit and rollback give
// it back), is exclusive, waits as long as MySQL's, and a lock not granted
// raises the error that the retry recognises.
void TestWriteLock::msSqlLockStatement()
{
    const QString text = WriteLock::msSqlAcquire();
    QVERIFY(text.startsWith(QStringLiteral("IF @@TRANCOUNT=0 BEGIN TRANSACTION;")));
    QVERIFY(text.contains(QStringLiteral("EXEC @Granted=sp_getapplock @Resource=N'pelvane.write',"
                                         "@LockMode=N'Exclusive',@LockOwner=N'Transaction',@LockTimeout=%1;")
                              .arg(WriteLock::waitSeconds * 1000)));
    const QRegularExpression raised(QStringLiteral("IF @Granted<0 THROW (\\d+),N'[^']*(''[^']*)*',1;$"));
    const QRegularExpressionMatch match = raised.match(text);
    QVERIFY2(match.hasMatch(), qPrintable(text));
    QVERIFY(SqlQuery::isTransient(
        QSqlError(QString(), QString(), QSqlError::StatementError, match.captured(1))));
    // SQL Server's own deadlock and lock time-out, also among other codes.
    QVERIFY(SqlQuery::isTransient(QSqlError(QString(), QString(), QSqlError::StatementError, "1205")));
    QVERIFY(SqlQuery::isTransient(QSqlError(QString(), QString(), QSqlError::StatementError, "3621;1222")));
}

PELVANE_TEST_MAIN(TestWriteLock)
#include "TestWriteLock.moc"
