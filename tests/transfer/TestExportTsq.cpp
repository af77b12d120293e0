#include "TsqRecordBuilder.h"

#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "support/DialogAnswerer.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"
#include "transfer/ExportTsq.h"
#include "transfer/ImportTsq.h"

#include <QSqlRecord>
#include <QtTest>

namespace {

QList<QVariantList> rows(const QString& statement)
{
    SqlQuery q;
    q.exec(statement);
    QList<QVariantList> all;
    while (q.next()) {
        QVariantList values;
        for (int i = 0; i < q.record().count(); ++i)
            values << (q.value(i).isNull() ? QVariant() : q.value(i));
        all << values;
    }
    return all;
}

template <typename Record>
QDataStream::Status parse(const QByteArray& bytes, Record& record)
{
    QDataStream in(bytes);
    in.setByteOrder(QDataStream::LittleEndian);
    in >> record.header;
    in >> record;
    return in.status();
}

void insertPart(int assetId, const QString& name, int connectionClass, int connection, int numConnections)
{
    SqlQuery q;
    q.prepare("INSERT INTO AppliedPart (AssetId,Name,ConnectionClass,Connection,NumConnections) "
              "VALUES (:A,:N,:C,:P,:K)");
    q.bindValue(":A", assetId);
    q.bindValue(":N", name);
    q.bindValue(":C", connectionClass);
    q.bindValue(":P", connection);
    q.bindValue(":K", numConnections);
    q.exec();
}

void insertSequence(const QString& table, const QString& name, int owner, const QByteArray& data)
{
    SqlQuery q;
    q.prepare(table == "TestSequence" ? "INSERT INTO TestSequence (Name,AssetId,Data) VALUES (:N,:O,:D)"
                                      : "INSERT INTO GlobalTestSequence (Name,EquipmentClass,Data) VALUES (:N,:O,:D)");
    q.bindValue(":N", name);
    q.bindValue(":O", owner);
    q.bindValue(":D", data);
    q.exec();
}

const char* const kPlaces =
    "SELECT c.Name,s.Name,l.Name,e.Manufacturer,e.Model,e.SerialNo,e.EquipmentClass,a.Name,a.Description,"
    "a.ServiceCode,a.SerialNo,a.RetestPeriod FROM Asset a JOIN Location l ON l.Id=a.LocationId "
    "JOIN Site s ON s.Id=l.SiteId JOIN Client c ON c.Id=s.ClientId JOIN Equipment e ON e.Id=a.EquipmentId";

} // namespace

class TestExportTsq : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void headerBytes();
    void endBytes();
    void assetFieldLayout();
    void assetParsesBack();
    void assetRoundTripIntoFreshDatabase();
    void appliedPartsFirstTenByConnection();
    void missingRowsGiveEmptyFields();
    void globalSequence();
    void tooLongRecordIsRefused();

private:
    int makeAsset();
    SqliteDatabase* m_db = nullptr;
};

void TestExportTsq::init()
{
    m_db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/export.db");
    QVERIFY(m_db);
}

void TestExportTsq::cleanup()
{
    Database::setInstance(nullptr);
    m_db = nullptr;
}

int TestExportTsq::makeAsset()
{
    const int location = m_db->findOrInsertLocation(
        m_db->findOrInsertSite(m_db->findOrInsertClient("Clinic"), "North"), "Ward 3");
    const int equipment = m_db->findOrInsertEquipment("Infusa", "P200", "E-7", 1);
    const int id = m_db->insertAsset("Pump", "Infusion pump", "SC-9", "E-7", location, equipment, 12);
    insertPart(id, "Probe", 3, 4, 1); // connection order, not insertion order, fills the slots
    insertPart(id, "ECG", 2, 1, 2);
    insertSequence("TestSequence", "Pump sequence", id, TsqRecordBuilder::sequenceData({17, 32, 48}));
    return id;
}

