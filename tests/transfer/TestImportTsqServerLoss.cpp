// A download whose MySQL server goes away: before a record, or after the
// record's commit has reached the server and before its answer came back.

#include "InstrumentRecords.h"

#include "database/MySqlDatabase.h"
#include "database/PendingWrite.h"
#include "database/StatementCache.h"
#include "support/MariaDbServer.h"
#include "support/ServerRelay.h"
#include "support/TestEnvironment.h"
#include "transfer/ImportOutcome.h"
#include "transfer/ImportTsq.h"

#include <QSqlQuery>
#include <QtTest>
#include <cstdio>

namespace {

const QDateTime tested(QDate(2026, 1, 10), QTime(9, 30));

QByteArray record(const char* name)
{
    return InstrumentRecords::asset(QString::fromLatin1(name), tested, 1, {{1, 0.10f}});
}

// Downloads Monitor, then cuts the connection (at once, or as Lamp's commit
// passes) and downloads Lamp. Arguments: database, "before" or "commit".
PELVANE_CHILD_SCENARIO(downloadMeetsALoss)
{
    QString why;
    ServerRelay relay;
    if (!MariaDbServer::reachable(&why) || !relay.isValid())
        return 3;
    auto* db = new MySqlDatabase;
    if (db->open(ServerRelay::settings(args.value(0))) != 0)
        return 4;
    Database::setInstance(db);
    {
        StatementCache statements(db->connection());
        PendingWrite rest(QStringLiteral("the rest of this download"));
        ImportTsq().import(record("Monitor"));
        if (args.value(1) == QLatin1String("commit"))
            relay.cutAfter("COMMIT");
        else
            relay.cut();
        ImportTsq().import(record("Lamp"));
    }
    Database::setInstance(nullptr);
    std::printf("went on\n");
    return 0;
}

} // namespace

class TestImportTsqServerLoss : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { PELVANE_REQUIRE_MARIADB(); }
    void cleanup() { Database::setInstance(nullptr); }
    void lostBeforeARecordIsNotTriedAgain();
    void lostAfterTheCommitMayHaveSaved();
};

void TestImportTsqServerLoss::lostBeforeARecordIsNotTriedAgain()
{
    MariaDbServer::ScopedDatabase database("loss before");
    QVERIFY(database.install());
    const ChildResult child = runChildScenario("downloadMeetsALoss", {database.name(), "before"});
    const QString output = QString::fromUtf8(child.output);
    QVERIFY2(!child.crashed && child.exitCode == 0 && output.contains("went on\n"), qPrintable(output.right(3000)));
    QVERIFY2(output.contains("Not saved:\n  - the test record of asset Lamp, tested 10/01/2026\n"
                             "  - the rest of this download\n"),
             qPrintable(output.right(3000)));
    QVERIFY2(!output.contains("May not have been saved"), qPrintable(output.right(3000)));
    // Nothing is tried again on the connection that is gone.
    QVERIFY2(!output.contains("rolled back") && !output.contains("not granted"), qPrintable(output.right(3000)));
}

void TestImportTsqServerLoss::lostAfterTheCommitMayHaveSaved()
{
    MariaDbServer::ScopedDatabase database("loss at commit");
    QVERIFY(database.install());
    const ChildResult child = runChildScenario("downloadMeetsALoss", {database.name(), "commit"});
    const QString output = QString::fromUtf8(child.output);
    QVERIFY2(!child.crashed && child.exitCode == 0 && output.contains("went on\n"), qPrintable(output.right(3000)));
    QVERIFY2(output.contains(QRegularExpression("May not have been saved [^\n]*:\n  - the test record of asset Lamp, "
                                                "tested 10/01/2026\n\nNot saved:\n  - the rest of this download\n")),
             qPrintable(output.right(3000)));

    // The server had the commit: downloading the record again finds it stored.
    auto* db = new MySqlDatabase;
    QCOMPARE(db->open(MariaDbServer::settings(database.name())), 0);
    Database::setInstance(db);
    ImportTsq again;
    again.import(record("Lamp"));
    QCOMPARE(again.outcome, int(ImportAlreadyStored));
    QSqlQuery sets(db->connection());
    QVERIFY(sets.exec("SELECT COUNT(*) FROM ResultSet") && sets.next());
    QCOMPARE(sets.value(0).toInt(), 2);
}

PELVANE_TEST_MAIN(TestImportTsqServerLoss)
#include "TestImportTsqServerLoss.moc"
