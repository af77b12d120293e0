#include "SqlRows.h"
#include "TsqRecordBuilder.h"

#include "database/SqliteDatabase.h"
#include "results/AlertThresholds.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"
#include "transfer/ImportTsq.h"
#include "ux/CodeTables.h"

#include <QtTest>

using namespace SqlRows;
using namespace TsqRecordBuilder;

namespace {

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
    void init()
    {
        m_db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/import.db");
        QVERIFY(m_db);
        ImportTsq::resetTransfer();
        for (double& value : AlertThresholds::values)
            value = 0.0;
    }

    void cleanup()
    {
        Database::setInstance(nullptr);
        m_db = nullptr;
    }

    void wholeTransferGivesRowsAndOutcomes()
    {
        ImportTsq head = importRecord(header(QStringLiteral("Tavisk Q2"), QStringLiteral("Q2-77"), 4));
        QCOMPARE(head.identifier, 85);
        QCOMPARE(head.outcome, -1);
        QCOMPARE(ImportTsq::expectedRecordCount(), 4);
        QCOMPARE(row("SELECT InstrumentType,SerialNo,CalibrationDate,FirmwareVersion,BaudRate,DataBits,Parity,"
                     "StopBits FROM Instrument"),
                 QStringLiteral("2|Q2-77|2025-06-01 00:00:00|4.01|57600|8|0|0"));
        const QString instrumentId = row("SELECT Id FROM Instrument");

        Ux::TsqMedicalApplianceResult pump = asset(QStringLiteral("Pump"), QStringLiteral("SN-Pump"));
        pump.testDate = day1;
        std::vector<Element> results;
        results.push_back(resistance(17, 0.125f, 0.5f, 1, 0)); // "<" relation
        results.push_back(resistance(32, 20.5f, 2.0f, 1, 1));  // ">" relation
        results.push_back(leakage(48, 250.0f, 500.0f, 2, 2, quint8(0x20 | 0x08 | 0x01)));
        results.push_back(leakage(64, 12.0f, 100.0f, 1, 1, 0x04));
        results.push_back(patientAuxLeakage(7.5f, 50.0f, 0x32, 3));
        results.push_back(visual(4));
        results.push_back(userTest(QStringLiteral("Alarm"), QStringLiteral("dB"), 65.0f, 1));
        pump.testResultsData = resultsData(results);
        ImportTsq first = importRecord(bytes(pump));
        QCOMPARE(first.identifier, 2);
        QCOMPARE(first.outcome, 1);

        Ux::TsqMedicalApplianceResult lamp = asset(QStringLiteral("Lamp"), QStringLiteral("L-1"));
        lamp.siteName = QStringLiteral("South");
        lamp.equipmentClass = 2;
        lamp.appliedParts[3] = {4, 2, QStringLiteral("Behind the gap")}; // parts stop at the first empty slot
        QCOMPARE(importAsset(lamp), -1);

        ImportTsq sequence = importRecord(globalSequence(QStringLiteral("Class II"), 2, QByteArray::fromHex("0201")));
        QCOMPARE(sequence.identifier, 16);
        QCOMPARE(sequence.outcome, -1);
        QCOMPARE(importRecord(end()).identifier, 170);

        QCOMPARE(row("SELECT Name FROM Client"), QStringLiteral("Clinic"));
        QCOMPARE(counts("Site,Location,Equipment,Asset,AppliedPart,TestSequence,ResultSet,Result"),
                 QStringLiteral("2 2 2 2 4 2 1 7"));
        QCOMPARE(row("SELECT a.Name,a.Description,a.ServiceCode,a.SerialNo,l.Name,s.Name,e.Manufacturer,e.Model,"
                     "e.SerialNo,e.EquipmentClass,a.RetestPeriod,a.DeletedLocation FROM Asset a "
                     "JOIN Location l ON l.Id=a.LocationId JOIN Site s ON s.Id=l.SiteId "
                     "JOIN Equipment e ON e.Id=a.EquipmentId WHERE a.Name='Pump'"),
                 QStringLiteral("Pump|Infusion pump|SC-9|SN-Pump|Ward 3|North|Infusa|P200|SN-Pump|1|12|-"));
        QCOMPARE(row("SELECT Name,ConnectionClass,Connection,NumConnections FROM AppliedPart a "
                     "WHERE AssetId=(SELECT Id FROM Asset WHERE Name='Lamp') ORDER BY Connection DESC"),
                 QStringLiteral("Probe|3|1|1"));
        QCOMPARE(row("SELECT Name,hex(Data) FROM TestSequence WHERE AssetId=(SELECT Id FROM Asset WHERE Name='Pump')"),
                 QStringLiteral("Pump sequence|") + pump.testSequenceData.toHex().toUpper());
        QCOMPARE(row("SELECT InstrumentId,Date,TestType,TestMode,OverallResult,UserName,Comments FROM ResultSet"),
                 instrumentId + QStringLiteral("|2026-01-05 09:00:00|2|1|1|JS|ok"));
        QCOMPARE(row("SELECT LatestResultSetId=(SELECT Id FROM ResultSet),RetestDate FROM Asset WHERE Name='Pump'"),
                 QStringLiteral("1|2027-01-05 09:00:00"));
        QCOMPARE(rows("SELECT TestId,Status,ResultLimit,Result,ResultACDC,ResultGreaterThan,SingleFaultCondition,"
                      "MainsPolarity,PatientConnection,PatientAuxConnection,CustomName,CustomUnits "
                      "FROM Result ORDER BY Id"),
                 QStringList({"17|1|0.5|0.125|-|0|-|-|-|-|-|-", "32|1|2|20.5|-|1|-|-|-|-|-|-",
                              "48|2|500|250|0|-|8|1|2|-|-|-", "64|1|100|12|1|-|4|-|-|-|-|-",
                              "113|1|50|7.5|-|-|2|-|3|3|-|-", "1|4|0|0|-|-|-|-|-|-|-|-",
                              "253|1|0|65|-|-|-|-|-|-|Alarm|dB"}));
        QCOMPARE(row("SELECT Name,EquipmentClass,hex(Data) FROM GlobalTestSequence"), "Class II|2|0201");
    }