void TestExportTsq::headerBytes()
{
    QByteArray out("stale");
    QVERIFY(ExportTsq::writeHeader(&out, 2));
    // Body: 20 + 20 zero bytes, "2", "01.01.1970", "3.09" each with a zero byte, then FF: 59 bytes.
    // Checksum 85 + 50 + 495 + 202 + 255 = 1087.
    const QByteArray expected = QByteArray::fromHex("603c003f04000055") + QByteArray(40, '\0')
                                + QByteArray("2\0" "01.01.1970\0" "3.09\0", 18) + QByteArray("\xff", 1);
    QCOMPARE(out.toHex(), expected.toHex());

    Ux::TsqStartOfTransfer parsed;
    QCOMPARE(parse(out, parsed), QDataStream::Ok);
    QCOMPARE(parsed.numberOfRecords, 2);
    QCOMPARE(parsed.calibrationDate, QDate(1970, 1, 1));
    QCOMPARE(parsed.firmwareVersion, QString("3.09"));
    QVERIFY(parsed.testerType.isEmpty());

    QVERIFY(ExportTsq::writeHeader(&out, 0));
    QCOMPARE(parse(out, parsed), QDataStream::Ok);
    QCOMPARE(parsed.numberOfRecords, 0);
}

void TestExportTsq::endBytes()
{
    QByteArray out("stale");
    QVERIFY(ExportTsq::writeEnd(&out));
    QCOMPARE(out.toHex(), QByteArray("600200a9010000aaff"));
}

void TestExportTsq::assetFieldLayout()
{
    const int id = makeAsset();
    QByteArray out;
    QVERIFY(ExportTsq::writeAsset(&out, id));

    // Asset block: 11 bytes of numbers, the texts each with a zero byte (64), the applied-part
    // slots (6 + 8 + 8 x 3) and 16 spare bytes: 128 bytes, block length 130. The serial
    // number sent is the equipment's.
    const QByteArray asset = QByteArray::fromHex("8200" "ff000000" "0101" "b207" "0c" "0000")
                             + QByteArray("Pump\0North\0\0\0SC-9\0Ward 3\0Infusa\0P200\0Infusion pump\0"
                                          "E-7\0Clinic\0\0",
                                          63)
                             + QByteArray::fromHex("0202") + QByteArray("ECG\0", 4)
                             + QByteArray::fromHex("0103") + QByteArray("Probe\0", 6);
    QByteArray emptySlots;
    for (int i = 0; i < 8; ++i)
        emptySlots += QByteArray::fromHex("000000");
    const QByteArray layout = asset + emptySlots + QByteArray(16, '\0');
    QCOMPARE(out.mid(8, layout.size()).toHex(), layout.toHex());

    const QByteArray blob = TsqRecordBuilder::sequenceData({17, 32, 48});
    QByteArray sequence = QByteArray::fromHex("00" "00") + QByteArray("Pump sequence") + QByteArray(13, '\0')
                          + QByteArray::fromHex("01") + blob + QByteArray::fromHex("02fe");
    sequence[0] = char(sequence.size());
    QCOMPARE(out.mid(8 + layout.size()).toHex(), (sequence + QByteArray::fromHex("02ff")).toHex());

    // Header: version, length of identifier and body, sum of identifier and body bytes.
    quint32 sum = 0;
    for (char c : out.mid(7))
        sum += quint8(c);
    QDataStream head(out.left(8));
    head.setByteOrder(QDataStream::LittleEndian);
    quint8 version = 0, identifier = 0;
    quint16 length = 0;
    quint32 checksum = 0;
    head >> version >> length >> checksum >> identifier;
    QCOMPARE(int(version), 96);
    QCOMPARE(int(length), out.size() - 7);
    QCOMPARE(checksum, sum);
    QCOMPARE(int(identifier), 2);
}

