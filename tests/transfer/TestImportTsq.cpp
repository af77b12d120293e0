#include "TsqRecordBuilder.h"

#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "results/AlertThresholds.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"
#include "transfer/ImportTsq.h"
#include "ux/CodeTables.h"

#include <QSqlRecord>
#include <QtTest>

using namespace TsqRecordBuilder;

namespace {

QVariant scalar(const QString& statement)
{
    SqlQuery q;
    q.exec(statement);
    return q.next() ? q.value(0) : QVariant();
}

int count(const QString& table)
{
    return scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt();
}

QVariantList row(const QString& statement)
{
    SqlQuery q;
    q.exec(statement);
    QVariantList values;
    if (q.next()) {
        for (int i = 0; i < q.record().count(); ++i)
            values << (q.value(i).isNull() ? QVariant() : q.value(i)); // NULL compares as QVariant()
    }
    return values;
}

ImportTsq importRecord(const QByteArray& data)
{
    ImportTsq import;
    import.import(data);
    return import;
}

int importAsset(Ux::TsqMedicalApplianceResult& record)
{
    return importRecord(bytes(record)).outcome;
}

// A record of the named asset with one earth-bond and one leakage result.
Ux::TsqMedicalApplianceResult withResults(const QString& name, const QDateTime& date, float earthBond,
                                          int overall = 1, int earthBondStatus = 1)
{
    Ux::TsqMedicalApplianceResult r = asset(name, QStringLiteral("SN-") + name);
    r.testDate = date;
    r.overallResult = overall;
    std::vector<Element> results;
    results.push_back(resistance(17, earthBond, 0.5f, earthBondStatus));
    results.push_back(leakage(48, 100.0f, 500.0f));
    r.testResultsData = resultsData(results);
    return r;
}

const QDateTime day1(QDate(2026, 1, 5), QTime(9, 0, 0));

} // namespace

PELVANE_CHILD_SCENARIO(failedResultInsertCommitsNothing)
{
    SqliteDatabase* db = SeededDatabase::createEmpty(args.value(0));
    if (!db)
        return 3;
    SqlQuery trigger;
    trigger.exec(QStringLiteral("CREATE TRIGGER RefuseLeakage BEFORE INSERT ON Result WHEN NEW.TestId=48 "
                                "BEGIN SELECT RAISE(ABORT, 'leakage refused'); END"));
    Ux::TsqMedicalApplianceResult r = withResults(QStringLiteral("Pump"), day1, 0.1f);
    ImportTsq import;
    import.import(bytes(r));
    return 0; // not reached: the failed insert ends the program
}

class TestImportTsq : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void wholeTransferGivesRowsAndOutcomes();
    void resultColumnsFollowTheElements();
    void sameTransferAgainAddsNothingAndUpdates();
    void outcomesOfEachKindOfRecord();
    void assetLookupBySerialNumber();
    void recycledAssetReturnsToRecordLocation();
    void appliedPartsStopAtFirstEmptySlot();
    void olderRecordIsComparedWithLatestSet();
    void instrumentIsNotCarriedIntoNextDownload();
    void missingTestDateMatchesStoredMissingDate();
    void corruptRecordWritesNothing();
    void failedStatementCommitsNothing();

private:
    SqliteDatabase* m_db = nullptr;
};

void TestImportTsq::init()
{
    m_db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/import.db");
    QVERIFY(m_db);
    ImportTsq::resetTransfer();
    for (double& value : AlertThresholds::values)
        value = 0.0;
}

void TestImportTsq::cleanup()
{
    Database::setInstance(nullptr);
    m_db = nullptr;
}

