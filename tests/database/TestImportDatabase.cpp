#include "core/DateFormat.h"
#include "database/ImportDatabase.h"
#include "database/ImportDatabaseThread.h"
#include "database/ImportOptions.h"
#include "database/SqliteDatabase.h"
#include "support/DialogAnswerer.h"
#include "support/LegacyStandIn.h"
#include "support/MariaDbServer.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"
#include "ux/TsqPatval.h"
#include "ux/TsqTestSequence.h"
#include "ux/TsqTestSequenceElementLeakageTest.h"
#include "ux/TsqTestSequenceElementPatientLeakageTest.h"
#include "ux/TsqTestSequenceElementResistanceTest.h"
#include "ux/TsqTestSequenceElementUserTest.h"

#include <QDialog>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <optional>
#include <vector>

namespace {

const QString kMicro = QString(QChar(0xB5));

void asset(LegacyStandIn& legacy, const QString& id, const QString& client, const QString& site,
           const QString& location, const QString& serial, int period, const QString& user)
{
    legacy.insert(QStringLiteral("Assetdetails"),
                  {id, QStringLiteral("Described ") + id.trimmed(), client, site, location, QStringLiteral("Infusa"),
                   QStringLiteral("P") + serial, serial, QStringLiteral("SC-") + serial, period, QStringLiteral("Active"),
                   QString(), user});
}

void result(LegacyStandIn& legacy, const QString& aid, const QString& date, const QString& test,
            const QString& limit, const QString& value, const QString& unit, const QString& status,
            const QString& instrument = QStringLiteral("TaviskQ1"), const QString& serial = QStringLiteral("Q1-777"),
            const QString& mains = QStringLiteral("Normal"), const QString& sfc = QString(),
            const QString& ap = QString())
{
    legacy.insert(QStringLiteral("TblTestResults"),
                  {aid, date, test, mains, sfc, ap, limit, value, unit, status, QStringLiteral("yearly check"),
                   instrument, serial, QString(), QString(), QString()});
}

// A small first-version register: three assets, parts, results of several
// kinds and user tests, with rows for an asset that does not exist.
void fillRegister(LegacyStandIn& legacy)
{
    asset(legacy, QStringLiteral("  PUMP-01 "), QStringLiteral("Acme Health"), QStringLiteral("North"),
          QStringLiteral("Ward 1"), QStringLiteral("SN100"), 12, QStringLiteral("alice"));
    asset(legacy, QStringLiteral("MON-02"), QStringLiteral("New Client"), QStringLiteral("Main"), QStringLiteral("ICU"),
          QStringLiteral("SN200"), 6, QStringLiteral("bob"));
    // A quote in a name must travel as a value, not break a statement.
    asset(legacy, QStringLiteral("O'Brien ECG"), QStringLiteral("Acme Health"), QStringLiteral("North"),
          QStringLiteral("Ward 1"), QStringLiteral("SN300"), 24, QStringLiteral("carol"));

    legacy.insert(QStringLiteral("AppliedParts"), {QStringLiteral("PUMP-01"), QStringLiteral("Line"), QStringLiteral("BF"), 1, QStringLiteral("1")});
    legacy.insert(QStringLiteral("AppliedParts"), {QStringLiteral("MON-02"), QStringLiteral("ECG leads"), QStringLiteral("CF"), 5, QStringLiteral("1-5")});
    legacy.insert(QStringLiteral("AppliedParts"), {QStringLiteral("MON-02"), QStringLiteral("SpO2"), QStringLiteral("BF"), 1, QStringLiteral("6")});
    legacy.insert(QStringLiteral("AppliedParts"), {QStringLiteral("GHOST"), QStringLiteral("Lead"), QStringLiteral("B"), 1, QStringLiteral("1")});

    const QString pm = QStringLiteral("05/11/2009 01:15:30 PM");
    result(legacy, QStringLiteral("PUMP-01"), pm, QStringLiteral("Earth Bond DC(200mA)"), QStringLiteral("0.2"),
           QStringLiteral("<0.1"), QString(QChar(0x3A9)), QStringLiteral("Passed"));
    result(legacy, QStringLiteral("PUMP-01"), pm, QStringLiteral("Insulation EUT(500v)"), QStringLiteral("1"),
           QStringLiteral(">200"), QStringLiteral("M") + QChar(0x3A9), QStringLiteral("Failed"));
    result(legacy, QStringLiteral("PUMP-01"), pm, QStringLiteral("Earth Leakage 60601"), QStringLiteral("500"),
           QStringLiteral("12"), kMicro + QStringLiteral("A(DC)"), QStringLiteral("Passed"), QStringLiteral("TaviskQ1"),
           QStringLiteral("Q1-777"), QStringLiteral("Reversed"), QStringLiteral("Neutral O/C"));
    result(legacy, QStringLiteral("PUMP-01"), pm, QStringLiteral("IEC Lead Polarity"), QString(),
           QStringLiteral("Live/Neutral Reversed"), QString(), QStringLiteral("Passed"));
    // An instrument the first version did not know, a value that is no number.
    result(legacy, QStringLiteral("MON-02"), QStringLiteral("05/11/2009 12:10:00 PM"),
           QStringLiteral("Patient Leakage 60601"), QStringLiteral("10"), QStringLiteral("n/a"),
           kMicro + QStringLiteral("A(AC)"), QStringLiteral("Passed"), QStringLiteral("Other"), QStringLiteral("X-9"),
           QStringLiteral("Normal"), QString(), QStringLiteral("2"));
    result(legacy, QStringLiteral("MON-02"), QStringLiteral("06/11/2009 12:05:00 AM"), QStringLiteral("Load Current"),
           QString(), QStringLiteral("3.5"), QStringLiteral("A"), QStringLiteral("Passed"));
    result(legacy, QStringLiteral("GHOST"), pm, QStringLiteral("Load Current"), QString(), QStringLiteral("1"),
           QStringLiteral("A"), QStringLiteral("Failed"));

    legacy.insert(QStringLiteral("TblUserResult"), {QStringLiteral("PUMP-01"), QStringLiteral("Check alarms"), pm,
                                                   QStringLiteral("1"), QString(), QStringLiteral("Passed")});
    legacy.insert(QStringLiteral("TblUserResult"),
                  {QStringLiteral("MON-02"), QStringLiteral("Cable wear"), QStringLiteral("07/11/2009 09:00:00 AM"),
                   QStringLiteral("2.5"), QStringLiteral("mm"), QStringLiteral("Failed")});
}

QVariant one(const QString& statement, const QVariantList& values = {})
{
    QSqlQuery q(Database::instance()->connection());
    q.prepare(statement);
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec()) {
        qWarning() << q.lastError().text() << statement;
        return QVariant();
    }
    return q.next() ? q.value(0) : QVariant();
}