void TestExportTsq::assetParsesBack()
{
    const int id = makeAsset();
    QByteArray out;
    QVERIFY(ExportTsq::writeAsset(&out, id));
    Ux::TsqMedicalApplianceResult r;
    QCOMPARE(parse(out, r), QDataStream::Ok);
    QCOMPARE(r.overallResult, 255);
    QCOMPARE(r.testDate, QDateTime(QDate(1970, 1, 1), QTime(0, 0)));
    QCOMPARE(r.testType, 0);
    QCOMPARE(r.testMode, 0);
    QCOMPARE(r.applianceName, QString("Pump"));
    QCOMPARE(r.applianceDescription, QString("Infusion pump"));
    QCOMPARE(r.serviceCode, QString("SC-9"));
    QCOMPARE(int(r.retestPeriod), 12);
    QCOMPARE(r.clientName, QString("Clinic"));
    QCOMPARE(r.siteName, QString("North"));
    QCOMPARE(r.locationName, QString("Ward 3"));
    QCOMPARE(r.make, QString("Infusa"));
    QCOMPARE(r.model, QString("P200"));
    QCOMPARE(r.serialNo, QString("E-7"));
    QCOMPARE(r.equipmentClass, 1);
    QVERIFY(r.userName.isEmpty() && r.testCode.isEmpty() && r.comments.isEmpty());
    QCOMPARE(r.appliedParts[0].name, QString("ECG"));
    QCOMPARE(r.appliedParts[1].name, QString("Probe"));
    QCOMPARE(int(r.appliedParts[1].numConnections), 1);
    QCOMPARE(r.appliedParts[1].appliedPartClass, 3);
    QCOMPARE(int(r.appliedParts[2].numConnections), 0);
    QCOMPARE(r.testSequenceName, QString("Pump sequence"));
    QCOMPARE(r.testSequenceData, TsqRecordBuilder::sequenceData({17, 32, 48}));
    QVERIFY(r.testResultsData.isEmpty());
}

void TestExportTsq::assetRoundTripIntoFreshDatabase()
{
    const int id = makeAsset();
    const QList<QVariantList> places = rows(kPlaces);
    const QList<QVariantList> parts = rows("SELECT Name,ConnectionClass,NumConnections FROM AppliedPart ORDER BY Connection");
    const QList<QVariantList> sequence = rows("SELECT Name,Data FROM TestSequence");
    QByteArray out;
    QVERIFY(ExportTsq::writeAsset(&out, id));

    Database::setInstance(nullptr);
    m_db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/fresh.db");
    QVERIFY(m_db);
    ImportTsq import;
    import.import(out);
    QCOMPARE(import.outcome, int(ImportNoResults));
    QCOMPARE(rows(kPlaces), places);
    QCOMPARE(rows("SELECT Name,ConnectionClass,NumConnections FROM AppliedPart ORDER BY Connection"), parts);
    QCOMPARE(rows("SELECT Connection FROM AppliedPart ORDER BY Connection"),
             QList<QVariantList>({{0}, {1}})); // renumbered by slot
    QCOMPARE(rows("SELECT Name,Data FROM TestSequence"), sequence);
    QCOMPARE(rows("SELECT COUNT(*) FROM ResultSet"), QList<QVariantList>({{0}}));
}

void TestExportTsq::appliedPartsFirstTenByConnection()
{
    const int id = makeAsset();
    SqlQuery clear;
    clear.exec("DELETE FROM AppliedPart");
    for (int i = 11; i >= 0; --i)
        insertPart(id, QString("AP%1").arg(i), 1 + i % 3, i, i + 1);
    QByteArray out;
    QVERIFY(ExportTsq::writeAsset(&out, id));
    Ux::TsqMedicalApplianceResult r;
    QCOMPARE(parse(out, r), QDataStream::Ok);
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(r.appliedParts[i].name, QString("AP%1").arg(i));
        QCOMPARE(r.appliedParts[i].appliedPartClass, 1 + i % 3);
        QCOMPARE(int(r.appliedParts[i].numConnections), i + 1);
    }

    clear.exec("DELETE FROM AppliedPart");
    QVERIFY(ExportTsq::writeAsset(&out, id));
    QCOMPARE(parse(out, r), QDataStream::Ok);
    for (const Ux::TsqAppliedPart& part : r.appliedParts)
        QVERIFY(part.name.isEmpty() && part.numConnections == 0 && part.appliedPartClass == 0);
}