void TestImportTsq::wholeTransferGivesRowsAndOutcomes()
{
    ImportTsq head = importRecord(header(QStringLiteral("Tavisk Q2"), QStringLiteral("Q2-77"), 4));
    QCOMPARE(head.identifier, 85);
    QCOMPARE(head.outcome, -1);
    QCOMPARE(ImportTsq::expectedRecordCount(), 4);
    QCOMPARE(row("SELECT InstrumentType,SerialNo,CalibrationDate,FirmwareVersion,BaudRate,DataBits,Parity,"
                 "StopBits FROM Instrument"),
             QVariantList({2, "Q2-77", "2025-06-01 00:00:00", "4.01", 57600, 8, 0, 0}));
    const int instrumentId = scalar("SELECT Id FROM Instrument").toInt();

    Ux::TsqMedicalApplianceResult pump = withResults(QStringLiteral("Pump"), day1, 0.1f);
    ImportTsq first = importRecord(bytes(pump));
    QCOMPARE(first.identifier, 2);
    QCOMPARE(first.outcome, 1);

    Ux::TsqMedicalApplianceResult lamp = asset(QStringLiteral("Lamp"), QStringLiteral("L-1"));
    lamp.siteName = QStringLiteral("South");
    lamp.equipmentClass = 2;
    QCOMPARE(importAsset(lamp), -1);

    const QByteArray blob = sequenceData({1, 145});
    ImportTsq sequence = importRecord(globalSequence(QStringLiteral("Class II"), 2, blob));
    QCOMPARE(sequence.identifier, 16);
    QCOMPARE(sequence.outcome, -1);
    ImportTsq last = importRecord(end());
    QCOMPARE(last.identifier, 170);

    QCOMPARE(row("SELECT Name FROM Client"), QVariantList({"Clinic"}));
    QCOMPARE(count("Site"), 2);
    QCOMPARE(count("Location"), 2);
    QCOMPARE(count("Equipment"), 2);
    QCOMPARE(row("SELECT a.Name,a.Description,a.ServiceCode,a.SerialNo,l.Name,s.Name,e.Manufacturer,e.Model,"
                 "e.SerialNo,e.EquipmentClass,a.RetestPeriod,a.DeletedLocation FROM Asset a "
                 "JOIN Location l ON l.Id=a.LocationId JOIN Site s ON s.Id=l.SiteId "
                 "JOIN Equipment e ON e.Id=a.EquipmentId WHERE a.Name='Pump'"),
             QVariantList({"Pump", "Infusion pump", "SC-9", "SN-Pump", "Ward 3", "North", "Infusa", "P200",
                           "SN-Pump", 1, 12, QVariant()}));
    QCOMPARE(count("Asset"), 2);
    QCOMPARE(count("AppliedPart"), 4);
    QCOMPARE(row("SELECT Name,ConnectionClass,Connection,NumConnections FROM AppliedPart a "
                 "WHERE AssetId=(SELECT Id FROM Asset WHERE Name='Lamp') ORDER BY Connection DESC"),
             QVariantList({"Probe", 3, 1, 1}));
    QCOMPARE(row("SELECT Name,Data FROM TestSequence WHERE AssetId=(SELECT Id FROM Asset WHERE Name='Pump')"),
             QVariantList({"Pump sequence", pump.testSequenceData}));
    QCOMPARE(count("TestSequence"), 2);

    QCOMPARE(count("ResultSet"), 1);
    const QVariantList set = row("SELECT Id,InstrumentId,Date,TestType,TestMode,OverallResult,UserName,Comments "
                                 "FROM ResultSet");
    QCOMPARE(set.mid(1), QVariantList({instrumentId, "2026-01-05 09:00:00", 2, 1, 1, "JS", "ok"}));
    QCOMPARE(row("SELECT LatestResultSetId,RetestDate FROM Asset WHERE Name='Pump'"),
             QVariantList({set.at(0), "2027-01-05 09:00:00"}));
    QCOMPARE(count("Result"), 2);
    QCOMPARE(row("SELECT Name,EquipmentClass,Data FROM GlobalTestSequence"),
             QVariantList({"Class II", 2, blob}));
}