int count(const QString& table)
{
    return one(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt();
}

QList<int> counts()
{
    QList<int> n;
    for (const char* table : {"Client", "Site", "Location", "Equipment", "Asset", "AppliedPart", "Instrument",
                              "ResultSet", "Result", "TestSequence"})
        n << count(QLatin1String(table));
    return n;
}

int runImport(Database* legacy, bool assets = true, bool results = true, bool sequences = false)
{
    ImportOptions options;
    options.legacyDatabase = legacy;
    options.targetDatabase = Database::instance();
    options.importAssets = assets;
    options.importResults = results;
    options.importTestSequences = sequences;
    ImportDatabaseThread thread(&options, nullptr);
    return thread.exec();
}

// A larger register for imports that run at once: the small one, plus
// assets that share new clients, sites and locations, each with results.
void fillSharedRegister(LegacyStandIn& legacy)
{
    fillRegister(legacy);
    for (int i = 0; i < 60; ++i) {
        const QString id = QStringLiteral("SHARED-%1").arg(i);
        asset(legacy, id, QStringLiteral("Client %1").arg(i % 4), QStringLiteral("Site %1").arg(i % 5),
              QStringLiteral("Room %1").arg(i % 7), QStringLiteral("SH%1").arg(i), 12, QStringLiteral("dan"));
        legacy.insert(QStringLiteral("AppliedParts"),
                      {id, QStringLiteral("Lead"), QStringLiteral("BF"), 1, QStringLiteral("1")});
        const QString date = QStringLiteral("0%1/11/2009 10:00:00 AM").arg(i % 9 + 1);
        result(legacy, id, date, QStringLiteral("Earth Bond DC(200mA)"), QStringLiteral("0.2"), QStringLiteral("0.05"),
               QString(QChar(0x3A9)), QStringLiteral("Passed"), QStringLiteral("TaviskQ1"),
               QStringLiteral("Q1-%1").arg(i % 2));
        result(legacy, id, date, QStringLiteral("Load Current"), QString(), QStringLiteral("1.5"), QStringLiteral("A"),
               QStringLiteral("Passed"), QStringLiteral("TaviskQ1"), QStringLiteral("Q1-%1").arg(i % 2));
    }
}

// Child: imports the first-version file into the server database once the
// start file exists. Arguments: database name, first-version file, start file.
PELVANE_CHILD_SCENARIO(importV1Alongside)
{
    QString why;
    if (args.size() < 3 || !MariaDbServer::reachable(&why) || !MariaDbServer::installNew(args.at(0)))
        return 92;
    LegacyStandIn legacy(args.at(1));
    while (!QFile::exists(args.at(2)))
        QThread::msleep(2);
    const int result = runImport(&legacy);
    Database::setInstance(nullptr);
    return result == QDialog::Accepted ? 0 : 95;
}

int resultSetOf(const QString& asset, const QString& date)
{
    return one(QStringLiteral("SELECT r.Id FROM ResultSet r JOIN Asset a ON a.Id=r.AssetId WHERE a.Name=? AND r.Date=?"),
               {asset, date})
        .toInt();
}

QSqlQuery resultRow(int resultSetId, int testId)
{
    QSqlQuery q(Database::instance()->connection());
    q.prepare(QStringLiteral("SELECT Status,ResultLimit,Result,ResultACDC,ResultGreaterThan,SingleFaultCondition,"
                             "MainsPolarity,PatientConnection,CustomName,CustomUnits,Id FROM Result "
                             "WHERE ResultSetId=? AND TestId=?"));
    q.addBindValue(resultSetId);
    q.addBindValue(testId);
    q.exec();
    q.next();
    return q;
}

// What every import of fillRegister must leave, on any back-end.
void checkRegister()
{
    QCOMPARE(counts(), (QList<int>{2, 2, 2, 3, 3, 3, 3, 4, 8, 0}));

    // Names and texts arrive trimmed; matching places are reused.
    QCOMPARE(one("SELECT COUNT(*) FROM Asset a JOIN Location l ON l.Id=a.LocationId WHERE l.Name='Ward 1'").toInt(), 2);
    QCOMPARE(one("SELECT Description FROM Asset WHERE Name='PUMP-01'").toString(), QString("Described PUMP-01"));
    QCOMPARE(one("SELECT RetestPeriod FROM Asset WHERE Name=?", {"O'Brien ECG"}).toInt(), 24);
    QCOMPARE(one("SELECT ServiceCode FROM Asset WHERE Name='MON-02'").toString(), QString("SC-SN200"));
    QCOMPARE(one("SELECT c.Name FROM Asset a JOIN Location l ON l.Id=a.LocationId JOIN Site s ON s.Id=l.SiteId "
                 "JOIN Client c ON c.Id=s.ClientId WHERE a.Name='MON-02'").toString(),
             QString("New Client"));

    QCOMPARE(one("SELECT ConnectionClass FROM AppliedPart p JOIN Asset a ON a.Id=p.AssetId "
                 "WHERE a.Name='MON-02' AND p.Connection=1").toInt(), 3);
    QCOMPARE(one("SELECT NumConnections FROM AppliedPart p JOIN Asset a ON a.Id=p.AssetId "
                 "WHERE a.Name='MON-02' AND p.Name='ECG leads'").toInt(), 5);
    QCOMPARE(one("SELECT Connection FROM AppliedPart WHERE Name='SpO2'").toInt(), 6);

    // 1:15:30 PM is 13:15:30; the set keeps its failure.
    const int pump = resultSetOf("PUMP-01", "2009-11-05 13:15:30");
    QVERIFY(pump > 0);
    QCOMPARE(one("SELECT OverallResult FROM ResultSet WHERE Id=?", {pump}).toInt(), 2);
    QCOMPARE(one("SELECT UserName FROM ResultSet WHERE Id=?", {pump}).toString(), QString("alice"));
    QCOMPARE(one("SELECT Comments FROM ResultSet WHERE Id=?", {pump}).toString(), QString("yearly check"));
    QCOMPARE(one("SELECT i.InstrumentType FROM ResultSet r JOIN Instrument i ON i.Id=r.InstrumentId WHERE r.Id=?", {pump}).toInt(), 1);
    QCOMPARE(one("SELECT LatestResultSetId FROM Asset WHERE Name='PUMP-01'").toInt(), pump);
    QCOMPARE(dateTimeFromVariant(one("SELECT RetestDate FROM Asset WHERE Name='PUMP-01'")),
             QDateTime(QDate(2010, 11, 5), QTime(13, 15, 30)));

    QSqlQuery bond = resultRow(pump, 17);
    QCOMPARE(bond.value(0).toInt(), 1);
    QCOMPARE(bond.value(1).toDouble(), 0.2);
    QCOMPARE(bond.value(2).toDouble(), 0.1);
    QVERIFY(bond.value(3).isNull());
    QCOMPARE(bond.value(4).toInt(), 0);
    QVERIFY(!bond.value(4).isNull());
    QSqlQuery insulation = resultRow(pump, 33);
    QCOMPARE(insulation.value(0).toInt(), 2);
    QCOMPARE(insulation.value(2).toDouble(), 200.0);
    QCOMPARE(insulation.value(4).toInt(), 1);
    QSqlQuery leakage = resultRow(pump, 48);
    QCOMPARE(leakage.value(2).toDouble(), 12.0);
    QVERIFY(leakage.value(4).isNull());
    QCOMPARE(leakage.value(3).toInt(), 2); // DC
    QCOMPARE(leakage.value(5).toInt(), 2); // neutral open
    QCOMPARE(leakage.value(6).toInt(), 1); // reversed
    QCOMPARE(resultRow(pump, 145).value(2).toDouble(), 3.0);
    QSqlQuery user = resultRow(pump, 253);
    QCOMPARE(user.value(8).toString(), QString("Check alarms"));
    QCOMPARE(user.value(2).toDouble(), 1.0);

    // 12:10 PM is ten past noon; the unknown instrument is found or made
    // with its own serial number.
    const int monitor = resultSetOf("MON-02", "2009-11-05 12:10:00");
    QVERIFY(monitor > 0);
    QCOMPARE(one("SELECT OverallResult FROM ResultSet WHERE Id=?", {monitor}).toInt(), 1);
    QCOMPARE(one("SELECT i.InstrumentType FROM ResultSet r JOIN Instrument i ON i.Id=r.InstrumentId WHERE r.Id=?", {monitor}).toInt(), 0);
    QCOMPARE(one("SELECT i.SerialNo FROM ResultSet r JOIN Instrument i ON i.Id=r.InstrumentId WHERE r.Id=?", {monitor}).toString(), QString("X-9"));
    QSqlQuery patient = resultRow(monitor, 80);
    QVERIFY(patient.value(2).isNull()); // "n/a" is no number
    QCOMPARE(patient.value(3).toInt(), 1); // AC
    QCOMPARE(patient.value(7).toInt(), 2);
    QCOMPARE(patient.value(1).toDouble(), 10.0);
    // 12:05 AM is five past midnight.
    QVERIFY(resultSetOf("MON-02", "2009-11-06 00:05:00") > 0);

    // A user test without a result row of its own gets a real instrument.
    const int cable = resultSetOf("MON-02", "2009-11-07 09:00:00");
    QVERIFY(cable > 0);
    const int instrument = one("SELECT InstrumentId FROM ResultSet WHERE Id=?", {cable}).toInt();
    QCOMPARE(one("SELECT COUNT(*) FROM Instrument WHERE Id=? AND InstrumentType=0", {instrument}).toInt(), 1);
    QSqlQuery wear = resultRow(cable, 253);
    QCOMPARE(wear.value(0).toInt(), 2);
    QCOMPARE(wear.value(9).toString(), QString("mm"));
    QCOMPARE(wear.value(2).toDouble(), 2.5);
}

} // namespace

