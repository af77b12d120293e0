#include "support/TestEnvironment.h"
#include "ux/TsqEndOfTransfer.h"
#include "ux/TsqMedicalApplianceResult.h"
#include "ux/TsqStartOfTransfer.h"
#include "ux/TsqTestResults.h"
#include "ux/TsqTestSequence.h"
#include "ux/TsqTestSequenceBlock.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace Ux;

namespace {

QtMessageHandler previousHandler = nullptr;
void dropMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

template <typename Record>
QByteArray written(Record record)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << record;
    return bytes;
}

// Well-formed seeds that the mutations start from.
QList<QByteArray> seeds()
{
    TsqTestSequence sequence;
    for (int id : {1, 17, 33, 64, 71, 81, 96, 145, 176, 178, 179, 180, 181, 182, 186, 187, 188,
                   189, 193, 253})
        sequence.append(TsqTestSequenceElement::create(quint8(id)));
    QByteArray blob;
    QDataStream out(&blob, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << sequence;
    qDeleteAll(sequence);

    const QByteArray results = QByteArray::fromHex(
        "071196C0E8C301" "0840E84388534A25" "0971E8438853002530" "0592C4C909" "039101"
        "0DFD4C65616B00754100E28402" "0301" "01" "02FF");

    TsqStartOfTransfer start;
    start.testerType = QStringLiteral("Q");
    start.numberOfRecords = 3;
    start.calibrationDate = QDate(2010, 3, 1);
    TsqTestSequenceBlock block;
    block.name = QStringLiteral("Block");
    block.data = blob;
    TsqMedicalApplianceResult asset;
    asset.applianceName = QStringLiteral("Pump");
    asset.testDate = QDateTime(QDate(2011, 12, 31), QTime(14, 5, 9));
    asset.testSequenceData = blob;
    asset.testResultsData = results;
    return {blob, results, written(start), written(block), written(asset),
            written(TsqEndOfTransfer())};
}

QByteArray mutate(QByteArray bytes, QRandomGenerator& random)
{
    switch (random.bounded(5)) {
    case 0: // pure noise
        bytes.resize(random.bounded(300));
        for (char& c : bytes)
            c = char(random.bounded(256));
        return bytes;
    case 1: // truncation
        return bytes.left(random.bounded(int(bytes.size()) + 1));
    case 2: // flipped bytes
        for (int n = random.bounded(1, 6); n > 0 && !bytes.isEmpty(); --n)
            bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
        return bytes;
    case 3: // small-value lengths, where the checks matter most
        for (int n = random.bounded(1, 4); n > 0 && !bytes.isEmpty(); --n)
            bytes[random.bounded(int(bytes.size()))] = char(random.bounded(4));
        return bytes;
    default: // a slice pasted somewhere else
        if (bytes.size() > 2) {
            const int from = random.bounded(int(bytes.size()));
            const QByteArray slice = bytes.mid(from, random.bounded(1, 40));
            bytes.insert(random.bounded(int(bytes.size())), slice);
        }
        return bytes;
    }
}

template <typename Record>
void readRecord(const QByteArray& bytes)
{
    QDataStream in(bytes);
    in.setByteOrder(QDataStream::LittleEndian);
    Record record;
    in >> record.header;
    in >> record;
    // A record that was accepted writes again without trouble.
    if (in.status() == QDataStream::Ok)
        written(record);
}

// Runs every reader over bytes; returns how many readers accepted them.
int feedEveryReader(const QByteArray& bytes)
{
    int accepted = 0;
    {
        QDataStream in(bytes);
        in.setByteOrder(QDataStream::LittleEndian);
        TsqTestSequence sequence;
        in >> sequence;
        accepted += in.status() == QDataStream::Ok;
        // Whatever was read writes and reads back to the same elements.
        QByteArray again;
        QDataStream out(&again, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        out << sequence;
        QDataStream back(again);
        back.setByteOrder(QDataStream::LittleEndian);
        TsqTestSequence reread;
        back >> reread;
        QTest::qVerify(reread.size() == sequence.size(), "reread.size() == sequence.size()", "",
                       __FILE__, __LINE__);
        qDeleteAll(reread);
        qDeleteAll(sequence);
    }
    {
        QDataStream in(bytes);
        in.setByteOrder(QDataStream::LittleEndian);
        TsqTestResults results;
        in >> results;
        accepted += in.status() == QDataStream::Ok;
        for (TsqTestResultElement* element : results) {
            element->status();
            element->result();
            element->testName();
        }
        qDeleteAll(results);
    }
    readRecord<TsqStartOfTransfer>(bytes);
    readRecord<TsqTestSequenceBlock>(bytes);
    readRecord<TsqMedicalApplianceResult>(bytes);
    {
        QDataStream in(bytes);
        TsqEndOfTransfer end;
        in >> end;
    }
    return accepted;
}

} // namespace

class TestTsqFuzz : public QObject
{
    Q_OBJECT
private slots:
    void init() { previousHandler = qInstallMessageHandler(dropMessages); }
    void cleanup() { qInstallMessageHandler(previousHandler); }
    void seedsAreAccepted();
    void mutatedInputs();
    void everyTruncation();
};

void TestTsqFuzz::seedsAreAccepted()
{
    const QList<QByteArray> inputs = seeds();
    // Both lists share the record frame, so each list reader accepts either.
    QCOMPARE(feedEveryReader(inputs.at(0)), 2);
    QCOMPARE(feedEveryReader(inputs.at(1)), 2);
    // Noise that starts with a length byte of 0 is refused by both.
    QCOMPARE(feedEveryReader(QByteArray::fromHex("0011223344")), 0);
}

void TestTsqFuzz::mutatedInputs()
{
    // Fixed seed: a failure repeats on every run.
    QRandomGenerator random(20240531);
    const QList<QByteArray> inputs = seeds();
    int accepted = 0;
    for (int round = 0; round < 10000; ++round) {
        QByteArray bytes = inputs.at(random.bounded(int(inputs.size())));
        for (int n = random.bounded(1, 4); n > 0; --n)
            bytes = mutate(bytes, random);
        accepted += feedEveryReader(bytes);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("round %1: %2").arg(round).arg(QString::fromLatin1(bytes.toHex()))));
    }
    // Both outcomes occur: the mutations are neither all harmless nor all fatal.
    QVERIFY(accepted > 0);
    QVERIFY(accepted < 10000 * 2);
}

void TestTsqFuzz::everyTruncation()
{
    for (const QByteArray& seed : seeds()) {
        for (int size = 0; size <= seed.size(); ++size)
            feedEveryReader(seed.left(size));
    }
}

PELVANE_TEST_MAIN(TestTsqFuzz)
#include "TestTsqFuzz.moc"
