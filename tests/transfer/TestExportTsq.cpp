#include "SqlRows.h"
#include "TsqRecordBuilder.h"

#include "database/SqliteDatabase.h"
#include "support/DialogAnswerer.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"
#include "transfer/ExportTsq.h"
#include "transfer/ImportTsq.h"

#include <QtTest>

using namespace SqlRows;

namespace {

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
    exec("INSERT INTO AppliedPart (AssetId,Name,ConnectionClass,Connection,NumConnections) VALUES (?,?,?,?,?)",
         {assetId, name, connectionClass, connection, numConnections});
}

int insertGlobalSequence(const QString& name, const QByteArray& data)
{
    exec("INSERT INTO GlobalTestSequence (Name,EquipmentClass,Data) VALUES (?,2,?)", {name, data});
    return row("SELECT MAX(Id) FROM GlobalTestSequence").toInt();
}

} // namespace

class TestExportTsq : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/export.db");
        QVERIFY(m_db);
    }

    void cleanup()
    {
        Database::setInstance(nullptr);
        m_db = nullptr;
    }

    void headerAndEndBytes()
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

        QVERIFY(ExportTsq::writeEnd(&out));
        QCOMPARE(out.toHex(), QByteArray("600200a9010000aaff"));
    }

    void assetFieldLayout()
    {
        const int id = makeAsset();
        QByteArray out;
        QVERIFY(ExportTsq::writeAsset(&out, id));

        // Asset block: 11 bytes of numbers, the texts each with a zero byte (64), the applied-part
        // slots (6 + 8 + 8 x 3) and 16 spare bytes: 128 bytes, block length 130. The serial
        // number sent is the equipment's.
        const QByteArray layout = QByteArray::fromHex("8200" "ff000000" "0101" "b207" "0c" "0000")
                                  + QByteArray("Pump\0North\0\0\0SC-9\0Ward 3\0Infusa\0P200\0Infusion pump\0"
                                               "E-7\0Clinic\0\0",
                                               63)
                                  + QByteArray::fromHex("0202") + QByteArray("ECG\0", 4)
                                  + QByteArray::fromHex("0103") + QByteArray("Probe\0", 6)
                                  + QByteArray::fromHex(QByteArray("000000").repeated(8)) + QByteArray(16, '\0');
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
        QByteArray head;
        QDataStream headOut(&head, QIODevice::WriteOnly);
        headOut.setByteOrder(QDataStream::LittleEndian);
        headOut << quint8(96) << quint16(out.size() - 7) << sum << quint8(2);
        QCOMPARE(out.left(8).toHex(), head.toHex());
    }

    void assetRoundTripIntoFreshDatabase()
    {
        const QString places =
            "SELECT c.Name,s.Name,l.Name,e.Manufacturer,e.Model,e.SerialNo,e.EquipmentClass,a.Name,a.Description,"
            "a.ServiceCode,a.SerialNo,a.RetestPeriod FROM Asset a JOIN Location l ON l.Id=a.LocationId "
            "JOIN Site s ON s.Id=l.SiteId JOIN Client c ON c.Id=s.ClientId JOIN Equipment e ON e.Id=a.EquipmentId";
        const QString parts = "SELECT Name,ConnectionClass,NumConnections FROM AppliedPart ORDER BY Connection";
        const QString sequence = "SELECT Name,hex(Data) FROM TestSequence";
        QByteArray out;
        QVERIFY(ExportTsq::writeAsset(&out, makeAsset()));
        const QStringList before = rows(places) + rows(parts) + rows(sequence);
        Ux::TsqMedicalApplianceResult parsed;
        QCOMPARE(parse(out, parsed), QDataStream::Ok);
        QCOMPARE(parsed.testDate, QDateTime(QDate(1970, 1, 1), QTime(0, 0)));

        Database::setInstance(nullptr);
        m_db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/fresh.db");
        QVERIFY(m_db);
        ImportTsq import;
        import.import(out);
        QCOMPARE(import.outcome, int(ImportNoResults));
        QCOMPARE(rows(places) + rows(parts) + rows(sequence), before);
        QCOMPARE(rows("SELECT Connection FROM AppliedPart ORDER BY Connection"), QStringList({"0", "1"})); // by slot
        QCOMPARE(counts("ResultSet"), QStringLiteral("0"));
    }

    void appliedPartsFirstTenByConnection()
    {
        const int id = makeAsset();
        exec("DELETE FROM AppliedPart", {});
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
        // An asset deleted meanwhile still gives a record, with nothing in it.
        QVERIFY(ExportTsq::writeAsset(&out, 4242));
        QCOMPARE(parse(out, r), QDataStream::Ok);
        QVERIFY(r.applianceName.isEmpty() && r.clientName.isEmpty() && r.testSequenceData.isEmpty());
    }

    void globalSequenceAndTooLongRecords()
    {
        const QByteArray blob = TsqRecordBuilder::sequenceData({1, 145});
        QByteArray out;
        QVERIFY(ExportTsq::writeGlobalTestSequence(&out, insertGlobalSequence("Class II", blob)));
        Ux::TsqTestSequenceBlock block;
        QCOMPARE(parse(out, block), QDataStream::Ok);
        QCOMPARE(int(block.header.identifier), 16);
        QCOMPARE(block.name, QString("Class II"));
        QCOMPARE(int(block.equipmentClass), 2);
        QCOMPARE(block.data, blob);

        // Lengths that do not fit their 16-bit fields are refused; the caller
        // learns the name to tell the user, nobody is asked here.
        const int id = makeAsset();
        exec("UPDATE TestSequence SET Data=?", {QByteArray(70000, '\x02')});
        DialogAnswerer answerer;
        out = "stale";
        QString what;
        QVERIFY(!ExportTsq::writeAsset(&out, id, &what));
        QVERIFY(out.isEmpty());
        QCOMPARE(what, QString("Asset \"Pump\""));

        out = "stale";
        QVERIFY(!ExportTsq::writeGlobalTestSequence(&out, insertGlobalSequence("Huge", QByteArray(70000, '\x02')), &what));
        QVERIFY(out.isEmpty());
        QCOMPARE(what, QString("Test sequence \"Huge\""));
        QCOMPARE(answerer.count(), 0);
    }

private:
    int makeAsset()
    {
        const int location = m_db->findOrInsertLocation(
            m_db->findOrInsertSite(m_db->findOrInsertClient("Clinic"), "North"), "Ward 3");
        const int equipment = m_db->findOrInsertEquipment("Infusa", "P200", "E-7", 1);
        const int id = m_db->insertAsset("Pump", "Infusion pump", "SC-9", "E-7", location, equipment, 12);
        insertPart(id, "Probe", 3, 4, 1); // connection order, not insertion order, fills the slots
        insertPart(id, "ECG", 2, 1, 2);
        exec("INSERT INTO TestSequence (Name,AssetId,Data) VALUES (?,?,?)",
             {"Pump sequence", id, TsqRecordBuilder::sequenceData({17, 32, 48})});
        return id;
    }

    SqliteDatabase* m_db = nullptr;
};


PELVANE_TEST_MAIN(TestExportTsq)
#include "TestExportTsq.moc"
