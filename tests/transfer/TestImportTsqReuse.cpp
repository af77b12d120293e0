#include "InstrumentRecords.h"
#include "SqlRows.h"
#include "database/ExportDatabase.h"
#include "database/MySqlDatabase.h"
#include "database/SqliteDatabase.h"
#include "database/StatementCache.h"
#include "database/WriteLock.h"
#include "results/AlertThresholds.h"
#include "support/MariaDbServer.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"
#include "transfer/ImportOutcome.h"
#include "transfer/ImportTsq.h"

#include <QSqlQuery>
#include <QtTest>

using namespace InstrumentRecords;

namespace {

QList<EarthBond> bonds(int count, float from)
{
    QList<EarthBond> out;
    for (int i = 0; i < count; ++i)
        out.append({quint8(i % 7 == 3 ? 2 : 1), from + 0.001f * float(i)});
    return out;
}

// A transfer that walks every path of the import: new and known assets, a
// repeated record, an alert, a record without results, more results than
// one statement takes, a global sequence and a record dated before the
// asset's latest set.
QList<QByteArray> transfer()
{
    const QDateTime t0(QDate(2026, 2, 3), QTime(9, 15, 0));
    return {header(7),
            asset("Pump", t0, 1, bonds(3, 0.10f), "P-1"),
            asset("Pump", t0, 1, bonds(3, 0.10f), "P-1"),
            asset("Pump", t0.addDays(1), 1, bonds(3, 0.30f), "P-1"),
            asset("Monitor 'ICU'", t0, 2, bonds(230, 0.05f), "M\\1"),
            asset("Lamp", t0, 1, {}, "L-1"),
            sequence("Class I", 1, QByteArray("\x00\x01'\\\xff", 5)),
            asset("Pump", t0.addDays(-3), 1, bonds(3, 0.12f), "P-1"),
            end()};
}

// A record of a new asset at the given place; equipment by model and class.
QByteArray placed(const QString& name, const QString& client, const QString& site, const QString& location,
                  const QString& model = QStringLiteral("P200"), quint8 equipmentClass = 1)
{
    Ux::TsqMedicalApplianceResult r = TsqRecordBuilder::asset(name, QStringLiteral("SN-") + name);
    r.clientName = client;
    r.siteName = site;
    r.locationName = location;
    r.model = model;
    r.serialNo = QStringLiteral("SN-1");
    r.equipmentClass = equipmentClass;
    return TsqRecordBuilder::bytes(r);
}

// Places whose keys come close: names that differ only in case or in
// surrounding spaces, one site name under two clients, one location name
// under two sites, equipment that differs only in model case or class. Each
// key comes back later, so that a download that remembers ids answers it
// from memory.
QList<QByteArray> placesTransfer()
{
    return {header(12),
            placed("A1", "Harbour Hospital", "East Wing", "Ward 7"),
            placed("A2", "harbour hospital", "East Wing", "Ward 7"),
            placed("A3", " Harbour Hospital  ", "West Wing", "Ward 7"),
            placed("A4", "Bay Clinic", "East Wing", "Ward 7", "p200"),
            placed("A5", "Bay Clinic", "East Wing", "ward 7", "P200", 2),
            placed("A6", "Harbour Hospital", "East Wing", "Ward 7 ", "P200", 2),
            placed("A7", "harbour hospital", "East Wing", "Ward 7", "p200"),
            placed("A8", "Bay Clinic", "West Wing", "Ward 7"),
            placed("A9", "Harbour Hospital", "West Wing", "ward 7"),
            placed("A10", "Bay Clinic", "East Wing", "ward 7", "P200", 2),
            placed("A11", "Harbour Hospital", "East Wing", "Ward 7", "p200"),
            placed("A12", "harbour hospital", "East Wing", "Ward 7"),
            end()};
}

// Imports the records as a download does, with or without its kept
// statements; returns the outcomes.
QList<int> importAll(const QList<QByteArray>& records, bool keep)
{
    std::optional<StatementCache> cache;
    if (keep)
        cache.emplace(Database::instance()->connection());
    ImportTsq::resetTransfer();
    QList<int> outcomes;
    for (const QByteArray& data : records) {
        ImportTsq import;
        import.import(data);
        outcomes << import.outcome;
    }
    return outcomes;
}

QStringList everyRow()
{
    QStringList all;
    for (const QString& table : ExportDatabase::tableOrder)
        all << table + ":" << SqlRows::rows(QStringLiteral("SELECT * FROM %1 ORDER BY Id").arg(table));
    return all;
}

// Rows of table in everyRow()'s list.
int tableSize(const QStringList& all, const QString& table)
{
    const int start = int(all.indexOf(table + ":"));
    if (start < 0)
        return -1;
    int end = start + 1;
    while (end < all.size()
           && !(all.at(end).endsWith(':') && ExportDatabase::tableOrder.contains(all.at(end).chopped(1))))
        ++end;
    return end - start - 1;
}

// What an asset record of a retest brings, first as the asset was stored a
// year before: two applied parts, a test sequence, results that drifted.
Ux::TsqMedicalApplianceResult retestRecord(const QDateTime& tested, float ohms)
{
    Ux::TsqMedicalApplianceResult r = TsqRecordBuilder::asset(QStringLiteral("Infusion pump"), QStringLiteral("IP-7"));
    r.overallResult = 1;
    r.testDate = tested;
    r.retestPeriod = 12;
    r.clientName = QStringLiteral("Harbour Hospital");
    r.siteName = QStringLiteral("East Wing");
    r.locationName = QStringLiteral("Ward 7");
    r.applianceDescription = QStringLiteral("Volumetric pump");
    r.serviceCode = QStringLiteral("SC-1");
    r.appliedParts[0] = {2, 2, QStringLiteral("ECG")};
    r.appliedParts[1] = {1, 3, QStringLiteral("SpO2 ")};
    r.testSequenceName = QStringLiteral("Routine");
    r.testSequenceData = QByteArray("\x02\x01\x00\xff", 4);
    std::vector<TsqRecordBuilder::Element> elements;
    elements.push_back(TsqRecordBuilder::resistance(17, ohms, 0.2f, 1));
    r.testResultsData = TsqRecordBuilder::resultsData(elements);
    return r;
}

// The rows the record's applied parts and test sequence are stored as.
QStringList partsOf(const Ux::TsqMedicalApplianceResult& r)
{
    QStringList rows;
    for (int i = 0; i < Ux::TsqMedicalApplianceResult::AppliedPartSlots && r.appliedParts[i].numConnections; ++i)
        rows << QStringLiteral("%1|%2|%3|%4")
                    .arg(r.appliedParts[i].name)
                    .arg(r.appliedParts[i].appliedPartClass)
                    .arg(i)
                    .arg(r.appliedParts[i].numConnections);
    return rows;
}

} // namespace

