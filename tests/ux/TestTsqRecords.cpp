#include "MessageCapture.h"
#include "support/TestEnvironment.h"
#include "ux/TsqEndOfTransfer.h"
#include "ux/TsqMedicalApplianceResult.h"
#include "ux/TsqStartOfTransfer.h"
#include "ux/TsqTestSequenceBlock.h"

#include <QtTest>

using namespace Ux;

namespace {

template <typename Record>
QByteArray write(Record& record)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << record;
    return bytes;
}

// Reads a header and then the record body, as the download does.
template <typename Record>
QDataStream::Status read(const QByteArray& bytes, Record& record)
{
    QDataStream in(bytes);
    in.setByteOrder(QDataStream::LittleEndian);
    in >> record.header;
    in >> record;
    return in.status();
}

TsqMedicalApplianceResult sampleAsset()
{
    TsqMedicalApplianceResult r;
    r.overallResult = 1;
    r.testDate = QDateTime(QDate(2011, 12, 31), QTime(14, 5, 9));
    r.retestPeriod = 12;
    r.testType = 2;
    r.testMode = 1;
    r.applianceName = QStringLiteral("Infusion pump");
    r.siteName = QStringLiteral("North");
    r.userName = QStringLiteral("JS");
    r.testCode = QStringLiteral("ABCD");
    r.serviceCode = QStringLiteral("S-1");
    r.locationName = QStringLiteral("Ward 3");
    r.make = QStringLiteral("Make");
    r.model = QStringLiteral("Model");
    r.applianceDescription = QStringLiteral("Pump");
    r.serialNo = QStringLiteral("SN42");
    r.clientName = QStringLiteral("Clinic");
    r.comments = QStringLiteral("All fine");
    r.appliedParts[0] = {2, 2, QStringLiteral("ECG")};
    r.appliedParts[9] = {1, 3, QStringLiteral("Probe")};
    r.spareStrings = QStringLiteral("spare");
    r.testSequenceName = QStringLiteral("Seq");
    r.equipmentClass = 1;
    r.testSequenceData = QByteArray::fromHex("061102C8C001");
    r.testResultsData = QByteArray::fromHex("071196C0E8C301");
    return r;
}

} // namespace

class TestTsqRecords : public QObject
{
    Q_OBJECT
private slots:
    void endOfTransferIsFixed();
    void startOfTransferWithoutCount();
    void startOfTransferWithCount();
    void testSequenceBlockGolden();
    void medicalApplianceRoundTrip();
    void medicalApplianceInstrumentForm();
    void recordsThatDoNotFitAreRefused();
    void tooLongBodiesAreRefused();
};

void TestTsqRecords::endOfTransferIsFixed()
{
    TsqEndOfTransfer end;
    const QByteArray bytes = write(end);
    QCOMPARE(bytes, QByteArray::fromHex("600200A9010000AAFF"));
    TsqEndOfTransfer back;
    QDataStream in(bytes);
    in >> back;
    QCOMPARE(in.status(), QDataStream::Ok);
    QCOMPARE(back.header.checksum, quint32(425));
    QCOMPARE(back.header.identifier, quint8(170));
}

void TestTsqRecords::startOfTransferWithoutCount()
{
    TsqStartOfTransfer start;
    start.testerType = QStringLiteral("Q");
    start.testerSerialNumber = QStringLiteral("7");
    const QByteArray bytes = write(start);
    const QByteArray expected = QByteArray::fromHex("602A00DC01000055") + QByteArray("Q")
                                + QByteArray(19, '\0') + QByteArray("7") + QByteArray(19, '\0')
                                + QByteArray::fromHex("FF");
    QCOMPARE(bytes, expected);

    TsqStartOfTransfer back;
    back.numberOfRecords = 5;
    QCOMPARE(read(bytes, back), QDataStream::Ok);
    QCOMPARE(back.numberOfRecords, -1);
    QCOMPARE(back.testerType, QStringLiteral("Q"));
    QCOMPARE(back.testerSerialNumber, QStringLiteral("7"));

    start.testerType = QString(25, QLatin1Char('t'));
    QCOMPARE(write(start).mid(8, 20), QByteArray(19, 't') + QByteArray(1, '\0'));
}

void TestTsqRecords::startOfTransferWithCount()
{
    TsqStartOfTransfer start;
    start.testerType = QStringLiteral("Q");
    start.testerSerialNumber = QStringLiteral("7");
    start.numberOfRecords = 0;
    start.calibrationDate = QDate(2010, 3, 1);
    start.firmwareVersion = QStringLiteral("1.2");
    const QByteArray bytes = write(start);
    QCOMPARE(bytes.size(), 8 + 58);
    QCOMPARE(bytes.mid(0, 3), QByteArray::fromHex("603B00"));
    QCOMPARE(bytes.mid(48), QByteArray::fromHex("3000" "30312E30332E3230313000" "312E3200" "FF"));

    TsqStartOfTransfer back;
    QCOMPARE(read(bytes, back), QDataStream::Ok);
    QCOMPARE(back.numberOfRecords, 0);
    QCOMPARE(back.calibrationDate, QDate(2010, 3, 1));
    QCOMPARE(back.firmwareVersion, QStringLiteral("1.2"));
}

