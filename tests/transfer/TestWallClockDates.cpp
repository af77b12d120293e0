#include "SqlRows.h"
#include "TsqRecordBuilder.h"

#include "core/DateFormat.h"
#include "database/ImportDatabaseThread.h"
#include "database/ImportOptions.h"
#include "database/SqliteDatabase.h"
#include "support/DialogAnswerer.h"
#include "support/LegacyStandIn.h"
#include "support/MariaDbServer.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"
#include "transfer/ImportTsq.h"

#include <QDialog>
#include <QtTest>
#include <ctime>

using namespace SqlRows;
using namespace TsqRecordBuilder;

namespace {

// Qt asks the C library for local time, which reads TZ afresh after tzset.
void useZone(const QByteArray& zone)
{
    if (zone.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", zone);
    tzset();
}

QString stored(const QDate& date, const QTime& time)
{
    return date.toString(QStringLiteral("yyyy-MM-dd ")) + time.toString(QStringLiteral("HH:mm:ss"));
}

// The first version's own date form: "dd/MM/yyyy hh:mm:ss AM".
QString legacyText(const QDate& date, const QTime& time)
{
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return date.toString(QStringLiteral("dd/MM/yyyy ")) + QStringLiteral("%1").arg(hour12, 2, 10, QLatin1Char('0'))
           + time.toString(QStringLiteral(":mm:ss ")) + (time.hour() < 12 ? "AM" : "PM");
}

// A value as the driver hands it over, not as text.
QVariant storedValue(const QString& statement)
{
    SqlQuery query;
    query.exec(statement);
    return query.next() ? query.value(0) : QVariant();
}

} // namespace

// Instruments and the first version write the time on the clock on the wall:
// a time the clocks skipped when daylight saving began is still a time a
// test ran, and two runs in that hour are two result sets.
class TestWallClockDates : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_zone = qgetenv("TZ"); }
    void cleanup()
    {
        Database::setInstance(nullptr);
        useZone(m_zone.isEmpty() ? QByteArray() : m_zone);
    }

    void timesInADaylightSavingGapAreKeptAsWritten_data();
    void timesInADaylightSavingGapAreKeptAsWritten();
    void timesInADaylightSavingGapAreKeptOnMariaDb_data() { timesInADaylightSavingGapAreKeptAsWritten_data(); }
    void timesInADaylightSavingGapAreKeptOnMariaDb();

private:
    QByteArray m_zone;
};

void TestWallClockDates::timesInADaylightSavingGapAreKeptAsWritten_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QDate>("gapDay");
    QTest::addColumn<QTime>("first");
    QTest::addColumn<QTime>("second");
    // The day before the gap one year earlier: a yearly retest lands in the gap.
    QTest::addColumn<QDate>("yearBefore");
    QTest::newRow("London") << QByteArray("Europe/London") << QDate(2009, 3, 29) << QTime(1, 15) << QTime(1, 45)
                            << QDate(2008, 3, 29);
    QTest::newRow("New York") << QByteArray("America/New_York") << QDate(2009, 3, 8) << QTime(2, 15)
                              << QTime(2, 45, 30) << QDate(2008, 3, 8);
}