class TestImportDatabase : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void legacyTexts();
    void importsIntoSqliteAndAgainAddsNothing();
    void secondImportUpdatesInPlace();
    void resultsOnlyNeedTheAssetsAlreadyThere();
    void emptyAssetTableImportsNothing();
    void progressRisesToTheEnd();
    void abortKeepsCommittedRowsAndForeignKeys();
    void sequencesAreStoredAsElementRecords();
    void userResultsAddAnInstrumentOnlyForANewSet();
    void importsIntoMariaDb();
    void longLegacyTextsAreCutToTheirColumn_data();
    void longLegacyTextsAreCutToTheirColumn();
    void importsAtOnceIntoMariaDbStoreEachRowOnce();
    void nullKeysAndWildcardsMatchOnlyTheirOwnRows_data();
    void nullKeysAndWildcardsMatchOnlyTheirOwnRows();
    void eachRowLandsOnTheAssetOfItsOwnName_data();
    void eachRowLandsOnTheAssetOfItsOwnName();

private:
    QString newFile(const QString& name) { return TestEnvironment::instance()->newFolder() + QLatin1Char('/') + name; }
};

void TestImportDatabase::cleanup()
{
    Database::setInstance(nullptr);
}

void TestImportDatabase::legacyTexts()
{
    QCOMPARE(ImportDatabase::parseLegacyDateTime("05/11/2009 01:15:30 PM"), QDateTime(QDate(2009, 11, 5), QTime(13, 15, 30)));
    QCOMPARE(ImportDatabase::parseLegacyDateTime("05/11/2009 12:10:00 PM"), QDateTime(QDate(2009, 11, 5), QTime(12, 10)));
    QCOMPARE(ImportDatabase::parseLegacyDateTime("05/11/2009 12:30:00 AM"), QDateTime(QDate(2009, 11, 5), QTime(0, 30)));
    QCOMPARE(ImportDatabase::parseLegacyDateTime("31/12/2009 11:59:59 AM"), QDateTime(QDate(2009, 12, 31), QTime(11, 59, 59)));
    QVERIFY(!ImportDatabase::parseLegacyDateTime("garbage").isValid());
    QVERIFY(!ImportDatabase::parseLegacyDateTime("31/02/2009 10:00:00 AM").isValid());

    quint16 word = 7;
    ImportDatabase::parseLegacyWord(word, "");
    QCOMPARE(word, quint16(7));
    ImportDatabase::parseLegacyWord(word, "0x1F4");
    QCOMPARE(word, quint16(500));
    ImportDatabase::parseLegacyWord(word, "10,2");
    QCOMPARE(word, quint16(522));
    ImportDatabase::parseLegacyWord(word, "12");
    QCOMPARE(word, quint16(0));
    word = 9;
    ImportDatabase::parseLegacyWord(word, "1,2,3");
    QCOMPARE(word, quint16(0));
    ImportDatabase::parseLegacyWord(word, "0xZZ");
    QCOMPARE(word, quint16(0));

    QList<quint16> list;
    ImportDatabase::parseLegacyPairList("", list);
    QVERIFY(list.isEmpty());
    ImportDatabase::parseLegacyPairList("10,2,244,1,5", list);
    QCOMPARE(list, (QList<quint16>{522, 500, 5}));

    QCOMPARE(ImportDatabase::testIdForName("Insulation EUT(500v)"), 33);
    QCOMPARE(ImportDatabase::testIdForName("Insulation EUT(500V)"), -1);
    QCOMPARE(ImportDatabase::testIdForName("Earth Leakage AS/NZS3551"), 50);
    QCOMPARE(ImportDatabase::testIdForName("Enclosure Leakage ASNZS3200"), 67);
    QCOMPARE(ImportDatabase::testIdForName(""), -1);
    QCOMPARE(ImportDatabase::iecResultValue("Test(Not complete)"), 0);
    QCOMPARE(ImportDatabase::iecResultValue("Neutral Open"), 5);
    QCOMPARE(ImportDatabase::iecResultValue("ok"), -1);

    QCOMPARE(ImportDatabase::numberValue(" 0.25 ").toDouble(), 0.25);
    QVERIFY(ImportDatabase::numberValue("1,5").isNull());
    QVERIFY(ImportDatabase::numberValue("").isNull());
}