// A download prepares its statements once and runs them for every record;
// the rows must be those that statements prepared afresh write.
class TestImportTsqReuse : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        for (double& value : AlertThresholds::values)
            value = 0;
        AlertThresholds::values[AlertThresholds::ResistanceAbsolute] = 0.05;
    }
    void cleanup() { Database::setInstance(nullptr); }
    void sqliteWritesTheSameRows();
    void mariaDbWritesTheSameRowsAndPreparesOnce();
    void sqliteKeepsPlacesApart();
    void mariaDbKeepsPlacesApartAndAsksOnce();
    void mariaDbRetestGoesInTwoRoundTrips();
    void sqliteRetestRewritesOnlyWhatChanged_data() { retestChanges(); }
    void sqliteRetestRewritesOnlyWhatChanged();
    void mariaDbRetestRewritesOnlyWhatChanged_data() { retestChanges(); }
    void mariaDbRetestRewritesOnlyWhatChanged();
    void placesDeletedElsewhereAreFoundAgain_data();
    void placesDeletedElsewhereAreFoundAgain();

private:
    static void retestChanges();
    static void checkRetest();
    QStringList sqliteRows(bool keep, QList<int>* outcomes, const QList<QByteArray>& records = transfer());
    QStringList mariaDbRows(const QString& name, bool keep, QList<int>* outcomes, int* preparesForMore,
                            const QList<QByteArray>& records = transfer(), int* lookupsForMore = nullptr);
};