void TestWallClockDates::timesInADaylightSavingGapAreKeptAsWritten()
{
    QFETCH(QByteArray, zone);
    QFETCH(QDate, gapDay);
    QFETCH(QTime, first);
    QFETCH(QTime, second);
    QFETCH(QDate, yearBefore);
    useZone(zone);
    // The zone is in force: the local clock skips the hour.
    QVERIFY(!QDateTime(gapDay, first).isValid() || QDateTime(gapDay, first).time() != first);

    // A stored gap time reads back as written, and a retest period counts from it.
    const QDateTime read = dateTimeFromVariant(stored(gapDay, first));
    QCOMPARE(Database::dateTimeValue(read).toString(), stored(gapDay, first));
    QCOMPARE(Database::dateTimeValue(Database::addMonths(dateTimeFromVariant(stored(yearBefore, first)), 12)).toString(),
             stored(gapDay, first));

    // The first-version import: two runs that night, and a user test of the first.
    QVERIFY(SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + QStringLiteral("/target.db")));
    {
        LegacyStandIn legacy(TestEnvironment::instance()->newFolder() + QStringLiteral("/v1.db"));
        legacy.insert(QStringLiteral("Assetdetails"),
                      {QStringLiteral("PUMP-01"), QStringLiteral("Pump"), QStringLiteral("Acme"), QStringLiteral("North"),
                       QStringLiteral("Ward 1"), QStringLiteral("Infusa"), QStringLiteral("P1"), QStringLiteral("SN1"),
                       QStringLiteral("SC-1"), 12, QStringLiteral("Active"), QString(), QStringLiteral("alice")});
        for (const QTime& time : {first, second}) {
            legacy.insert(QStringLiteral("TblTestResults"),
                          {QStringLiteral("PUMP-01"), legacyText(gapDay, time), QStringLiteral("Load Current"),
                           QStringLiteral("Normal"), QString(), QString(), QString(),
                           QString::number(time.minute()), QStringLiteral("A"), QStringLiteral("Passed"), QString(),
                           QStringLiteral("TaviskQ1"), QStringLiteral("Q1-1"), QString(), QString(), QString()});
        }
        legacy.insert(QStringLiteral("TblUserResult"),
                      {QStringLiteral("PUMP-01"), QStringLiteral("Check alarms"), legacyText(gapDay, first),
                       QStringLiteral("1"), QString(), QStringLiteral("Passed")});
        ImportOptions options;
        options.legacyDatabase = &legacy;
        options.targetDatabase = Database::instance();
        options.importAssets = true;
        options.importResults = true;
        DialogAnswerer answerer;
        ImportDatabaseThread thread(&options, nullptr);
        QCOMPARE(thread.exec(), int(QDialog::Accepted));
        QCOMPARE(answerer.count(), 0);
    }
    QCOMPARE(rows("SELECT rs.Date,COUNT(r.Id),MAX(r.Result) FROM ResultSet rs JOIN Result r ON r.ResultSetId=rs.Id "
                  "GROUP BY rs.Id ORDER BY rs.Date"),
             (QStringList{stored(gapDay, first) + QStringLiteral("|2|15"),
                          stored(gapDay, second) + QStringLiteral("|1|") + QString::number(second.minute())}));
    QCOMPARE(row("SELECT RetestDate FROM Asset"), stored(gapDay.addYears(1), second));

    // A download: the same two runs from an instrument's clock, and a set of
    // the year before whose yearly retest falls in the gap.
    QVERIFY(SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + QStringLiteral("/download.db")));
    ImportTsq::resetTransfer();
    for (const QDateTime& date : {wallClockDateTime(yearBefore, first), wallClockDateTime(gapDay, first),
                                  wallClockDateTime(gapDay, second)}) {
        Ux::TsqMedicalApplianceResult record = asset(QStringLiteral("Pump"), QStringLiteral("SN-1"));
        record.testDate = date;
        std::vector<Element> results;
        results.push_back(resistance(17, float(date.time().minute()) / 100.0f, 0.5f));
        record.testResultsData = resultsData(results);
        ImportTsq import;
        import.import(bytes(record));
        QCOMPARE(import.outcome, 1);
        if (date.date() == yearBefore)
            QCOMPARE(row("SELECT RetestDate FROM Asset"), stored(gapDay, first));
    }
    QCOMPARE(rows("SELECT Date FROM ResultSet ORDER BY Date"),
             (QStringList{stored(yearBefore, first), stored(gapDay, first), stored(gapDay, second)}));
    QCOMPARE(row("SELECT RetestDate FROM Asset"), stored(gapDay.addYears(1), second));
}

// A server hands dates back as the driver's local times; one in a gap must
// still read as written.
void TestWallClockDates::timesInADaylightSavingGapAreKeptOnMariaDb()
{
    PELVANE_REQUIRE_MARIADB();
    QFETCH(QByteArray, zone);
    QFETCH(QDate, gapDay);
    QFETCH(QTime, first);
    QFETCH(QDate, yearBefore);
    useZone(zone);
    MariaDbServer::ScopedDatabase database("wall clock");
    QVERIFY(database.install());
    Database* db = Database::instance();
    const int location = db->findOrInsertLocation(db->findOrInsertSite(db->findOrInsertClient("C"), "S"), "L");
    const int asset = db->insertAsset("Pump", "", "", "SN", location, db->findOrInsertEquipment("M", "M", "E", 1), 12);
    db->insertResultSet(QVariant(), asset, wallClockDateTime(yearBefore, first), 2, 2, 1, "t", "");
    QCOMPARE(Database::dateTimeValue(dateTimeFromVariant(storedValue("SELECT RetestDate FROM Asset"))).toString(),
             stored(gapDay, first));
    db->insertResultSet(QVariant(), asset, wallClockDateTime(gapDay, first), 2, 2, 1, "t", "");
    QCOMPARE(Database::dateTimeValue(dateTimeFromVariant(storedValue("SELECT MAX(Date) FROM ResultSet"))).toString(),
             stored(gapDay, first));
    QCOMPARE(Database::dateTimeValue(dateTimeFromVariant(storedValue("SELECT RetestDate FROM Asset"))).toString(),
             stored(gapDay.addYears(1), first));
}

PELVANE_TEST_MAIN(TestWallClockDates)
#include "TestWallClockDates.moc"