void TestImportTsq::resultColumnsFollowTheElements()
{
    Ux::TsqMedicalApplianceResult r = asset(QStringLiteral("Monitor"), QStringLiteral("M-1"));
    std::vector<Element> results;
    results.push_back(resistance(17, 0.125f, 0.5f, 1, 0));                       // "<" relation
    results.push_back(resistance(32, 20.5f, 2.0f, 1, 1));                        // ">" relation
    results.push_back(leakage(48, 250.0f, 500.0f, 2, 2, quint8(0x20 | 0x08 | 0x01)));
    results.push_back(leakage(64, 12.0f, 100.0f, 1, 1, 0x04));
    results.push_back(patientAuxLeakage(7.5f, 50.0f, 0x32, 3));
    results.push_back(visual(4));
    results.push_back(userTest(QStringLiteral("Alarm"), QStringLiteral("dB"), 65.0f, 1));
    r.testResultsData = resultsData(results);
    QCOMPARE(importAsset(r), 1);

    SqlQuery q;
    q.exec("SELECT TestId,Status,ResultLimit,Result,ResultACDC,ResultGreaterThan,SingleFaultCondition,"
           "MainsPolarity,PatientConnection,PatientAuxConnection,CustomName,CustomUnits FROM Result ORDER BY Id");
    const QList<QVariantList> expected = {
        {17, 1, 0.5, 0.125, QVariant(), 0, QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
        {32, 1, 2.0, 20.5, QVariant(), 1, QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
        {48, 2, 500.0, 250.0, 0, QVariant(), 8, 1, 2, QVariant(), QVariant(), QVariant()},
        {64, 1, 100.0, 12.0, 1, QVariant(), 4, QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
        {113, 1, 50.0, 7.5, QVariant(), QVariant(), 2, QVariant(), 3, 3, QVariant(), QVariant()},
        {1, 4, 0.0, 0.0, QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
         QVariant()},
        {253, 1, 0.0, 65.0, QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), "Alarm", "dB"},
    };
    for (const QVariantList& want : expected) {
        QVERIFY(q.next());
        for (int c = 0; c < want.size(); ++c) {
            const QVariant got = q.value(c);
            if (want.at(c).isNull())
                QVERIFY2(got.isNull(), qPrintable(QString("test %1 column %2").arg(want.at(0).toInt()).arg(c)));
            else if (want.at(c).typeId() == QMetaType::Double)
                QCOMPARE(got.toDouble(), want.at(c).toDouble());
            else
                QCOMPARE(got.toString(), want.at(c).toString());
        }
    }
    QVERIFY(!q.next());
}

void TestImportTsq::sameTransferAgainAddsNothingAndUpdates()
{
    const QByteArray head = header(QStringLiteral("Tavisk Q1"), QStringLiteral("Q1-1"));
    Ux::TsqMedicalApplianceResult pump = withResults(QStringLiteral("Pump"), day1, 0.1f);
    importRecord(head);
    QCOMPARE(importAsset(pump), 1);

    pump.applianceDescription = QStringLiteral("Syringe pump");
    pump.serviceCode = QStringLiteral("SC-10");
    pump.retestPeriod = 6;
    pump.locationName = QStringLiteral("Ward 4");
    pump.appliedParts[0] = {3, 1, QStringLiteral("Lead")};
    pump.appliedParts[1] = {};
    pump.testSequenceName = QStringLiteral("Shorter");
    pump.testSequenceData = sequenceData({1});
    importRecord(head);
    QCOMPARE(importAsset(pump), int(ImportAlreadyStored));

    QCOMPARE(count("Asset"), 1);
    QCOMPARE(count("ResultSet"), 1);
    QCOMPARE(count("Result"), 2);
    QCOMPARE(count("Instrument"), 1);
    QCOMPARE(count("Client"), 1);
    QCOMPARE(row("SELECT a.Description,a.ServiceCode,a.RetestPeriod,l.Name FROM Asset a "
                 "JOIN Location l ON l.Id=a.LocationId"),
             QVariantList({"Syringe pump", "SC-10", 6, "Ward 4"}));
    QCOMPARE(row("SELECT COUNT(*),MIN(Name),MIN(ConnectionClass),MIN(NumConnections) FROM AppliedPart"),
             QVariantList({1, "Lead", 1, 3}));
    QCOMPARE(row("SELECT COUNT(*),MIN(Name),MIN(Data) FROM TestSequence"),
             QVariantList({1, "Shorter", pump.testSequenceData}));
}

void TestImportTsq::outcomesOfEachKindOfRecord()
{
    AlertThresholds::values[AlertThresholds::ResistanceRelative] = 0.5;
    Ux::TsqMedicalApplianceResult none = asset(QStringLiteral("Bare"), QStringLiteral("B"));
    none.testResultsData = QByteArray::fromHex("0301"); // under four bytes: no results
    QCOMPARE(importAsset(none), int(ImportNoResults));
    QCOMPARE(count("ResultSet"), 0);
    QCOMPARE(count("TestSequence"), 1);

    Ux::TsqMedicalApplianceResult first = withResults(QStringLiteral("Pump"), day1, 0.1f);
    QCOMPARE(importAsset(first), int(Ux::StatusPass)); // first set: no compare
    QCOMPARE(importAsset(first), int(ImportAlreadyStored));

    Ux::TsqMedicalApplianceResult drifted = withResults(QStringLiteral("Pump"), day1.addDays(30), 0.2f);
    QCOMPARE(importAsset(drifted), int(ImportAlert));
    QCOMPARE(scalar("SELECT OverallResult FROM ResultSet ORDER BY Id DESC").toInt(), 5);

    // Drifted again, but failed: the compare leaves a failure as it is.
    Ux::TsqMedicalApplianceResult failed =
        withResults(QStringLiteral("Pump"), day1.addDays(60), 0.8f, Ux::StatusFail, Ux::StatusFail);
    QCOMPARE(importAsset(failed), int(Ux::StatusFail));
    QCOMPARE(row("SELECT OverallResult FROM ResultSet ORDER BY Id DESC"), QVariantList({2}));
    QCOMPARE(row("SELECT Status FROM Result WHERE TestId=17 ORDER BY Id DESC"), QVariantList({2}));

    Ux::TsqMedicalApplianceResult steady = withResults(QStringLiteral("Pump"), day1.addDays(90), 0.85f);
    QCOMPARE(importAsset(steady), int(Ux::StatusPass));
    QCOMPARE(count("ResultSet"), 4);
}

void TestImportTsq::assetLookupBySerialNumber()
{
    Ux::TsqMedicalApplianceResult r = asset(QStringLiteral("Pump"), QStringLiteral("SN-1"));
    importAsset(r);
    r.serialNo = QStringLiteral("SN-2");
    importAsset(r);
    QCOMPARE(count("Asset"), 2); // same name, another serial number: another asset

    // Padded texts find the trimmed stored asset.
    r.applianceName = QStringLiteral("  Pump ");
    r.serialNo = QStringLiteral(" SN-2  ");
    r.applianceDescription = QStringLiteral("found");
    importAsset(r);
    QCOMPARE(count("Asset"), 2);
    QCOMPARE(scalar("SELECT Description FROM Asset WHERE SerialNo='SN-2'").toString(), QString("found"));

    // An asset without a serial number is updated by any record of its name and keeps it NULL.
    SqlQuery q;
    q.exec("INSERT INTO Asset (Name, Description) VALUES ('Scale', 'old')");
    Ux::TsqMedicalApplianceResult scale = asset(QStringLiteral("Scale"), QStringLiteral("X-9"));
    importAsset(scale);
    QCOMPARE(count("Asset"), 3);
    QCOMPARE(row("SELECT Description,SerialNo FROM Asset WHERE Name='Scale'"),
             QVariantList({"Infusion pump", QVariant()}));
}

void TestImportTsq::recycledAssetReturnsToRecordLocation()
{
    Ux::TsqMedicalApplianceResult r = asset(QStringLiteral("Pump"), QStringLiteral("SN-1"));
    importAsset(r);
    const int id = scalar("SELECT Id FROM Asset").toInt();
    m_db->recycleAssets({id});
    QVERIFY(!scalar("SELECT DeletedLocation FROM Asset").isNull());
    r.clientName = QStringLiteral("Other clinic");
    r.siteName = QStringLiteral("East");
    r.locationName = QStringLiteral("Lab");
    importAsset(r);
    QCOMPARE(row("SELECT a.Id,a.DeletedLocation,l.Name,s.Name,c.Name FROM Asset a JOIN Location l ON "
                 "l.Id=a.LocationId JOIN Site s ON s.Id=l.SiteId JOIN Client c ON c.Id=s.ClientId"),
             QVariantList({id, QVariant(), "Lab", "East", "Other clinic"}));
}

void TestImportTsq::appliedPartsStopAtFirstEmptySlot()
{
    Ux::TsqMedicalApplianceResult r = asset(QStringLiteral("Pump"), QStringLiteral("SN-1"));
    r.appliedParts[2] = {};
    r.appliedParts[3] = {4, 2, QStringLiteral("Behind the gap")};
    r.appliedParts[9] = {1, 1, QStringLiteral("Last")};
    importAsset(r);
    QCOMPARE(row("SELECT COUNT(*),MAX(Connection) FROM AppliedPart"), QVariantList({2, 1}));
}

void TestImportTsq::olderRecordIsComparedWithLatestSet()
{
    AlertThresholds::values[AlertThresholds::ResistanceAbsolute] = 0.05;
    Ux::TsqMedicalApplianceResult first = withResults(QStringLiteral("Pump"), day1, 0.1f);
    importAsset(first);
    Ux::TsqMedicalApplianceResult latest = withResults(QStringLiteral("Pump"), day1.addDays(10), 0.5f);
    QCOMPARE(importAsset(latest), int(ImportAlert));
    const int latestId = scalar("SELECT LatestResultSetId FROM Asset").toInt();

    // Dated before the first set, but compared with the latest one: 0.5 against 0.5.
    Ux::TsqMedicalApplianceResult older = withResults(QStringLiteral("Pump"), day1.addDays(-10), 0.5f);
    QCOMPARE(importAsset(older), int(Ux::StatusPass));
    QCOMPARE(scalar("SELECT LatestResultSetId FROM Asset").toInt(), latestId);
    // Against the first set it would have drifted.
    older.testDate = day1.addDays(-20);
    older.testResultsData = resultsData([] {
        std::vector<Element> v;
        v.push_back(resistance(17, 0.1f, 0.5f));
        return v;
    }());
    QCOMPARE(importAsset(older), int(ImportAlert));
}

void TestImportTsq::instrumentIsNotCarriedIntoNextDownload()
{
    importRecord(header(QStringLiteral("Not an instrument"), QStringLiteral("X-1")));
    QCOMPARE(scalar("SELECT InstrumentType FROM Instrument").toInt(), 0);
    Ux::TsqMedicalApplianceResult r = withResults(QStringLiteral("Pump"), day1, 0.1f);
    importAsset(r);
    QCOMPARE(scalar("SELECT InstrumentId FROM ResultSet").toInt(), scalar("SELECT Id FROM Instrument").toInt());

    ImportTsq::resetTransfer(); // the next download sends no header
    QCOMPARE(ImportTsq::expectedRecordCount(), -1);
    r.testDate = day1.addDays(1);
    importAsset(r);
    QVERIFY(scalar("SELECT InstrumentId FROM ResultSet ORDER BY Id DESC").isNull());

    // A short header announces no count.
    Ux::TsqStartOfTransfer shortHeader;
    shortHeader.testerType = QStringLiteral("Tavisk Corvix");
    shortHeader.testerSerialNumber = QStringLiteral("C-5");
    importRecord(bytes(shortHeader));
    QCOMPARE(ImportTsq::expectedRecordCount(), -1);
    QCOMPARE(row("SELECT InstrumentType,CalibrationDate FROM Instrument WHERE SerialNo='C-5'"),
             QVariantList({16, QVariant()}));
}

void TestImportTsq::missingTestDateMatchesStoredMissingDate()
{
    Ux::TsqMedicalApplianceResult r = withResults(QStringLiteral("Pump"), QDateTime(), 0.1f);
    QCOMPARE(importAsset(r), 1);
    QVERIFY(scalar("SELECT Date FROM ResultSet").isNull());
    QCOMPARE(importAsset(r), int(ImportAlreadyStored));
    QCOMPARE(count("ResultSet"), 1);
}

void TestImportTsq::corruptRecordWritesNothing()
{
    Ux::TsqMedicalApplianceResult r = withResults(QStringLiteral("Pump"), day1, 0.1f);
    const QByteArray whole = bytes(r);
    ImportTsq cut = importRecord(whole.left(whole.size() / 2));
    QCOMPARE(cut.identifier, 2);
    QCOMPARE(cut.outcome, -1);
    ImportTsq tiny = importRecord(whole.left(5));
    QCOMPARE(tiny.identifier, 0);
    ImportTsq other = importRecord(QByteArray::fromHex("600200000000000700")); // identifier 7
    QCOMPARE(other.identifier, 7);
    QCOMPARE(other.outcome, -1);
    QCOMPARE(count("Asset"), 0);
    QCOMPARE(count("Client"), 0);
}

void TestImportTsq::failedStatementCommitsNothing()
{
    const QString path = TestEnvironment::instance()->newFolder() + "/fatal.db";
    const ChildResult child = runChildScenario("failedResultInsertCommitsNothing", {path});
    QVERIFY(!child.crashed);
    QCOMPARE(child.exitCode, 1);
    QVERIFY(child.output.contains("leakage refused"));

    Database::setInstance(nullptr);
    auto* db = new SqliteDatabase;
    QCOMPARE(db->open(path, false), 0);
    Database::setInstance(db);
    m_db = db;
    QCOMPARE(count("ResultSet"), 0);
    QCOMPARE(count("Result"), 0);
    QCOMPARE(count("Asset"), 0);
}

PELVANE_TEST_MAIN(TestImportTsq)
#include "TestImportTsq.moc"
