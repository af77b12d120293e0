#include "MessageCapture.h"
#include "support/TestEnvironment.h"
#include "ux/TsqTestSequence.h"
#include "ux/TsqTestSequenceElementCorvixSetHalvexSettings.h"
#include "ux/TsqTestSequenceElementCorvixSetOxiloSettings.h"
#include "ux/TsqTestSequenceElementECGStartSimulation.h"
#include "ux/TsqTestSequenceElementIECWiringTest.h"
#include "ux/TsqTestSequenceElementInsulationTest.h"
#include "ux/TsqTestSequenceElementLeakageTest.h"
#include "ux/TsqTestSequenceElementNIBPLeakTest.h"
#include "ux/TsqTestSequenceElementNIBPSettingsOCurve.h"
#include "ux/TsqTestSequenceElementPatientLeakageFTest.h"
#include "ux/TsqTestSequenceElementPatientLeakageTest.h"
#include "ux/TsqTestSequenceElementResistanceTest.h"
#include "ux/TsqTestSequenceElementSPO2MonitorType.h"
#include "ux/TsqTestSequenceElementSPO2Simulation.h"
#include "ux/TsqTestSequenceElementUserTest.h"

#include <QtTest>
#include <memory>

using namespace Ux;

namespace {

const QList<int> elementIds = {1,   17,  18,  21,  32,  33,  34,  35,  46,  47,  114, 48,  49,
                               50,  51,  64,  66,  67,  69,  70,  83,  71,  72,  80,  81,  84,
                               85,  112, 113, 115, 96,  98,  99,  100, 145, 176, 190, 192, 177,
                               185, 191, 178, 179, 180, 181, 183, 184, 182, 186, 187, 188, 189,
                               193, 253};

QByteArray writeElement(TsqTestSequenceElement& element)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    element.write(out, true);
    return bytes;
}

QByteArray writeSequence(const TsqTestSequence& sequence)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << sequence;
    return bytes;
}

struct ReadResult
{
    TsqTestSequence sequence;
    QDataStream::Status status = QDataStream::Ok;
    ~ReadResult() { qDeleteAll(sequence); }
};

void readSequence(const QByteArray& bytes, ReadResult& result)
{
    QDataStream in(bytes);
    in.setByteOrder(QDataStream::LittleEndian);
    in >> result.sequence;
    result.status = in.status();
}

template <typename T>
QByteArray written(int id, int equipmentClass)
{
    T element(quint8(id), equipmentClass);
    return writeElement(element);
}

} // namespace

class TestTsqSequenceElements : public QObject
{
    Q_OBJECT
private slots:
    void everyKindRoundTripsWithDefaults();
    void goldenDefaults();
    void defaultsByEquipmentClass();
    void textLengthsFollowTheText();
    void templatesCopyPayload();
    void blobSkipsUnknownAndOverlongRecords();
    void corruptBlobsStopReading();
};

void TestTsqSequenceElements::everyKindRoundTripsWithDefaults()
{
    TsqTestSequence sequence;
    for (int id : elementIds)
        sequence.append(TsqTestSequenceElement::create(quint8(id)));
    const QByteArray blob = writeSequence(sequence);

    // Each record's length byte matches the bytes written for it.
    int offset = 0;
    for (TsqTestSequenceElement* element : sequence) {
        QVERIFY(offset < blob.size());
        QCOMPARE(quint8(blob.at(offset)), element->length);
        QCOMPARE(quint8(blob.at(offset + 1)), element->id);
        QCOMPARE(writeElement(*element), blob.mid(offset, element->length));
        offset += element->length;
    }
    QCOMPARE(offset, blob.size());

    ReadResult back;
    {
        MessageCapture capture;
        readSequence(blob, back);
        QVERIFY(capture.lines().isEmpty());
    }
    QCOMPARE(back.status, QDataStream::Ok);
    QCOMPARE(back.sequence.size(), sequence.size());
    QCOMPARE(writeSequence(back.sequence), blob);
    qDeleteAll(sequence);
}