void TestExportTsq::missingRowsGiveEmptyFields()
{
    const int id = makeAsset();
    SqlQuery q;
    q.exec("DELETE FROM TestSequence");
    q.exec("PRAGMA foreign_keys = OFF"); // a row gone from under the asset
    q.exec("UPDATE Asset SET LocationId=NULL, EquipmentId=9999");
    q.exec("PRAGMA foreign_keys = ON");
    QByteArray out;
    QVERIFY(ExportTsq::writeAsset(&out, id));
    Ux::TsqMedicalApplianceResult r;
    QCOMPARE(parse(out, r), QDataStream::Ok);
    QCOMPARE(r.applianceName, QString("Pump"));
    QVERIFY(r.clientName.isEmpty() && r.siteName.isEmpty() && r.locationName.isEmpty());
    QVERIFY(r.make.isEmpty() && r.model.isEmpty() && r.serialNo.isEmpty());
    QCOMPARE(r.equipmentClass, 0);
    QVERIFY(r.testSequenceName.isEmpty() && r.testSequenceData.isEmpty());

    // An asset deleted meanwhile still gives a record, with nothing in it.
    QVERIFY(ExportTsq::writeAsset(&out, 4242));
    QCOMPARE(parse(out, r), QDataStream::Ok);
    QVERIFY(r.applianceName.isEmpty());
    QCOMPARE(r.overallResult, 255);
}

void TestExportTsq::globalSequence()
{
    const QByteArray blob = TsqRecordBuilder::sequenceData({1, 145});
    insertSequence("GlobalTestSequence", "Class II", 2, blob);
    const int id = rows("SELECT Id FROM GlobalTestSequence").at(0).at(0).toInt();
    QByteArray out;
    QVERIFY(ExportTsq::writeGlobalTestSequence(&out, id));
    Ux::TsqTestSequenceBlock block;
    QCOMPARE(parse(out, block), QDataStream::Ok);
    QCOMPARE(int(block.header.identifier), 16);
    QCOMPARE(block.name, QString("Class II"));
    QCOMPARE(int(block.equipmentClass), 2);
    QCOMPARE(block.data, blob);

    QVERIFY(ExportTsq::writeGlobalTestSequence(&out, id + 1));
    QCOMPARE(parse(out, block), QDataStream::Ok);
    QVERIFY(block.name.isEmpty() && block.data.isEmpty());
}

void TestExportTsq::tooLongRecordIsRefused()
{
    const int id = makeAsset();
    SqlQuery q;
    q.prepare("UPDATE TestSequence SET Data=:D");
    q.bindValue(":D", QByteArray(70000, '\x02'));
    q.exec();
    insertSequence("GlobalTestSequence", "Huge", 1, QByteArray(70000, '\x02'));

    DialogAnswerer answerer;
    QByteArray out("stale");
    QVERIFY(!ExportTsq::writeAsset(&out, id));
    QVERIFY(out.isEmpty());
    QVERIFY(answerer.waitForCount(1));
    QVERIFY2(answerer.last().text.contains("\"Pump\""), qPrintable(answerer.last().text));

    out = "stale";
    QVERIFY(!ExportTsq::writeGlobalTestSequence(&out, rows("SELECT Id FROM GlobalTestSequence").at(0).at(0).toInt()));
    QVERIFY(out.isEmpty());
    QVERIFY(answerer.waitForCount(2));
    QVERIFY(answerer.last().text.contains("Huge"));
}

PELVANE_TEST_MAIN(TestExportTsq)
#include "TestExportTsq.moc"
