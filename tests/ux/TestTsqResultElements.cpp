#include "MessageCapture.h"
#include "support/TestEnvironment.h"
#include "ux/TsqTestResultElementApApLeakageTest.h"
#include "ux/TsqTestResultElementApLeakageTest.h"
#include "ux/TsqTestResultElementIECWiringTest.h"
#include "ux/TsqTestResultElementLeakageTest.h"
#include "ux/TsqTestResultElementResistanceTest.h"
#include "ux/TsqTestResultElementSingleTest.h"
#include "ux/TsqTestResultElementUserTest.h"
#include "ux/TsqTestResults.h"

#include <QtTest>
#include <memory>

using namespace Ux;

namespace {

const QList<int> resultIds = {1,  17, 18, 21, 32, 33, 34, 35,  46,  47,  48,  49,  50,  51,
                              64, 66, 67, 69, 70, 80, 83, 71,  72,  81,  82,  84,  85,  96,
                              98, 99, 100, 112, 114, 115, 113, 144, 146, 147, 148, 149, 145, 253};

struct Results
{
    TsqTestResults list;
    QDataStream::Status status = QDataStream::Ok;
    ~Results() { qDeleteAll(list); }
};

void readResults(const QByteArray& bytes, Results& results)
{
    QDataStream in(bytes);
    in.setByteOrder(QDataStream::LittleEndian);
    in >> results.list;
    results.status = in.status();
}

QByteArray writeElement(TsqTestResultElement& element)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    element.write(out, true);
    return bytes;
}

} // namespace

class TestTsqResultElements : public QObject
{
    Q_OBJECT
private slots:
    void resistanceListEndsAtEndRecord();
    void unknownAndOverlongRecords();
    void negativeAndUserResultsRoundTrip();
    void everyKindRoundTrips();
    void corruptListsStop();
};

void TestTsqResultElements::resistanceListEndsAtEndRecord()
{
    Results results;
    readResults(QByteArray::fromHex("071196C0E8C301" "02FF" "039101"), results);
    QCOMPARE(results.status, QDataStream::Ok);
    QCOMPARE(results.list.size(), 1);
    const TsqTestResultElement* e = results.list.first();
    QCOMPARE(int(e->id), 17);
    QCOMPARE(e->result(), double(0.15f));
    QCOMPARE(e->limit(), 1.0);
    QCOMPARE(e->status(), 1);
    QCOMPARE(e->relation(), -1);
    QCOMPARE(e->conditions(), 0);
}

void TestTsqResultElements::unknownAndOverlongRecords()
{
    MessageCapture capture;
    Results results;
    readResults(QByteArray::fromHex("053CAABBCC" "0501AABBCC" "039105"), results);
    QCOMPARE(results.status, QDataStream::Ok);
    QCOMPARE(results.list.size(), 2);
    QCOMPARE(capture.lines(), QList<QString>{QStringLiteral("Unrecognised id with value: 60")});
    QCOMPARE(results.list.at(0)->status(), 2); // visual test status 0xAA: bits 0-1 = 2
    QCOMPARE(results.list.at(1)->result(), 5.0);
}

void TestTsqResultElements::negativeAndUserResultsRoundTrip()
{
    TsqTestResultElementSingleTest single;
    single.id = 146;
    single.resultValue = -2.5f;
    single.statusByte.value = 0x01;
    QCOMPARE(writeElement(single), QByteArray::fromHex("0592C4C909"));

    TsqTestResultElementUserTest user;
    user.name = QStringLiteral("Leak");
    user.units = QStringLiteral("uA");
    user.resultValue = 12.5f;
    user.statusByte.value = 0x02;
    const QByteArray bytes = writeElement(user);
    QCOMPARE(bytes, QByteArray::fromHex("0DFD4C65616B00754100E28402"));

    Results results;
    readResults(writeElement(single) + bytes, results);
    QCOMPARE(results.list.size(), 2);
    QCOMPARE(results.list.at(0)->result(), -2.5);
    QCOMPARE(results.list.at(1)->testName(), QStringLiteral("Leak"));
    QCOMPARE(results.list.at(1)->testUnits(), QStringLiteral("uA"));
    QCOMPARE(results.list.at(1)->result(), 12.5);
    QCOMPARE(results.list.at(1)->status(), 2);
}

void TestTsqResultElements::everyKindRoundTrips()
{
    QByteArray list;
    for (int id : resultIds) {
        std::unique_ptr<TsqTestResultElement> element(TsqTestResultElement::create(quint8(id)));
        const QByteArray bytes = writeElement(*element);
        QCOMPARE(int(quint8(bytes.at(0))), int(bytes.size()));
        list += bytes;
    }
    Results results;
    readResults(list + QByteArray::fromHex("02FF"), results);
    QCOMPARE(results.list.size(), int(resultIds.size()));
    QByteArray again;
    for (TsqTestResultElement* element : results.list)
        again += writeElement(*element);
    QCOMPARE(again, list);
}

void TestTsqResultElements::corruptListsStop()
{
    MessageCapture capture;
    for (const char* bytes : {"039101" "0091" "039101", "039101" "0F1196C0", "039101" "07"}) {
        Results results;
        readResults(QByteArray::fromHex(bytes), results);
        QCOMPARE(results.status, QDataStream::ReadCorruptData);
        QCOMPARE(results.list.size(), 1);
    }
}

PELVANE_TEST_MAIN(TestTsqResultElements)
#include "TestTsqResultElements.moc"