void TestTsqSequenceElements::goldenDefaults()
{
    TsqTestSequenceElementResistanceTest resistance(17);
    QCOMPARE(writeElement(resistance), QByteArray::fromHex("061102C8C001"));

    TsqTestSequenceElementSPO2Simulation spo2(181);
    QCOMPARE(writeElement(spo2), QByteArray::fromHex("10B51E5A003201000084030000000001"));
    spo2.perfusion = 0.29;
    QCOMPARE(writeElement(spo2).mid(5, 1), QByteArray::fromHex("02"));

    TsqTestSequenceElementSPO2MonitorType monitor;
    QCOMPARE(monitor.length, quint8(36));
    const QByteArray monitorBytes = writeElement(monitor);
    QCOMPARE(monitorBytes, QByteArray::fromHex("17B4") + QByteArray("Nellcor (standard)")
                               + QByteArray::fromHex("000000"));
    QCOMPARE(monitor.length, quint8(23));

    std::unique_ptr<TsqTestSequenceElement> patient(TsqTestSequenceElement::create(81));
    const QByteArray patientBytes = writeElement(*patient);
    QCOMPARE(patientBytes.size(), 28);
    // B: 100, 100, 100, 50; BF normal AC 0.
    QCOMPARE(patientBytes.mid(2, 11), QByteArray::fromHex("02E843E843E8438893" "00C0"));
    QCOMPARE(patientBytes.at(27), char(6));

    TsqTestSequenceElementPatientLeakageFTest fType(98);
    QCOMPARE(writeElement(fType), QByteArray::fromHex("0C6202C489C489C489C48909"));

    std::unique_ptr<TsqTestSequenceElement> ecg(TsqTestSequenceElement::create(182));
    QCOMPARE(writeElement(*ecg), QByteArray::fromHex("08B6013C00010100"));
}

void TestTsqSequenceElements::defaultsByEquipmentClass()
{
    using Leakage = TsqTestSequenceElementLeakageTest;
    using Insulation = TsqTestSequenceElementInsulationTest;
    QCOMPARE(written<Leakage>(64, 2), QByteArray::fromHex("084002E843885305"));
    QCOMPARE(written<Leakage>(64, 1), QByteArray::fromHex("084002E843885307"));
    QCOMPARE(written<Leakage>(70, 1), QByteArray::fromHex("084602E803E80300"));
    QCOMPARE(written<Leakage>(70, 2), QByteArray::fromHex("0846028853885300"));
    QCOMPARE(written<Insulation>(33, 2), QByteArray::fromHex("062102D0C701"));
    QCOMPARE(written<Insulation>(33, 1), QByteArray::fromHex("062102E8C301"));
    QCOMPARE(written<Insulation>(46, 2), QByteArray::fromHex("062E02589B01"));
    QCOMPARE(written<Insulation>(114, 2), QByteArray::fromHex("067202E8C301"));

    Leakage earth49(49, 1);
    QCOMPARE(earth49.conditions.validConditions, quint8(1));
    Leakage equipment70(70, 1);
    QCOMPARE(equipment70.conditions.validConditions, quint8(0));

    TsqTestSequenceElementPatientLeakageTest patient80(80, 2);
    QCOMPARE(patient80.conditions.conditions, quint8(3));
    QCOMPARE(patient80.conditions.validConditions, quint8(7));
    TsqTestSequenceElementPatientLeakageTest patient84(84, 1);
    QCOMPARE(patient84.conditions.conditions, quint8(6));
    TsqTestSequenceElementPatientLeakageTest patient113(113, 2);
    QCOMPARE(patient113.conditions.conditions, quint8(0));
    QCOMPARE(patient113.limits[4], 9.0);
    QCOMPARE(patient113.limits[8], 0.0);
}

void TestTsqSequenceElements::textLengthsFollowTheText()
{
    TsqTestSequenceElementUserTest user;
    user.testName = QString(250, QLatin1Char('n'));
    QByteArray bytes = writeElement(user);
    QCOMPARE(user.length, quint8(204));
    QCOMPARE(bytes.size(), 204);
    QCOMPARE(quint8(bytes.at(0)), quint8(204));

    TsqTestSequenceElementNIBPSettingsOCurve curve;
    curve.monitorName = QString(40, QLatin1Char('c'));
    bytes = writeElement(curve);
    QCOMPARE(bytes.size(), 201);
    QCOMPARE(quint8(bytes.at(0)), quint8(201));

    // A read element whose texts changed writes its new length.
    ReadResult back;
    readSequence(bytes, back);
    QCOMPARE(back.sequence.size(), 1);
    auto* read = dynamic_cast<TsqTestSequenceElementNIBPSettingsOCurve*>(back.sequence.first());
    QVERIFY(read);
    QCOMPARE(read->monitorName, QString(31, QLatin1Char('c')));
    read->monitorName = QStringLiteral("X");
    QCOMPARE(writeElement(*read).size(), 171);
}

