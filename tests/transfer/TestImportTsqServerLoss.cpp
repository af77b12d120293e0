// A download whose MySQL server goes away: before a record, or after the
// record's commit has reached the server and before its answer came back.

#include "InstrumentRecords.h"

#include "database/DatabaseTransaction.h"
#include "database/MySqlDatabase.h"
#include "database/MySqlRowStream.h"
#include "database/PendingWrite.h"
#include "database/SqlQuery.h"
#include "database/StatementBatch.h"
#include "database/StatementCache.h"
#include "support/MariaDbServer.h"
#include "support/ServerRelay.h"
#include "support/TestEnvironment.h"
#include "transfer/ImportOutcome.h"
#include "transfer/ImportTsq.h"

#include <QSqlQuery>
#include <QtTest>
#include <cstdio>
#include <mysql.h>
#include <poll.h>

namespace {

QByteArray record(const char* name)
{
    return InstrumentRecords::asset(name, QDateTime(QDate(2026, 1, 10), QTime(9, 30)), 1, {{1, 0.10f}});
}

// Downloads Monitor, then cuts the connection (at once, or as Lamp's commit
// passes, or between Lamp's sends) and downloads Lamp. Arguments: database, "before", "commit" or "between".
PELVANE_CHILD_SCENARIO(downloadMeetsALoss)
{
    QString why;
    ServerRelay relay;
    auto* db = new MySqlDatabase;
    if (!MariaDbServer::reachable(&why) || db->open(ServerRelay::settings(args.value(0))) != 0)
        return 3;
    Database::setInstance(db);
    {
        StatementCache statements(db->connection());
        PendingWrite rest(QStringLiteral("the rest of this download"));
        ImportTsq().import(record("Monitor"));
        if (args.value(1) == QLatin1String("between")) { // cut after its first answer: its commit meets a closed line
            PendingWrite lamp(QStringLiteral("the test record of asset Lamp, tested 10/01/2026"));
            (void)DatabaseTransaction::run([&](DatabaseTransaction& transaction, StatementBatch& batch) {
                SqlQuery(db->connection()).exec(QStringLiteral("SELECT COUNT(*) FROM Asset"));
                relay.cut();
                pollfd link{int(mysql_get_socket(MySqlRowStream::handleOf(db->connection().driver()))), POLLRDHUP, 0};
                ::poll(&link, 1, 10000);
                SqlQuery insert(db->connection());
                insert.prepareAsMySqlText(QStringLiteral("INSERT INTO Client (Name) VALUES ('Lamp')"));
                batch.add(insert);
                transaction.commit(batch);
            });
        } else {
            args.value(1) == QLatin1String("commit") ? relay.cutAfter("COMMIT") : relay.cut();
            ImportTsq().import(record("Lamp"));
        }
    }
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
    void lossIsToldAndNothingTriedAgain_data();
    void lossIsToldAndNothingTriedAgain();
};

void TestImportTsqServerLoss::lossIsToldAndNothingTriedAgain_data()
{
    QTest::addColumn<QString>("cut");
    QTest::addColumn<QString>("told");
    QTest::addColumn<int>("again"); // the outcome of downloading Lamp again
    const QString lamp = "  - the test record of asset Lamp, tested 10/01/2026\n";
    const QString rest = "  - the rest of this download\n";
    QTest::newRow("before the record") << "before" << "\n\nNot saved:\n" + lamp + rest << 1;
    QTest::newRow("before its commit") << "between" << "\n\nNot saved:\n" + lamp + rest << 1; // commit sent on a closed line
    // The server had the commit: downloading the record again finds it stored.
    QTest::newRow("after its commit") << "commit" << " stored):\n" + lamp + "\nNot saved:\n" + rest
                                      << int(ImportAlreadyStored);
}

void TestImportTsqServerLoss::lossIsToldAndNothingTriedAgain()
{
    QFETCH(QString, cut);
    QFETCH(QString, told);
    QFETCH(int, again);
    MariaDbServer::ScopedDatabase database("loss " + cut);
    QVERIFY(database.install());
    const ChildResult child = runChildScenario("downloadMeetsALoss", {database.name(), cut});
    const QString output = QString::fromUtf8(child.output);
    QVERIFY2(!child.crashed && child.exitCode == 0 && output.contains("went on\n"), qPrintable(output.right(3000)));
    QVERIFY2(output.contains("was lost.") && output.contains(told), qPrintable(output.right(3000)));
    // Nothing is tried again on the connection that is gone.
    QVERIFY2(!output.contains("rolled back") && !output.contains("not granted"), qPrintable(output.right(3000)));

    auto* db = new MySqlDatabase;
    QCOMPARE(db->open(MariaDbServer::settings(database.name())), 0);
    Database::setInstance(db);
    ImportTsq download;
    download.import(record("Lamp"));
    QCOMPARE(download.outcome, again);
    QSqlQuery sets(db->connection());
    QVERIFY(sets.exec("SELECT COUNT(*) FROM ResultSet") && sets.next());
    QCOMPARE(sets.value(0).toInt(), 2);
}

PELVANE_TEST_MAIN(TestImportTsqServerLoss)
#include "TestImportTsqServerLoss.moc"
