// Imports 10,000 asset records of 20 results each into a SQLite file, one
// transaction per record as a download does, and compares the time taken
// with the time the same records need on the wire at 115,200 baud. The file
// keeps a rollback journal and every commit waits for the disk. Figures, not
// a verdict: a loaded machine takes longer, and each function may run for
// half an hour before QtTest gives it up.
//
// Then, on MariaDB, the round trips a record costs, from the server's general
// log, in four downloads of 300 records: new assets at 100 sites first met,
// new assets at those places again, the retests of the first ones, and
// retests in turn with new assets at new sites; and the statements a record
// sends in them.

#include "TsqRecordBuilder.h"

#include "database/MySqlDatabase.h"
#include "database/SqlQuery.h"
#include "database/StatementCache.h"
#include "support/MariaDbServer.h"
#include "database/SqliteDatabase.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"
#include "transfer/ImportTsq.h"

#include <QElapsedTimer>
#include <QtTest>
#include <cstdio>

using namespace TsqRecordBuilder;

namespace {

constexpr int recordCount = 10000;
constexpr int resultsPerRecord = 20;
constexpr double baud = 115200.0;
constexpr double bitsPerByte = 10.0; // start, 8 data, stop
[[maybe_unused]] const bool g_timeout = qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT")
                       || qputenv("QTEST_FUNCTION_TIMEOUT", QByteArray::number(30 * 60 * 1000));

QByteArray record(int i)
{
    Ux::TsqMedicalApplianceResult r = asset(QStringLiteral("Asset %1").arg(i), QStringLiteral("SN%1").arg(i));
    r.locationName = QStringLiteral("Ward %1").arg(i % 50);
    r.testDate = QDateTime(QDate(2026, 1, 1), QTime(8, 0)).addSecs(i * 60);
    std::vector<Element> results;
    for (int k = 0; k < resultsPerRecord; ++k) {
        switch (k % 4) {
        case 0: results.push_back(resistance(17, 0.1f + k * 0.01f, 0.5f)); break;
        case 1: results.push_back(resistance(32, 50.0f + k, 2.0f)); break;
        case 2: results.push_back(leakage(48, 100.0f + k, 500.0f, 1, 1, 0x21)); break;
        default: results.push_back(visual(1)); break;
        }
    }
    r.testResultsData = resultsData(results);
    return bytes(r);
}

// Asset i of a download over 100 sites, three a site.
QByteArray placed(const QString& tag, int i, int day)
{
    Ux::TsqMedicalApplianceResult r = asset(QStringLiteral("%1 %2").arg(tag).arg(i), QStringLiteral("SN%1").arg(i));
    r.siteName = QStringLiteral("Site %1").arg(i / 3);
    r.locationName = QStringLiteral("Ward %1").arg(i % 3);
    r.testDate = QDateTime(QDate(2026, 1, day), QTime(8, 0)).addSecs(i * 60);
    std::vector<Element> results;
    results.push_back(resistance(17, 0.1f, 0.5f));
    results.push_back(visual(1));
    r.testResultsData = resultsData(results);
    return bytes(r);
}

// The commands the import's connection sent the server, one a round trip,
// and in them the statements (no name here holds a ';').
double g_statements = 0;
double roundTrips(const QList<QByteArray>& records)
{
    QSqlQuery admin(QSqlDatabase::database(QStringLiteral("pelvane-test-admin")));
    QSqlQuery id(Database::instance()->connection());
    id.exec(QStringLiteral("SELECT CONNECTION_ID()"));
    id.next();
    admin.exec(QStringLiteral("SET GLOBAL log_output='TABLE'"));
    admin.exec(QStringLiteral("TRUNCATE TABLE mysql.general_log"));
    admin.exec(QStringLiteral("SET GLOBAL general_log=1"));
    {
        StatementCache statements(Database::instance()->connection());
        for (const QByteArray& data : records)
            ImportTsq().import(data);
    }
    admin.exec(QStringLiteral("SET GLOBAL general_log=0"));
    admin.exec(QStringLiteral("SELECT COUNT(*),SUM(LENGTH(argument)-LENGTH(REPLACE(argument,';',''))+1) "
                              "FROM mysql.general_log WHERE thread_id=%1")
                   .arg(id.value(0).toLongLong()));
    admin.next();
    g_statements = admin.value(1).toDouble() / double(records.size());
    return admin.value(0).toDouble() / double(records.size());
}

} // namespace

class BenchImportTsq : public QObject
{
    Q_OBJECT
private slots:
    void importTenThousandRecords();
    void roundTripsOnMariaDb();
};

void BenchImportTsq::importTenThousandRecords()
{
    SqliteDatabase* db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/bench.db");
    QVERIFY(db);
    QList<QByteArray> records;
    qint64 bytesOnWire = 0;
    for (int i = 0; i < recordCount; ++i) {
        records << record(i);
        bytesOnWire += records.last().size();
    }
    ImportTsq::resetTransfer();
    QElapsedTimer timer;
    timer.start();
    for (const QByteArray& data : std::as_const(records)) {
        ImportTsq import;
        import.import(data);
        QCOMPARE(import.outcome, 1);
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double wireSeconds = bytesOnWire * bitsPerByte / baud;
    const double ratio = seconds / wireSeconds;
    std::printf("Imported %d records (%lld bytes) in %.2f s: %.0f records per second\n", recordCount,
                static_cast<long long>(bytesOnWire), seconds, recordCount / seconds);
    std::printf("Time on the wire at 115200 baud: %.1f s; import / wire ratio %.4f, with a rollback journal and "
                "full synchronous commits (one per record)\n",
                wireSeconds, ratio);
    Database::setInstance(nullptr);
}

void BenchImportTsq::roundTripsOnMariaDb()
{
    PELVANE_REQUIRE_MARIADB();
    MariaDbServer::ScopedDatabase database(QStringLiteral("bench round trips"));
    QVERIFY(database.install());
    QList<QByteArray> first, more, retests, mixed;
    for (int i = 0; i < 300; ++i) {
        first << placed(QStringLiteral("First"), i, 1);
        more << placed(QStringLiteral("More"), i, 1);
        retests << placed(QStringLiteral("First"), i, 2);
        mixed << (i % 2 ? placed(QStringLiteral("Mixed"), i + 300, 1) : placed(QStringLiteral("First"), i, 3));
    }
    // In this order: each download finds what the one before stored.
    std::printf("Round trips (statements) a record on MariaDB:");
    for (const auto& [what, records] : {std::pair{"new assets at 100 new sites", first},
                                        {"new assets at known places", more}, {"retests", retests},
                                        {"retests and new assets at new sites in turn", mixed}}) {
        const double trips = roundTrips(records);
        std::printf(" %s %.2f (%.2f);", what, trips, g_statements);
    }
    std::printf("\n");
}

PELVANE_TEST_MAIN(BenchImportTsq)
#include "BenchImportTsq.moc"