void TestTsqSequenceElements::templatesCopyPayload()
{
    TsqTestSequenceElementLeakageTest source(64, 1);
    source.limit = 123.0;
    source.conditions = TsqConditionByte(2, 5);
    TsqTestSequenceElementLeakageTest copy(67, 2, &source);
    QCOMPARE(int(copy.id), 67);
    QCOMPARE(copy.limit, 123.0);
    QCOMPARE(copy.sfcLimit, 500.0);
    QCOMPARE(copy.conditions.validConditions, quint8(5));

    TsqTestSequenceElementCorvixSetHalvexSettings halvex;
    halvex.furtherBytes[9] = 0x5A;
    TsqTestSequenceElementCorvixSetHalvexSettings halvexCopy(&halvex);
    QCOMPARE(writeElement(halvexCopy).at(27), char(0x5A));
}

void TestTsqSequenceElements::blobSkipsUnknownAndOverlongRecords()
{
    ReadResult empty;
    readSequence(QByteArray(), empty);
    QVERIFY(empty.sequence.isEmpty());
    QVERIFY(writeSequence(TsqTestSequence()).isEmpty());

    // A resistance record, an unknown record of length 5, an IEC wiring record.
    const QByteArray blob = QByteArray::fromHex("061102C8C001" "05FEAABBCC" "039103");
    {
        MessageCapture capture;
        ReadResult result;
        readSequence(blob, result);
        QCOMPARE(result.status, QDataStream::Ok);
        QCOMPARE(result.sequence.size(), 2);
        QCOMPARE(capture.lines(), QList<QString>{QStringLiteral("Unrecognised id with value: 254")});
        QCOMPARE(writeSequence(result.sequence), QByteArray::fromHex("061102C8C001" "039103"));
    }

    // A record longer than its class reads: the extra bytes are skipped.
    ReadResult overlong;
    readSequence(QByteArray::fromHex("081102C8C001AABB" "039105"), overlong);
    QCOMPARE(overlong.sequence.size(), 2);
    auto* wiring = dynamic_cast<TsqTestSequenceElementIECWiringTest*>(overlong.sequence.at(1));
    QVERIFY(wiring);
    QCOMPARE(wiring->numberOfTests, quint8(5));
    // A record shorter than its class reads leaves zeros in the missing fields.
    ReadResult shortRecord;
    readSequence(QByteArray::fromHex("041102C8"), shortRecord);
    QCOMPARE(shortRecord.sequence.size(), 1);
    auto* resistance = dynamic_cast<TsqTestSequenceElementResistanceTest*>(shortRecord.sequence.first());
    QCOMPARE(resistance->duration, quint8(2));
    QCOMPARE(resistance->numberOfTests, quint8(0));
}

void TestTsqSequenceElements::corruptBlobsStopReading()
{
    const QByteArray good = QByteArray::fromHex("061102C8C001");
    // Lengths 0 and 1, a record running past the data, a lone length byte.
    for (const char* tail : {"0011", "01FE0000", "20910102", "07"}) {
        MessageCapture capture;
        ReadResult result;
        const QByteArray after = qstrlen(tail) == 2 ? QByteArray() : good;
        readSequence(good + QByteArray::fromHex(tail) + after, result);
        QVERIFY2(result.status == QDataStream::ReadCorruptData, tail);
        QCOMPARE(result.sequence.size(), 1);
        QCOMPARE(capture.lines().size(), 1);
        QVERIFY(capture.lines().first().startsWith(QStringLiteral("Corrupt element data")));
    }
}

PELVANE_TEST_MAIN(TestTsqSequenceElements)
#include "TestTsqSequenceElements.moc"