QStringList TestImportTsqReuse::sqliteRows(bool keep, QList<int>* outcomes, const QList<QByteArray>& records)
{
    if (!SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/reuse.db"))
        return {};
    *outcomes = importAll(records, keep);
    return everyRow();
}

void TestImportTsqReuse::sqliteKeepsPlacesApart()
{
    QList<int> fresh, kept;
    const QStringList expected = sqliteRows(false, &fresh, placesTransfer());
    // SQLite compares names exactly: case makes another client, site,
    // location or model; surrounding spaces do not.
    QCOMPARE(SqlRows::counts("Client,Site,Location,Equipment,Asset"), QString("3 5 7 3 12"));
    const QStringList rows = sqliteRows(true, &kept, placesTransfer());
    QCOMPARE(kept, fresh);
    QCOMPARE(rows, expected);
}

void TestImportTsqReuse::mariaDbKeepsPlacesApartAndAsksOnce()
{
    PELVANE_REQUIRE_MARIADB();
    MariaDbServer::ScopedDatabase freshNameDatabase("places fresh");
    const QString& freshName = freshNameDatabase.name();
    MariaDbServer::ScopedDatabase keptNameDatabase("places kept");
    const QString& keptName = keptNameDatabase.name();
    QList<int> fresh, kept;
    int prepares = 0, freshLookups = 0, keptLookups = 0;
    const QStringList expected = mariaDbRows(freshName, false, &fresh, &prepares, placesTransfer(), &freshLookups);
    // The server compares names without case.
    QCOMPARE(tableSize(expected, "Client"), 2);
    QCOMPARE(tableSize(expected, "Site"), 4);
    QCOMPARE(tableSize(expected, "Location"), 4);
    QCOMPARE(tableSize(expected, "Equipment"), 2);
    QCOMPARE(tableSize(expected, "Asset"), 12);
    const QStringList rows = mariaDbRows(keptName, true, &kept, &prepares, placesTransfer(), &keptLookups);
    QCOMPARE(kept, fresh);
    QCOMPARE(rows, expected);
    // The further records' client, site and location were all seen before:
    // with the ids remembered, those three lookups of each of the three
    // records run no statement, and the equipment's lookup also checks that the ids name
    // rows; the new asset's id, which its insert left on the server, is
    // read with the commit.
    QCOMPARE(freshLookups - keptLookups, 3 * 3 - 3);
}

void TestImportTsqReuse::sqliteWritesTheSameRows()
{
    QList<int> fresh, kept;
    const QStringList expected = sqliteRows(false, &fresh);
    QCOMPARE(SqlRows::counts("Asset,AppliedPart,TestSequence,ResultSet,Result,GlobalTestSequence"),
             QString("3 3 3 4 239 1"));
    QCOMPARE(fresh, QList<int>({-1, 1, 6, 5, 2, -1, -1, 5, -1}));
    const QStringList rows = sqliteRows(true, &kept);
    QCOMPARE(kept, fresh);
    QCOMPARE(rows, expected);
}

QStringList TestImportTsqReuse::mariaDbRows(const QString& name, bool keep, QList<int>* outcomes,
                                            int* preparesForMore, const QList<QByteArray>& records,
                                            int* lookupsForMore)
{
    if (!MariaDbServer::installNew(name))
        return {};
    auto* db = static_cast<MySqlDatabase*>(Database::instance());
    *outcomes = importAll(records, keep);
    const QStringList rows = everyRow();

    // More records of the same shape: with the statements kept, the server
    // prepares nothing for them.
    auto counter = [db](const char* name) {
        QSqlQuery status(db->connection());
        status.exec(QString("SHOW SESSION STATUS LIKE '%1'").arg(name));
        return status.next() ? status.value(1).toInt() : -1;
    };
    auto prepared = [&] { return counter("Com_stmt_prepare"); };
    std::optional<StatementCache> cache;
    if (keep)
        cache.emplace(db->connection());
    const QDateTime t0(QDate(2026, 5, 1), QTime(8, 0, 0));
    for (int round = 0; round < 2; ++round) {
        const int before = prepared();
        // Kept statements run as text, prepared ones are executed: the
        // server counts the SELECTs of both.
        const int lookupsBefore = counter("Com_select");
        for (int i = 0; i < 3; ++i) {
            ImportTsq import;
            import.import(asset(QString("More %1 %2").arg(round).arg(i), t0.addSecs(i), 1, bonds(3, 0.1f), "X"));
        }
        *preparesForMore = prepared() - before;
        if (lookupsForMore)
            *lookupsForMore = counter("Com_select") - lookupsBefore;
    }
    return rows;
}

void TestImportTsqReuse::mariaDbWritesTheSameRowsAndPreparesOnce()
{
    PELVANE_REQUIRE_MARIADB();
    MariaDbServer::ScopedDatabase freshNameDatabase("reuse fresh");
    const QString& freshName = freshNameDatabase.name();
    MariaDbServer::ScopedDatabase keptNameDatabase("reuse kept");
    const QString& keptName = keptNameDatabase.name();
    QList<int> fresh, kept;
    int freshPrepares = 0, keptPrepares = -1;
    const QStringList expected = mariaDbRows(freshName, false, &fresh, &freshPrepares);
    QCOMPARE(fresh, QList<int>({-1, 1, 6, 5, 2, -1, -1, 5, -1}));
    QVERIFY(expected.contains("Result:"));
    QVERIFY(freshPrepares > 3 * 10);

    const QStringList rows = mariaDbRows(keptName, true, &kept, &keptPrepares);
    QCOMPARE(kept, fresh);
    QCOMPARE(rows, expected);
    QCOMPARE(keptPrepares, 0);
}

// The commonest record of all: an asset already stored, tested again a year
// on at the same place, its results drifted. Its transaction's start with
// the write lock, its commit with the lock's release, the lookups and the
// writes all travel with statements whose answers the record needs: the
// asset, its rows, its stored sets and its latest set's results; the
// commit, the new set's id left on the server for its results. The new set
// goes in already marked.
void TestImportTsqReuse::mariaDbRetestGoesInTwoRoundTrips()
{
    PELVANE_REQUIRE_MARIADB();
    MariaDbServer::ScopedDatabase database("retest trips");
    QVERIFY(database.install());
    const QSqlDatabase connection = Database::instance()->connection();
    const QDateTime t0(QDate(2026, 2, 3), QTime(9, 15, 0));
    StatementCache cache(connection);
    ImportTsq::resetTransfer();
    for (const QByteArray& data : {header(2), asset("Pump", t0, 1, bonds(3, 0.10f), "P-1")}) {
        ImportTsq import;
        import.import(data);
    }
    QSqlQuery probe(connection);
    QVERIFY(probe.exec("SELECT CONNECTION_ID()") && probe.next());
    const qint64 thread = probe.value(0).toLongLong();
    QVERIFY(MariaDbServer::exec("SET GLOBAL log_output='TABLE'"));
    QVERIFY(MariaDbServer::exec("SET GLOBAL general_log=1"));
    const QStringList begin = WriteLock::mySqlAssetBegin( // its places are all there: a share, and its name's lock
        "Pump", Database::instance()->placesKnown("Harbour Hospital", "East Wing", "Ward 7", "Medimake", "M-Pump", "P-1", 1));
    ImportTsq retest;
    retest.import(asset("Pump", t0.addYears(1), 1, bonds(3, 0.30f), "P-1"));
    QVERIFY(MariaDbServer::exec("SET GLOBAL general_log=0"));
    QCOMPARE(retest.outcome, int(ImportAlert));

    QVERIFY(probe.exec(QString("SELECT command_type,argument FROM mysql.general_log WHERE thread_id=%1").arg(thread)));
    QStringList trips;
    while (probe.next())
        trips << probe.value(0).toString() + ": " + probe.value(1).toString();
    QVERIFY2(trips.size() == 2, qPrintable(trips.join('\n')));
    // The write lock is taken before the first read and held to the commit.
    QVERIFY2(trips.first().startsWith("Query: " + begin.join(';') + ';'), qPrintable(trips.first()));
    QVERIFY2(trips.last().endsWith(";COMMIT;" + WriteLock::mySqlRelease("Pump")), qPrintable(trips.last()));
    QCOMPARE(SqlRows::rows("SELECT OverallResult FROM ResultSet ORDER BY Id"), QStringList({"1", "5"}));
    QCOMPARE(SqlRows::rows("SELECT ResultSetId,Status FROM Result ORDER BY Id"),
             QStringList({"1|1", "1|1", "1|1", "2|5", "2|5", "2|5"}));
    QCOMPARE(SqlRows::rows("SELECT LatestResultSetId,RetestDate FROM Asset"),
             QStringList({"2|" + t0.addYears(2).toString("yyyy-MM-ddTHH:mm:ss.zzz")}));
}

// A retest that brings what the asset already has keeps its applied parts
// and test sequence as they are, ids and all; anything the insert would
// store otherwise, down to a letter's case or a trailing space that a
// server's comparison ignores, replaces them as a first import does.
void TestImportTsqReuse::retestChanges()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("partsKept");
    QTest::addColumn<bool>("sequenceKept");
    QTest::newRow("nothing") << "nothing" << true << true;
    QTest::newRow("part name's case") << "part name's case" << false << true;
    QTest::newRow("part name's trailing space") << "part name's trailing space" << false << true;
    QTest::newRow("part class") << "part class" << false << true;
    QTest::newRow("part added") << "part added" << false << true;
    QTest::newRow("part removed") << "part removed" << false << true;
    QTest::newRow("no parts") << "no parts" << false << true;
    QTest::newRow("parts stored in another order") << "parts stored in another order" << true << true;
    QTest::newRow("sequence byte") << "sequence byte" << true << false;
    QTest::newRow("sequence name's case") << "sequence name's case" << true << false;
    QTest::newRow("description's case") << "description's case" << true << true;
    QTest::newRow("other location") << "other location" << true << true;
    QTest::newRow("asset recycled") << "asset recycled" << true << true;
}