void TestTsqRecords::testSequenceBlockGolden()
{
    TsqTestSequenceBlock block;
    block.name = QStringLiteral("A");
    block.equipmentClass = 1;
    const QByteArray bytes = write(block);
    QCOMPARE(bytes, QByteArray::fromHex("6021007002000010" "1F00" "41") + QByteArray(25, '\0')
                        + QByteArray::fromHex("01" "02FEFF"));

    block.data = QByteArray::fromHex("061102C8C001030003");
    TsqTestSequenceBlock back;
    QCOMPARE(read(write(block), back), QDataStream::Ok);
    QCOMPARE(back.name, QStringLiteral("A"));
    QCOMPARE(back.equipmentClass, quint8(1));
    QCOMPARE(back.data, block.data);
}

void TestTsqRecords::medicalApplianceRoundTrip()
{
    TsqMedicalApplianceResult asset = sampleAsset();
    const QByteArray bytes = write(asset);
    QVERIFY(bytes.endsWith(QByteArray::fromHex("071196C0E8C301" "02FF")));
    // Asset block: length, overall result, then the date and time.
    QCOMPARE(bytes.mid(10, 8), QByteArray::fromHex("01" "0E05091F0CDB07"));
    QCOMPARE(asset.header.tsqLength, quint16(bytes.size() - 7));

    TsqMedicalApplianceResult back;
    QCOMPARE(read(bytes, back), QDataStream::Ok);
    // Written again it gives the same bytes; a few fields are checked by name
    // so that a reader and writer that agree on a wrong order are caught.
    QCOMPARE(write(back), bytes);
    QCOMPARE(back.testDate, asset.testDate);
    QCOMPARE(back.testCode, asset.testCode);
    QCOMPARE(back.clientName, asset.clientName);
    QCOMPARE(back.appliedParts[0].appliedPartClass, 2);
    QCOMPARE(int(back.appliedParts[9].numConnections), 1);
    QCOMPARE(back.testSequenceData, asset.testSequenceData);
    QCOMPARE(back.testResultsData, asset.testResultsData);

    TsqMedicalApplianceResult empty;
    const QByteArray emptyBytes = write(empty);
    QVERIFY(emptyBytes.endsWith(QByteArray::fromHex("02FE02FF")));
    TsqMedicalApplianceResult emptyBack;
    emptyBack.testResultsData = "stale";
    QCOMPARE(read(emptyBytes, emptyBack), QDataStream::Ok);
    QVERIFY(emptyBack.testResultsData.isEmpty());
}

void TestTsqRecords::medicalApplianceInstrumentForm()
{
    TsqMedicalApplianceResult asset = sampleAsset();
    QByteArray bytes = write(asset) + QByteArray::fromHex("FF");
    // The instrument counts its extra byte in the length.
    bytes[1] = char(quint8(bytes[1]) + 1);
    TsqMedicalApplianceResult back;
    QCOMPARE(read(bytes, back), QDataStream::Ok);
    QCOMPARE(back.testResultsData, asset.testResultsData);
}

void TestTsqRecords::recordsThatDoNotFitAreRefused()
{
    MessageCapture capture;
    TsqMedicalApplianceResult asset = sampleAsset();
    const QByteArray bytes = write(asset);
    TsqMedicalApplianceResult back;
    // The body is one byte short of what the header announces.
    QCOMPARE(read(bytes.left(bytes.size() - 1), back), QDataStream::ReadCorruptData);
    // An asset block length beyond the body.
    QByteArray badAsset = bytes;
    badAsset[8] = char(0xFF);
    badAsset[9] = char(0x7F);
    QCOMPARE(read(badAsset, back), QDataStream::ReadCorruptData);
    // An asset block length below its own two bytes.
    badAsset[8] = 1;
    badAsset[9] = 0;
    QCOMPARE(read(badAsset, back), QDataStream::ReadCorruptData);

    TsqTestSequenceBlock block;
    block.name = QStringLiteral("A");
    QByteArray blockBytes = write(block);
    blockBytes[8] = 0x10; // block length below its fixed part
    TsqTestSequenceBlock blockBack;
    QCOMPARE(read(blockBytes, blockBack), QDataStream::ReadCorruptData);
    blockBytes[8] = 0x40; // data beyond the body
    QCOMPARE(read(blockBytes, blockBack), QDataStream::ReadCorruptData);

    TsqStartOfTransfer start;
    QByteArray startBytes = write(start);
    startBytes[1] = 20; // too short for the two tester texts
    QCOMPARE(read(startBytes, start), QDataStream::ReadCorruptData);
    startBytes[1] = 0; // a length of 0 cannot even hold the identifier
    QCOMPARE(read(startBytes, start), QDataStream::ReadCorruptData);
    QVERIFY(!capture.lines().isEmpty());
}

void TestTsqRecords::tooLongBodiesAreRefused()
{
    MessageCapture capture;
    const auto writeStatus = [](auto& record, QByteArray* bytes) {
        QDataStream out(bytes, QIODevice::WriteOnly);
        out << record;
        return out.status();
    };
    QByteArray bytes;
    TsqTestSequenceBlock block;
    block.data = QByteArray(0xFFFF - 30, 'x');
    QCOMPARE(writeStatus(block, &bytes), QDataStream::WriteFailed);
    QVERIFY(bytes.isEmpty());

    TsqMedicalApplianceResult asset;
    asset.testResultsData = QByteArray(0xFFFF, 'r');
    QCOMPARE(writeStatus(asset, &bytes), QDataStream::WriteFailed);
    QVERIFY(bytes.isEmpty());

    // The largest block that fits is written.
    block.data = QByteArray(0xFFFF - 31 - 4, 'x');
    QCOMPARE(writeStatus(block, &bytes), QDataStream::Ok);
    QCOMPARE(bytes.size(), 8 + int(block.data.size()) + 32);
}

PELVANE_TEST_MAIN(TestTsqRecords)
#include "TestTsqRecords.moc"