void TestImportDatabase::importsIntoSqliteAndAgainAddsNothing()
{
    QVERIFY(SeededDatabase::createEmpty(newFile("target.db")));
    LegacyStandIn legacy(newFile("v1.db"));
    fillRegister(legacy);
    // The target already knows the client; the import reuses it.
    Database::instance()->findOrInsertClient("Acme Health");

    DialogAnswerer answerer;
    QCOMPARE(runImport(&legacy), int(QDialog::Accepted));
    QCOMPARE(answerer.count(), 0);
    checkRegister();
    QCOMPARE(one("PRAGMA foreign_keys").toInt(), 1);

    const QList<int> before = counts();
    QCOMPARE(runImport(&legacy), int(QDialog::Accepted));
    QCOMPARE(counts(), before);
    checkRegister();
}

void TestImportDatabase::secondImportUpdatesInPlace()
{
    QVERIFY(SeededDatabase::createEmpty(newFile("target.db")));
    LegacyStandIn legacy(newFile("v1.db"));
    fillRegister(legacy);
    QCOMPARE(runImport(&legacy), int(QDialog::Accepted));
    const int part = one("SELECT Id FROM AppliedPart WHERE Name='SpO2'").toInt();
    const int pump = resultSetOf("PUMP-01", "2009-11-05 13:15:30");
    const int bond = resultRow(pump, 17).value(10).toInt();

    QVERIFY(legacy.exec("UPDATE AppliedParts SET PartName='Oximeter', Noconnect=2 WHERE PartName='SpO2'"));
    QVERIFY(legacy.exec("UPDATE TblTestResults SET TResult='0.15', Status='Failed' WHERE TestType='Earth Bond DC(200mA)'"));
    QVERIFY(legacy.exec("UPDATE TblUserResult SET Result='3.25', Unit='mm2' WHERE Instruction='Cable wear'"));
    QCOMPARE(runImport(&legacy), int(QDialog::Accepted));

    QCOMPARE(one("SELECT Name FROM AppliedPart WHERE Id=?", {part}).toString(), QString("Oximeter"));
    QCOMPARE(one("SELECT NumConnections FROM AppliedPart WHERE Id=?", {part}).toInt(), 2);
    QSqlQuery updated = resultRow(pump, 17);
    QCOMPARE(updated.value(10).toInt(), bond);
    QCOMPARE(updated.value(2).toDouble(), 0.15);
    QCOMPARE(updated.value(0).toInt(), 2);
    // "<" no longer stands before the value, the stored flag stays as it was.
    QCOMPARE(updated.value(4).toInt(), 0);
    QSqlQuery wear = resultRow(resultSetOf("MON-02", "2009-11-07 09:00:00"), 253);
    QCOMPARE(wear.value(2).toDouble(), 3.25);
    QCOMPARE(wear.value(9).toString(), QString("mm2"));
    QCOMPARE(count("Result"), 8);
}