void TestImportTsqReuse::checkRetest()
{
    QFETCH(QString, change);
    QFETCH(bool, partsKept);
    QFETCH(bool, sequenceKept);
    const QDateTime t0(QDate(2026, 2, 3), QTime(9, 15, 0));
    Ux::TsqMedicalApplianceResult first = retestRecord(t0, 0.10f);
    // Rows of a second asset come after the first's, so that a row stored
    // again cannot take its old id (SQLite gives the highest id plus one).
    Ux::TsqMedicalApplianceResult other = retestRecord(t0, 0.10f);
    other.applianceName = QStringLiteral("Other pump");
    other.testResultsData.clear();
    importAll({header(2), TsqRecordBuilder::bytes(first), TsqRecordBuilder::bytes(other)}, true);
    if (change == "parts stored in another order") {
        const QStringList parts = SqlRows::rows(
            "SELECT Name,ConnectionClass,Connection,NumConnections FROM AppliedPart WHERE AssetId=1 ORDER BY Connection");
        SqlRows::exec("DELETE FROM AppliedPart WHERE AssetId=?", {1});
        for (qsizetype i = parts.size() - 1; i >= 0; --i) {
            const QStringList part = parts.at(i).split('|');
            SqlRows::exec("INSERT INTO AppliedPart (AssetId,Name,ConnectionClass,Connection,NumConnections) "
                          "VALUES (?,?,?,?,?)",
                          {1, part.at(0), part.at(1).toInt(), part.at(2).toInt(), part.at(3).toInt()});
        }
    }
    const QStringList partIds = SqlRows::rows("SELECT Id FROM AppliedPart WHERE AssetId=1 ORDER BY Connection");
    const QString sequenceId = SqlRows::row("SELECT Id FROM TestSequence WHERE AssetId=1");
    QCOMPARE(partIds.size(), 2);

    Ux::TsqMedicalApplianceResult retest = retestRecord(t0.addYears(1), 0.30f);
    if (change == "part name's case")
        retest.appliedParts[1].name = QStringLiteral("SPO2 ");
    else if (change == "part name's trailing space")
        retest.appliedParts[1].name = QStringLiteral("SpO2");
    else if (change == "part class")
        retest.appliedParts[0].appliedPartClass = 1;
    else if (change == "part added")
        retest.appliedParts[2] = {1, 2, QStringLiteral("Temp")};
    else if (change == "part removed")
        retest.appliedParts[1].numConnections = 0;
    else if (change == "no parts")
        retest.appliedParts[0].numConnections = 0;
    else if (change == "sequence byte")
        retest.testSequenceData[3] = '\xfe';
    else if (change == "sequence name's case")
        retest.testSequenceName = QStringLiteral("ROUTINE");
    else if (change == "description's case")
        retest.applianceDescription = QStringLiteral("Volumetric Pump");
    else if (change == "other location")
        retest.locationName = QStringLiteral("Ward 8");
    else if (change == "asset recycled")
        Database::instance()->recycleAssets({1});
    const QList<int> outcomes = importAll({TsqRecordBuilder::bytes(retest)}, true);
    QCOMPARE(outcomes, QList<int>({int(ImportAlert)}));

    QCOMPARE(SqlRows::rows("SELECT Name,ConnectionClass,Connection,NumConnections FROM AppliedPart WHERE AssetId=1 "
                           "ORDER BY Connection"),
             partsOf(retest));
    const QStringList partIdsAfter = SqlRows::rows("SELECT Id FROM AppliedPart WHERE AssetId=1 ORDER BY Connection");
    if (partsKept)
        QCOMPARE(partIdsAfter, partIds);
    else
        for (const QString& id : partIds)
            QVERIFY2(!partIdsAfter.contains(id), qPrintable(partIdsAfter.join(',')));
    QCOMPARE(SqlRows::rows("SELECT Name,HEX(Data) FROM TestSequence WHERE AssetId=1"),
             QStringList(retest.testSequenceName + "|" + retest.testSequenceData.toHex().toUpper()));
    QCOMPARE(SqlRows::row("SELECT Id FROM TestSequence WHERE AssetId=1") == sequenceId, sequenceKept);
    QCOMPARE(SqlRows::rows("SELECT a.Description,a.ServiceCode,l.Name,a.RetestPeriod,a.DeletedLocation FROM Asset a "
                           "JOIN Location l ON l.Id=a.LocationId WHERE a.Id=1"),
             QStringList(retest.applianceDescription + "|SC-1|" + retest.locationName + "|12|-"));
    QCOMPARE(SqlRows::rows("SELECT COUNT(*),MAX(Id) FROM ResultSet"), QStringList("2|2"));
    QCOMPARE(SqlRows::row("SELECT LatestResultSetId FROM Asset WHERE Id=1"), QString("2"));
}