    void sameTransferAgainAddsNothingAndUpdates()
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

        QCOMPARE(counts("Asset,ResultSet,Result,Instrument,Client"), QStringLiteral("1 1 2 1 1"));
        QCOMPARE(row("SELECT a.Description,a.ServiceCode,a.RetestPeriod,l.Name FROM Asset a "
                     "JOIN Location l ON l.Id=a.LocationId"),
                 QStringLiteral("Syringe pump|SC-10|6|Ward 4"));
        QCOMPARE(row("SELECT COUNT(*),MIN(Name),MIN(ConnectionClass),MIN(NumConnections) FROM AppliedPart"),
                 QStringLiteral("1|Lead|1|3"));
        QCOMPARE(row("SELECT COUNT(*),MIN(Name),hex(MIN(Data)) FROM TestSequence"),
                 QStringLiteral("1|Shorter|") + pump.testSequenceData.toHex().toUpper());
    }

    void outcomesOfEachKindOfRecord()
    {
        AlertThresholds::values[AlertThresholds::ResistanceRelative] = 0.5;
        Ux::TsqMedicalApplianceResult none = asset(QStringLiteral("Bare"), QStringLiteral("B"));
        none.testResultsData = QByteArray::fromHex("0301"); // under four bytes: no results
        QCOMPARE(importAsset(none), int(ImportNoResults));
        QCOMPARE(counts("ResultSet,TestSequence"), QStringLiteral("0 1"));

        Ux::TsqMedicalApplianceResult first = withResults(QStringLiteral("Pump"), day1, 0.1f);
        QCOMPARE(importAsset(first), int(Ux::StatusPass)); // first set: no compare
        QCOMPARE(importAsset(first), int(ImportAlreadyStored));

        Ux::TsqMedicalApplianceResult drifted = withResults(QStringLiteral("Pump"), day1.addDays(30), 0.2f);
        QCOMPARE(importAsset(drifted), int(ImportAlert));

        // Drifted again, but failed: the compare leaves a failure as it is.
        Ux::TsqMedicalApplianceResult failed =
            withResults(QStringLiteral("Pump"), day1.addDays(60), 0.8f, Ux::StatusFail, Ux::StatusFail);
        QCOMPARE(importAsset(failed), int(Ux::StatusFail));
        QCOMPARE(row("SELECT r.OverallResult,t.Status FROM ResultSet r JOIN Result t ON t.ResultSetId=r.Id "
                     "WHERE t.TestId=17 ORDER BY r.Id DESC"),
                 QStringLiteral("2|2"));

        Ux::TsqMedicalApplianceResult steady = withResults(QStringLiteral("Pump"), day1.addDays(90), 0.85f);
        QCOMPARE(importAsset(steady), int(Ux::StatusPass));
        const QString latest = row("SELECT LatestResultSetId FROM Asset WHERE Name='Pump'");

        // Dated before all of them, but compared with the latest set (0.85), not the first (0.1).
        Ux::TsqMedicalApplianceResult older = withResults(QStringLiteral("Pump"), day1.addDays(-10), 0.85f);
        QCOMPARE(importAsset(older), int(Ux::StatusPass));
        QCOMPARE(row("SELECT LatestResultSetId FROM Asset WHERE Name='Pump'"), latest);
        QCOMPARE(counts("ResultSet"), QStringLiteral("5"));
    }

    void newestSetTakesTheRetestPeriodJustWritten()
    {
        Ux::TsqMedicalApplianceResult pump = withResults(QStringLiteral("Pump"), day1, 0.1f);
        QCOMPARE(importAsset(pump), 1);
        QCOMPARE(row("SELECT RetestDate FROM Asset"), QStringLiteral("2027-01-05 09:00:00"));

        // The record changes the period of the known asset and brings a newer set.
        Ux::TsqMedicalApplianceResult later = withResults(QStringLiteral("Pump"), day1.addDays(10), 0.1f);
        later.retestPeriod = 3;
        QCOMPARE(importAsset(later), 1);
        QCOMPARE(row("SELECT RetestPeriod,RetestDate FROM Asset"), QStringLiteral("3|2026-04-15 09:00:00"));

        // An older set updates the period but leaves the date of the newest one.
        Ux::TsqMedicalApplianceResult older = withResults(QStringLiteral("Pump"), day1.addDays(-10), 0.1f);
        older.retestPeriod = 24;
        QCOMPARE(importAsset(older), 1);
        QCOMPARE(row("SELECT RetestPeriod,RetestDate FROM Asset"), QStringLiteral("24|2026-04-15 09:00:00"));
    }

    void assetLookupTrimsAndMatchesMissingDate()
    {
        Ux::TsqMedicalApplianceResult r = withResults(QStringLiteral("Pump"), QDateTime(), 0.1f);
        QCOMPARE(importAsset(r), 1);
        QCOMPARE(row("SELECT Date FROM ResultSet"), QStringLiteral("-"));
        r.serialNo = QStringLiteral("SN-2");
        importAsset(r);
        QCOMPARE(counts("Asset"), QStringLiteral("2")); // same name, another serial number: another asset

        // Padded texts find the trimmed stored asset; the missing date matches the stored one.
        r.applianceName = QStringLiteral("  Pump ");
        r.serialNo = QStringLiteral(" SN-2  ");
        r.applianceDescription = QStringLiteral("found");
        QCOMPARE(importAsset(r), int(ImportAlreadyStored));
        QCOMPARE(counts("Asset,ResultSet"), QStringLiteral("2 2"));
        QCOMPARE(row("SELECT Description FROM Asset WHERE SerialNo='SN-2'"), QStringLiteral("found"));

        // An asset without a serial number is updated by any record of its name and keeps it NULL.
        SqlQuery q;
        q.exec("INSERT INTO Asset (Name, Description) VALUES ('Scale', 'old')");
        Ux::TsqMedicalApplianceResult scale = asset(QStringLiteral("Scale"), QStringLiteral("X-9"));
        importAsset(scale);
        QCOMPARE(row("SELECT COUNT(*),MIN(Description),MIN(SerialNo) FROM Asset WHERE Name='Scale'"),
                 QStringLiteral("1|Infusion pump|-"));
    }

    void recordWithoutNameOrSerialIsFoundAgain()
    {
        // A record with empty texts, downloaded twice: the second time it is
        // already stored, however the first stored its empty texts.
        Ux::TsqMedicalApplianceResult r = withResults(QString(), day1, 0.1f);
        r.serialNo = QString();
        QCOMPARE(importAsset(r), 1);
        QCOMPARE(importAsset(r), int(ImportAlreadyStored));
        r.applianceName = QStringLiteral("   ");
        QCOMPARE(importAsset(r), int(ImportAlreadyStored));
        QCOMPARE(counts("Asset,ResultSet"), QStringLiteral("1 1"));

        // An asset that another path stored with empty, not missing, texts.
        SqlQuery q;
        q.exec("DELETE FROM Asset");
        q.exec("INSERT INTO Asset (Name, SerialNo, Description) VALUES ('', '', 'typed')");
        r.applianceDescription = QStringLiteral("found");
        QCOMPARE(importAsset(r), 1);
        QCOMPARE(row("SELECT COUNT(*),MIN(Description) FROM Asset"), QStringLiteral("1|found"));
    }

    void instrumentIsNotCarriedIntoNextDownload()
    {
        importRecord(header(QStringLiteral("Not an instrument"), QStringLiteral("X-1")));
        QCOMPARE(row("SELECT InstrumentType FROM Instrument"), QStringLiteral("0"));
        Ux::TsqMedicalApplianceResult r = withResults(QStringLiteral("Pump"), day1, 0.1f);
        importAsset(r);
        QCOMPARE(row("SELECT InstrumentId FROM ResultSet"), row("SELECT Id FROM Instrument"));

        ImportTsq::resetTransfer(); // the next download sends no header
        QCOMPARE(ImportTsq::expectedRecordCount(), -1);
        r.testDate = day1.addDays(1);
        importAsset(r);
        QCOMPARE(row("SELECT InstrumentId FROM ResultSet ORDER BY Id DESC"), QStringLiteral("-"));
    }

    void corruptRecordWritesNothing()
    {
        Ux::TsqMedicalApplianceResult r = withResults(QStringLiteral("Pump"), day1, 0.1f);
        const QByteArray whole = bytes(r);
        ImportTsq cut = importRecord(whole.left(whole.size() / 2));
        QCOMPARE(cut.identifier, 2);
        QCOMPARE(cut.outcome, -1);
        QCOMPARE(importRecord(whole.left(5)).identifier, 0);
        QCOMPARE(importRecord(QByteArray::fromHex("600200000000000700")).outcome, -1); // identifier 7
        QCOMPARE(counts("Asset,Client"), QStringLiteral("0 0"));
    }

    void failedStatementCommitsNothing()
    {
        const QString path = TestEnvironment::instance()->newFolder() + "/fatal.db";
        const ChildResult child = runChildScenario("failedResultInsertCommitsNothing", {path});
        QVERIFY(!child.crashed);
        QCOMPARE(child.exitCode, 1);
        QVERIFY(child.output.contains("leakage refused"));

        Database::setInstance(nullptr);
        m_db = new SqliteDatabase;
        QCOMPARE(m_db->open(path, false), 0);
        Database::setInstance(m_db);
        QCOMPARE(counts("ResultSet,Result,Asset"), QStringLiteral("0 0 0"));
    }

private:
    SqliteDatabase* m_db = nullptr;
};


PELVANE_TEST_MAIN(TestImportTsq)
#include "TestImportTsq.moc"