void TestImportDatabase::resultsOnlyNeedTheAssetsAlreadyThere()
{
    QVERIFY(SeededDatabase::createEmpty(newFile("target.db")));
    LegacyStandIn legacy(newFile("v1.db"));
    fillRegister(legacy);

    QCOMPARE(runImport(&legacy, true, false), int(QDialog::Accepted));
    QCOMPARE(count("Asset"), 3);
    QCOMPARE(count("AppliedPart"), 3);
    QCOMPARE(count("ResultSet"), 0);

    // Without MON-02 in the target its results and user tests are skipped.
    Database::instance()->connection().exec("DELETE FROM AppliedPart");
    Database::instance()->connection().exec("DELETE FROM Asset WHERE Name='MON-02'");
    QCOMPARE(runImport(&legacy, false, true), int(QDialog::Accepted));
    QCOMPARE(count("Asset"), 2);
    QCOMPARE(count("AppliedPart"), 0);
    QCOMPARE(count("ResultSet"), 1);
    QCOMPARE(count("Result"), 5);
}

void TestImportDatabase::emptyAssetTableImportsNothing()
{
    QVERIFY(SeededDatabase::createEmpty(newFile("target.db")));
    LegacyStandIn legacy(newFile("v1.db"));
    fillRegister(legacy);
    QVERIFY(legacy.exec("DELETE FROM Assetdetails"));
    QCOMPARE(runImport(&legacy), int(QDialog::Accepted));
    QCOMPARE(counts(), (QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

    // Empty part and user-test tables: the import goes on past them.
    LegacyStandIn sparse(newFile("sparse.db"));
    asset(sparse, "ONLY", "C", "S", "L", "SN1", 12, "u");
    result(sparse, "ONLY", "01/02/2010 10:00:00 AM", "Load Current", "", "1", "A", "Passed");
    QCOMPARE(runImport(&sparse), int(QDialog::Accepted));
    QCOMPARE(count("Asset"), 1);
    QCOMPARE(count("Result"), 1);
    QCOMPARE(one("PRAGMA foreign_keys").toInt(), 1);
}

void TestImportDatabase::progressRisesToTheEnd()
{
    QVERIFY(SeededDatabase::createEmpty(newFile("target.db")));
    LegacyStandIn legacy(newFile("v1.db"));
    fillRegister(legacy);
    ImportOptions options;
    options.legacyDatabase = &legacy;
    options.targetDatabase = Database::instance();

    ImportDatabase worker(&options);
    QSignalSpy progress(&worker, &ThreadObject::updateProgress);
    QSignalSpy done(&worker, &ThreadObject::done);
    QVERIFY(worker.init());
    worker.setAbort(); // stepped here, not by its timer
    int steps = 0;
    while (worker.step())
        ++steps;
    // Three assets, four parts, seven results, two user tests, then the end.
    QCOMPARE(steps, 16);
    QCOMPARE(done.count(), 1);
    QCOMPARE(progress.count(), 16);
    float previous = 0.0f;
    for (const QList<QVariant>& call : std::as_const(progress)) {
        QVERIFY(call.at(0).toFloat() > previous);
        previous = call.at(0).toFloat();
    }
    QCOMPARE(previous, 1.0f);
}

void TestImportDatabase::abortKeepsCommittedRowsAndForeignKeys()
{
    QVERIFY(SeededDatabase::createEmpty(newFile("target.db")));
    LegacyStandIn legacy(newFile("v1.db"));
    QVERIFY(legacy.exec("BEGIN"));
    for (int i = 0; i < 3000; ++i)
        asset(legacy, QStringLiteral("A%1").arg(i, 4, 10, QLatin1Char('0')), "C", "S", "L", QString::number(i), 12, "u");
    QVERIFY(legacy.exec("COMMIT"));

    ImportOptions options;
    options.legacyDatabase = &legacy;
    options.targetDatabase = Database::instance();
    ImportDatabaseThread thread(&options, nullptr);
    QTimer press;
    QObject::connect(&press, &QTimer::timeout, &thread, [&] {
        if (thread.dialog().isVisible() && thread.dialog().progressValue() >= 2) {
            press.stop();
            thread.dialog().abortBtnClicked();
        }
    });
    press.start(5);
    QCOMPARE(thread.exec(), int(QDialog::Rejected));

    const int imported = count("Asset");
    QVERIFY2(imported > 0 && imported < 3000, qPrintable(QString::number(imported)));
    // Each committed asset is whole: its equipment and location came with it.
    QCOMPARE(count("Equipment"), imported);
    QCOMPARE(one("PRAGMA foreign_keys").toInt(), 1);
}

void TestImportDatabase::sequencesAreStoredAsElementRecords()
{
    QVERIFY(SeededDatabase::createEmpty(newFile("target.db")));
    LegacyStandIn legacy(newFile("v1.db"));
    fillRegister(legacy);
    QCOMPARE(runImport(&legacy), int(QDialog::Accepted));
    const int pumpId = one("SELECT Id FROM Asset WHERE Name='PUMP-01'").toInt();
    // The asset already has a sequence: the import replaces it.
    QSqlQuery old(Database::instance()->connection());
    old.prepare("INSERT INTO TestSequence (Name,AssetId,Data) VALUES ('old',?,?)");
    old.addBindValue(pumpId);
    old.addBindValue(QByteArray("\x02\x01", 2));
    QVERIFY(old.exec());

    auto row = [&legacy](const char* asset, int type, int duration, const QString& limit, int times,
                         const QString& sfc, int condition, const QString& b, const QString& c) {
        legacy.insert("TestSequence", {QString::fromLatin1(asset), QStringLiteral("Pump yearly"), QStringLiteral("I"),
                                       type, duration, limit, times, sfc, condition, b, c});
    };
    // 0.2 ohm, 500 uA and 100 uA in the instruments' packed decimals.
    row("PUMP-01", 17, 5, "0xC0C8", 1, "", 0, "", "");
    row("PUMP-01", 48, 2, "0x5388", 0, "0x43E8", 7, "", "");
    row("PUMP-01", 18, 5, "0xC0C8", 1, "", 0, "", ""); // no element of this kind
    row("PUMP-01", 253, 0, "", 0, "", 0, "Check alarm volume", "dB");
    row("PUMP-01", 80, 3, "", 0, "", 6, "100,67,44,1", "50,128");
    row("GHOST", 17, 5, "", 1, "", 0, "", ""); // no such asset
    row("MON-02", 1, 0, "", 0, "", 0, "", "");
    QCOMPARE(runImport(&legacy, true, true, true), int(QDialog::Accepted));

    QCOMPARE(one("SELECT COUNT(*) FROM TestSequence WHERE AssetId=?", {pumpId}).toInt(), 1);
    QCOMPARE(count("TestSequence"), 2);
    QCOMPARE(one("SELECT Name FROM TestSequence WHERE AssetId=?", {pumpId}).toString(), QString("Pump yearly"));
    const QByteArray blob = one("SELECT Data FROM TestSequence WHERE AssetId=?", {pumpId}).toByteArray();
    // 6 + 8 + (18 + 2 + 4) + 28 bytes, no header and no end marker.
    QCOMPARE(blob.size(), 66);
    QCOMPARE(quint8(blob.at(0)), quint8(6));
    QCOMPARE(quint8(blob.at(1)), quint8(17));

    QDataStream in(blob);
    in.setByteOrder(QDataStream::LittleEndian);
    Ux::TsqTestSequence sequence;
    in >> sequence;
    QCOMPARE(in.status(), QDataStream::Ok);
    QCOMPARE(sequence.size(), 4);
    auto* bond = dynamic_cast<Ux::TsqTestSequenceElementResistanceTest*>(sequence.at(0));
    QVERIFY(bond);
    QCOMPARE(bond->duration, quint8(5));
    QCOMPARE(float(bond->limit), 0.2f);
    QCOMPARE(bond->numberOfTests, quint8(1));
    auto* leakage = dynamic_cast<Ux::TsqTestSequenceElementLeakageTest*>(sequence.at(1));
    QVERIFY(leakage);
    QCOMPARE(leakage->limit, 500.0);
    QCOMPARE(leakage->sfcLimit, 100.0);
    QCOMPARE(leakage->conditions.conditions, quint8(7));
    auto* user = dynamic_cast<Ux::TsqTestSequenceElementUserTest*>(sequence.at(2));
    QVERIFY(user);
    QCOMPARE(user->testName, QString("Check alarm volume"));
    QCOMPARE(user->testUnits, QString("dB"));
    auto* patient = dynamic_cast<Ux::TsqTestSequenceElementPatientLeakageTest*>(sequence.at(3));
    QVERIFY(patient);
    QCOMPARE(patient->duration, quint8(3));
    QCOMPARE(patient->limits[0], double(Ux::TsqPatval::decode(100 + 67 * 256)));
    QCOMPARE(patient->limits[1], double(Ux::TsqPatval::decode(44 + 256)));
    QCOMPARE(patient->limits[8], double(Ux::TsqPatval::decode(50 + 128 * 256)));
    QCOMPARE(patient->conditions.conditions, quint8(6));

    // What the instrument library writes back is what was stored.
    QByteArray rewritten;
    {
        QDataStream out(&rewritten, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        out << sequence;
    }
    // The records keep their layout and every word comes back byte for byte,
    // the patient limits the first version wrote in its own forms included.
    QCOMPARE(rewritten.size(), blob.size());
    QCOMPARE(rewritten.left(38), blob.left(38));
    QCOMPARE(rewritten.toHex(), blob.toHex());
    QDataStream again(rewritten);
    again.setByteOrder(QDataStream::LittleEndian);
    Ux::TsqTestSequence reread;
    again >> reread;
    QCOMPARE(reread.size(), sequence.size());
    auto* patientAgain = dynamic_cast<Ux::TsqTestSequenceElementPatientLeakageTest*>(reread.at(3));
    QVERIFY(patientAgain);
    for (int i = 0; i < Ux::TsqTestSequenceElementPatientLeakageTest::LimitCount; ++i)
        QCOMPARE(patientAgain->limits[i], patient->limits[i]);
    qDeleteAll(reread);
    qDeleteAll(sequence);

    // A second import leaves one sequence per asset.
    QCOMPARE(runImport(&legacy, true, true, true), int(QDialog::Accepted));
    QCOMPARE(count("TestSequence"), 2);
}

void TestImportDatabase::userResultsAddAnInstrumentOnlyForANewSet()
{
    QVERIFY(SeededDatabase::createEmpty(newFile("target.db")));
    LegacyStandIn legacy(newFile("v1.db"));
    asset(legacy, QStringLiteral("PUMP-01"), QStringLiteral("Acme Health"), QStringLiteral("North"),
          QStringLiteral("Ward 1"), QStringLiteral("SN100"), 12, QStringLiteral("alice"));
    // Two runs; the user tests of each join its set and its instrument.
    const QStringList runs{QStringLiteral("05/11/2009 01:15:30 PM"), QStringLiteral("05/11/2010 09:00:00 AM")};
    for (const QString& tested : runs) {
        result(legacy, QStringLiteral("PUMP-01"), tested, QStringLiteral("Load Current"), QString(),
               QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("Passed"));
    }
    for (const QString& tested : runs) {
        for (const QString& instruction : {QStringLiteral("Check alarms"), QStringLiteral("Check case")})
            legacy.insert(QStringLiteral("TblUserResult"), {QStringLiteral("PUMP-01"), instruction, tested,
                                                           QStringLiteral("1"), QString(), QStringLiteral("Passed")});
    }

    DialogAnswerer answerer;
    const auto instruments = [] {
        QStringList all;
        QSqlQuery q(Database::instance()->connection());
        q.exec(QStringLiteral("SELECT InstrumentType,SerialNo FROM Instrument ORDER BY Id"));
        while (q.next())
            all << q.value(0).toString() + QLatin1Char('|') + q.value(1).toString();
        return all;
    };
    for (int run = 0; run < 2; ++run) {
        QCOMPARE(runImport(&legacy), int(QDialog::Accepted));
        QCOMPARE(instruments(), QStringList{QStringLiteral("1|Q1-777")});
        QCOMPARE(count(QStringLiteral("ResultSet")), 2);
        QCOMPARE(count(QStringLiteral("Result")), 6);
    }

    // A user test of a run without other results makes its set, and that set
    // needs an instrument.
    legacy.insert(QStringLiteral("TblUserResult"), {QStringLiteral("PUMP-01"), QStringLiteral("Check alarms"),
                                                   QStringLiteral("06/11/2009 09:00:00 AM"), QStringLiteral("1"),
                                                   QString(), QStringLiteral("Passed")});
    QCOMPARE(runImport(&legacy), int(QDialog::Accepted));
    QCOMPARE(instruments(), (QStringList{QStringLiteral("1|Q1-777"), QStringLiteral("0|")}));
    QCOMPARE(one("SELECT i.InstrumentType FROM ResultSet r JOIN Instrument i ON i.Id=r.InstrumentId "
                 "WHERE r.Date='2009-11-06 09:00:00'").toInt(), 0);
    QCOMPARE(answerer.count(), 0);
}

void TestImportDatabase::importsIntoMariaDb()
{
    PELVANE_REQUIRE_MARIADB();
    MariaDbServer::ScopedDatabase database("import v1");
    QVERIFY(database.install());
    LegacyStandIn legacy(newFile("v1.db"));
    fillRegister(legacy);

    DialogAnswerer answerer;
    QCOMPARE(runImport(&legacy), int(QDialog::Accepted));
    QCOMPARE(answerer.count(), 0);
    checkRegister();
    const QList<int> before = counts();
    QCOMPARE(runImport(&legacy), int(QDialog::Accepted));
    QCOMPARE(counts(), before);
    checkRegister();
}

void TestImportDatabase::longLegacyTextsAreCutToTheirColumn_data()
{
    QTest::addColumn<bool>("server");
    QTest::newRow("sqlite") << false;
    QTest::newRow("mariadb") << true;
}

void TestImportDatabase::longLegacyTextsAreCutToTheirColumn()
{
    QFETCH(bool, server);
    const QString name = MariaDbServer::uniqueName("import long");
    auto drop = qScopeGuard([&] {
        Database::setInstance(nullptr);
        if (server)
            MariaDbServer::dropDatabase(name);
    });
    if (server) {
        PELVANE_REQUIRE_MARIADB();
        QVERIFY(MariaDbServer::installNew(name));
    } else {
        QVERIFY(SeededDatabase::createEmpty(newFile("target.db")));
    }
    // A key past SQLite's longest LIKE pattern, and texts past the server's
    // columns: each ended the import with a fatal report.
    const QString key = QStringLiteral("K") + QString(60000, QLatin1Char('k'));
    const QString wide = QString(300, QLatin1Char('w'));
    LegacyStandIn legacy(newFile("v1.db"));
    legacy.insert(QStringLiteral("Assetdetails"),
                  {key, wide, wide, wide, wide, wide, wide, wide, wide, 12, QStringLiteral("Active"), QString(),
                   wide});
    legacy.insert(QStringLiteral("AppliedParts"), {key, wide, QStringLiteral("BF"), 1, QStringLiteral("1")});
    result(legacy, key, QStringLiteral("05/11/2009 01:15:30 PM"), QStringLiteral("Load Current"), QString(),
           QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("Passed"), QStringLiteral("TaviskQ1"), wide);
    legacy.insert(QStringLiteral("TblUserResult"), {key, wide, QStringLiteral("05/11/2009 01:15:30 PM"),
                                                   QStringLiteral("1"), wide, QStringLiteral("Passed")});

    DialogAnswerer answerer;
    QCOMPARE(runImport(&legacy), int(QDialog::Accepted));
    QCOMPARE(answerer.count(), 0);
    const QString cut = key.left(255);
    const QString wideCut = wide.left(255);
    QCOMPARE(one("SELECT Name FROM Asset").toString(), cut);
    QCOMPARE(one("SELECT Description FROM Asset").toString(), wideCut);
    QCOMPARE(one("SELECT Name FROM Client").toString(), wideCut);
    QCOMPARE(one("SELECT Model FROM Equipment").toString(), wideCut);
    QCOMPARE(one("SELECT Name FROM AppliedPart").toString(), wideCut);
    QCOMPARE(one("SELECT SerialNo FROM Instrument WHERE InstrumentType=1").toString(), wideCut);
    QCOMPARE(one("SELECT UserName FROM ResultSet").toString(), wideCut);
    QCOMPARE(one("SELECT CustomName FROM Result WHERE TestId=253").toString(), wideCut);
    QCOMPARE(one("SELECT CustomUnits FROM Result WHERE TestId=253").toString(), wideCut);
    // The rows that name the asset by its long key still find it.
    QCOMPARE(counts().mid(4, 2), (QList<int>{1, 1}));
    QCOMPARE(one("SELECT COUNT(*) FROM Result r JOIN ResultSet s ON s.Id=r.ResultSetId").toInt(), 2);
}

// Three workstations import the same first-version register into one server
// database at the same time: the register is the one a single import makes.
void TestImportDatabase::importsAtOnceIntoMariaDbStoreEachRowOnce()
{
    PELVANE_REQUIRE_MARIADB();
    MariaDbServer::ScopedDatabase singleDatabase("import v1 single");
    const QString& single = singleDatabase.name();
    MariaDbServer::ScopedDatabase sharedDatabase("import v1 shared");
    const QString& shared = sharedDatabase.name();
    const QString path = newFile("v1.db");
    {
        LegacyStandIn legacy(path);
        fillSharedRegister(legacy);
        QVERIFY(MariaDbServer::installNew(single));
        DialogAnswerer answerer;
        QCOMPARE(runImport(&legacy), int(QDialog::Accepted));
    }
    const QList<int> expected = counts();
    QVERIFY(MariaDbServer::installNew(shared));
    Database::setInstance(nullptr);

    const QString start = newFile("go");
    std::vector<std::unique_ptr<QProcess>> children;
    for (int i = 0; i < 3; ++i) {
        children.push_back(std::make_unique<QProcess>());
        startChildScenario(*children.back(), QStringLiteral("importV1Alongside"), {shared, path, start});
        QVERIFY(children.back()->waitForStarted());
    }
    QFile go(start);
    QVERIFY(go.open(QIODevice::WriteOnly));
    go.close();
    for (const auto& child : children) {
        const ChildResult result = finishChildScenario(*child, 120000);
        QVERIFY2(!result.crashed && result.exitCode == 0, result.output.right(1500).constData());
    }
    QVERIFY(MariaDbServer::installNew(shared));
    QCOMPARE(counts(), expected);
}

void TestImportDatabase::nullKeysAndWildcardsMatchOnlyTheirOwnRows_data()
{
    longLegacyTextsAreCutToTheirColumn_data();
}

void TestImportDatabase::nullKeysAndWildcardsMatchOnlyTheirOwnRows()
{
    QFETCH(bool, server);
    std::optional<MariaDbServer::ScopedDatabase> database;
    if (server) {
        PELVANE_REQUIRE_MARIADB();
        QVERIFY(database.emplace("import keys").install());
    } else {
        QVERIFY(SeededDatabase::createEmpty(newFile("target.db")));
    }
    LegacyStandIn legacy(newFile("v1.db"));
    const QString day = QStringLiteral("05/11/2009 01:15:30 PM");
    asset(legacy, QString(), "Acme", "North", "Ward 1", "SN0", 12, "ann");
    // "_" is LIKE's any character: "W_1" matched "WX1", stored first.
    asset(legacy, "WX1", "Acme", "North", "Ward 1", "SN1", 12, "ann");
    asset(legacy, "W_1", "Acme", "North", "Ward 1", "SN2", 12, "ann");
    legacy.insert(QStringLiteral("AppliedParts"), {"W_1", "Lead", "B", 1, "1"});
    result(legacy, "W_1", day, "Load Current", QString(), "1", "A", "Passed");
    result(legacy, "WX1", day, "Load Current", QString(), "2", "A", "Passed");
    legacy.insert(QStringLiteral("TblUserResult"), {"W_1", QString(), day, "3", QString(), "Passed"});

    QCOMPARE(runImport(&legacy), int(QDialog::Accepted));
    const QList<int> first = counts();
    QCOMPARE(runImport(&legacy), int(QDialog::Accepted));
    QCOMPARE(counts(), first);
    QCOMPARE(first.mid(4, 2), (QList<int>{3, 1}));
    const QString ofAsset = "SELECT SUM(r.Result) FROM Result r JOIN ResultSet s ON s.Id=r.ResultSetId "
                            "JOIN Asset a ON a.Id=s.AssetId WHERE a.Name=?";
    QCOMPARE(one(ofAsset, {"W_1"}).toDouble(), 4.0);
    QCOMPARE(one(ofAsset, {"WX1"}).toDouble(), 2.0);
    QCOMPARE(one("SELECT a.Name FROM AppliedPart p JOIN Asset a ON a.Id=p.AssetId").toString(), QString("W_1"));
}

void TestImportDatabase::eachRowLandsOnTheAssetOfItsOwnName_data()
{
    longLegacyTextsAreCutToTheirColumn_data();
}

// Names that differ in case, accents or past the longest name: each row stays with its own name's asset.
// The last two pairs share equipment: the database or the cut makes one asset of each, which is told.
void TestImportDatabase::eachRowLandsOnTheAssetOfItsOwnName()
{
    QFETCH(bool, server);
    std::optional<MariaDbServer::ScopedDatabase> database;
    if (server) {
        PELVANE_REQUIRE_MARIADB();
        QVERIFY(database.emplace("import names").install());
    } else {
        QVERIFY(SeededDatabase::createEmpty(newFile("target.db")));
    }
    LegacyStandIn legacy(newFile("v1.db"));
    const QString day = QStringLiteral("05/11/2009 01:15:30 PM"), cut = QString(255, QLatin1Char('L'));
    const QStringList names = {"Case10", "CASE10", "case10", "Ünïcödé", "Unicode", cut + "1", cut + "2",
                               "MERGE", "merge", cut + "3", cut + "4"};
    for (int i = 0; i < names.size(); ++i) {
        asset(legacy, names[i], "Acme", "North", "Ward 1", i < 7 ? QString::number(i) : i < 9 ? "M" : "L", 12, "ann");
        legacy.insert(QStringLiteral("AppliedParts"), {names[i], names[i], "B", 1, "1"});
        result(legacy, names[i], day, "Load Current", QString(), QString::number(i + 1), "A", "Passed");
    }
    DialogAnswerer answerer;
    QCOMPARE(runImport(&legacy), int(QDialog::Accepted));
    const QString of = "SELECT %1 FROM Asset a JOIN Equipment e ON e.Id=a.EquipmentId JOIN %2 WHERE e.SerialNo=?";
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(one(of.arg("p.Name", "AppliedPart p ON p.AssetId=a.Id"), {QString::number(i)}).toString(), names[i].left(255));
        QCOMPARE(one(of.arg("SUM(r.Result)", "ResultSet s ON s.AssetId=a.Id JOIN Result r ON r.ResultSetId=s.Id"),
                     {QString::number(i)}).toInt(), i + 1);
    }
    QCOMPARE(answerer.count(), 1);
    QVERIFY2(answerer.last().text.contains(QStringLiteral("%1 asset(s) of the first-version").arg(server ? 2 : 1)),
             qPrintable(answerer.last().text));
}

PELVANE_TEST_MAIN(TestImportDatabase)
#include "TestImportDatabase.moc"