void TestImportTsqReuse::sqliteRetestRewritesOnlyWhatChanged()
{
    QVERIFY(SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/retest.db"));
    checkRetest();
}

void TestImportTsqReuse::mariaDbRetestRewritesOnlyWhatChanged()
{
    PELVANE_REQUIRE_MARIADB();
    MariaDbServer::ScopedDatabase database("retest rows");
    QVERIFY(database.install());
    checkRetest();
}

void TestImportTsqReuse::placesDeletedElsewhereAreFoundAgain_data()
{
    QTest::addColumn<bool>("mariaDb");
    QTest::newRow("SQLite") << false;
    QTest::newRow("MariaDB") << true;
}

// Another workstation deletes a client (its sites and locations go with it)
// and an equipment while a download keeps their ids: the download's next
// record at the same places inserts them anew and goes on.
void TestImportTsqReuse::placesDeletedElsewhereAreFoundAgain()
{
    QFETCH(bool, mariaDb);
    std::optional<MariaDbServer::ScopedDatabase> server;
    const QString other = QStringLiteral("other workstation");
    {
        QSqlDatabase workstation;
        if (mariaDb) {
            PELVANE_REQUIRE_MARIADB();
            server.emplace("deleted places");
            QVERIFY(server->install());
            workstation = MariaDbServer::connection(other, server->name());
        } else {
            const QString path = TestEnvironment::instance()->newFolder() + "/deleted.db";
            QVERIFY(SeededDatabase::createEmpty(path));
            workstation = QSqlDatabase::addDatabase("QSQLITE", other);
            workstation.setDatabaseName(path);
            QVERIFY(workstation.open());
            QVERIFY(QSqlQuery(workstation).exec("PRAGMA foreign_keys = ON"));
        }
        StatementCache cache(Database::instance()->connection());
        ImportTsq::resetTransfer();
        ImportTsq first;
        first.import(placed("A1", "Harbour Hospital", "East Wing", "Ward 7"));
        QSqlQuery remove(workstation);
        for (const char* statement : {"DELETE FROM Asset", "DELETE FROM Client", "DELETE FROM Equipment"})
            QVERIFY2(remove.exec(statement), qPrintable(remove.lastError().text()));
        ImportTsq second;
        second.import(placed("A2", "Harbour Hospital", "East Wing", "Ward 7"));
        QCOMPARE(second.outcome, first.outcome);
    }
    QSqlDatabase::removeDatabase(other);
    QCOMPARE(SqlRows::rows("SELECT a.Name,l.Name,s.Name,c.Name,e.Model FROM Asset a JOIN Location l ON "
                           "l.Id=a.LocationId JOIN Site s ON s.Id=l.SiteId JOIN Client c ON c.Id=s.ClientId "
                           "JOIN Equipment e ON e.Id=a.EquipmentId"),
             QStringList({"A2|Ward 7|East Wing|Harbour Hospital|P200"}));
    QCOMPARE(SqlRows::counts("Client,Site,Location,Equipment"), QString("1 1 1 1"));
}

PELVANE_TEST_MAIN(TestImportTsqReuse)
#include "TestImportTsqReuse.moc"
