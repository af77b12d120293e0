#include "InstrumentRecords.h"
#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "support/DialogAnswerer.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"
#include "transfer/TransferTempFile.h"
#include "transfer/Upload.h"
#include "transfer/UploadRequest.h"

#include <QDir>
#include <QMessageBox>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace InstrumentRecords;
using Seen = SimulatedInstrument::Seen;

namespace {

int assetId(const QString& name)
{
    SqlQuery query;
    query.prepare(QStringLiteral("SELECT Id FROM Asset WHERE Name=:Name"));
    query.bindValue(QStringLiteral(":Name"), name);
    query.exec();
    return query.next() ? query.value(0).toInt() : 0;
}

int addGlobalSequence(const QString& name, int equipmentClass, const QByteArray& data)
{
    SqlQuery query;
    query.prepareInsert(QStringLiteral("GlobalTestSequence"), {"Name", "EquipmentClass", "Data"}, 0);
    query.bindValue(QStringLiteral(":Name"), name);
    query.bindValue(QStringLiteral(":EquipmentClass"), equipmentClass);
    query.bindValue(QStringLiteral(":Data"), data);
    query.exec();
    return query.lastInsertId(0);
}

QDataStream& reader(QDataStream& in, Ux::TsqHeader& header)
{
    in.setByteOrder(QDataStream::LittleEndian);
    in >> header;
    return in;
}

Ux::TsqStartOfTransfer readHeader(const QByteArray& record)
{
    QDataStream in(record);
    Ux::TsqStartOfTransfer out;
    reader(in, out.header) >> out;
    return out;
}

Ux::TsqMedicalApplianceResult readAsset(const QByteArray& record)
{
    QDataStream in(record);
    Ux::TsqMedicalApplianceResult out;
    reader(in, out.header) >> out;
    return out;
}

Ux::TsqTestSequenceBlock readSequence(const QByteArray& record)
{
    QDataStream in(record);
    Ux::TsqTestSequenceBlock out;
    reader(in, out.header) >> out;
    return out;
}

} // namespace

// Uploads from a real SQLite file to a simulated instrument over a
// pseudo-terminal.
class TestUpload : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void twoAssetsAndASequence();
    void packetIdsWrapAfter126();
    void emptyRequestSendsHeaderAndEnd();
    void cancelAtTheReadyQuestionSendsNothing();
    void abortStopsSending();
    void missingPort();

private:
    UploadRequest request(const QList<int>& assets, const QList<int>& sequences) const;

    std::unique_ptr<SimulatedInstrument> instrument;
    std::unique_ptr<DialogAnswerer> answerer;
    SqliteDatabase* db = nullptr;
};

void TestUpload::init()
{
    instrument = std::make_unique<SimulatedInstrument>();
    QVERIFY(instrument->isValid());
    answerer = std::make_unique<DialogAnswerer>();
    db = SeededDatabase::createSeeded(TestEnvironment::instance()->newFolder() + "/upload.db");
    QVERIFY(db);
    QDir(TransferTempFile::folder()).removeRecursively();
}

void TestUpload::cleanup()
{
    Database::setInstance(nullptr);
    db = nullptr;
    answerer.reset();
    instrument.reset();
}

UploadRequest TestUpload::request(const QList<int>& assets, const QList<int>& sequences) const
{
    UploadRequest r;
    r.assetIds = assets;
    r.globalSequenceIds = sequences;
    r.portName = instrument->portName();
    r.baudRate = 115200;
    return r;
}

void TestUpload::twoAssetsAndASequence()
{
    const int pump = assetId("Pump 1");
    const int monitor = assetId("Monitor A");
    QVERIFY(pump && monitor);
    const int routine = addGlobalSequence("Routine", 2, QByteArray::fromHex("0201"));
    // The first asset record is refused once.
    instrument->queueAnswers({SimulatedInstrument::AnswerAck, SimulatedInstrument::AnswerNck});
    instrument->setDefaultAnswer(SimulatedInstrument::AnswerAck);
    answerer->pressNext("OK");

    const UploadRequest r = request({pump, monitor}, {routine});
    Upload upload(&r);
    QList<int> progress;
    connect(instrument.get(), &SimulatedInstrument::frameSeen, &upload,
            [&](const Seen& frame) {
                if (frame.kind == Seen::Packet)
                    progress << upload.progressValue();
            });
    upload.start();
    instrument->waitForSeen(6, 1000);

    QCOMPARE(answerer->count(), 1);
    QCOMPARE(answerer->last().text, QStringLiteral("Press Ok when ready to send"));
    QCOMPARE(answerer->last().icon, int(QMessageBox::Information));
    QCOMPARE(upload.result(), int(QDialog::Accepted));

    const QList<Seen> packets = instrument->seenOfKind(Seen::Packet);
    QCOMPARE(instrument->seen().size(), packets.size());
    QCOMPARE(ids(packets), QList<int>({4, 5, 5, 6, 7, 8}));
    QCOMPARE(progress, QList<int>({0, 33, 33, 66, 100, 100}));
    // The frame after the NCK is the refused one, byte for byte.
    QCOMPARE(packets.at(2).raw, packets.at(1).raw);
    for (const Seen& packet : packets)
        QCOMPARE(packet.raw, SimulatedInstrument::frame(packet.id, packet.data));

    const Ux::TsqStartOfTransfer header = readHeader(packets.at(0).data);
    QCOMPARE(int(header.header.identifier), int(Ux::TsqStartOfTransferId));
    QCOMPARE(header.numberOfRecords, 3);
    QCOMPARE(readAsset(packets.at(1).data).applianceName, QStringLiteral("Pump 1"));
    const Ux::TsqMedicalApplianceResult second = readAsset(packets.at(3).data);
    QCOMPARE(second.applianceName, QStringLiteral("Monitor A"));
    QCOMPARE(second.overallResult, 255);
    QCOMPARE(readSequence(packets.at(4).data).name, QStringLiteral("Routine"));
    QCOMPARE(packets.at(5).data, QByteArray::fromHex("600200a9010000aaff"));

    for (int i : {0, 1, 3, 4, 5})
        QCOMPARE(fileContents(TransferTempFile::path("export", packets.at(i).id)), packets.at(i).data);
    QCOMPARE(QDir(TransferTempFile::folder()).entryList(QDir::Files).size(), 5);
}

void TestUpload::packetIdsWrapAfter126()
{
    QList<int> sequences;
    for (int i = 0; i < 125; ++i)
        sequences << addGlobalSequence(QStringLiteral("Sequence %1").arg(i), 1, QByteArray::fromHex("0201"));
    instrument->setDefaultAnswer(SimulatedInstrument::AnswerAck);
    answerer->pressNext("OK");

    const UploadRequest r = request({}, sequences);
    Upload upload(&r);
    upload.start();
    instrument->waitForSeen(127, 1000);

    QList<int> expected;
    for (int id = 4; id <= 126; ++id)
        expected << id;
    expected << 4 << 5 << 6 << 7;
    const QList<Seen> packets = instrument->seenOfKind(Seen::Packet);
    QCOMPARE(ids(packets), expected);
    QCOMPARE(readHeader(packets.first().data).numberOfRecords, 125);
    QCOMPARE(readSequence(packets.at(123).data).name, QStringLiteral("Sequence 122"));
    QCOMPARE(packets.last().data, QByteArray::fromHex("600200a9010000aaff"));
    // The second packet with id 4 replaced the header's file.
    QCOMPARE(fileContents(TransferTempFile::path("export", 4)), packets.at(123).data);
    QCOMPARE(upload.progressValue(), 100);
}

void TestUpload::emptyRequestSendsHeaderAndEnd()
{
    instrument->setDefaultAnswer(SimulatedInstrument::AnswerAck);
    answerer->pressNext("OK");
    const UploadRequest r = request({}, {});
    Upload upload(&r);
    upload.start();
    instrument->waitForSeen(2, 1000);

    const QList<Seen> packets = instrument->seenOfKind(Seen::Packet);
    QCOMPARE(ids(packets), QList<int>({4, 5}));
    QCOMPARE(readHeader(packets.at(0).data).numberOfRecords, 0);
    QCOMPARE(packets.at(1).data, QByteArray::fromHex("600200a9010000aaff"));
    QCOMPARE(upload.result(), int(QDialog::Accepted));
    QCOMPARE(upload.progressValue(), 100);
}

void TestUpload::cancelAtTheReadyQuestionSendsNothing()
{
    instrument->setDefaultAnswer(SimulatedInstrument::AnswerAck);
    answerer->pressNext("Cancel");
    const UploadRequest r = request({assetId("Pump 1")}, {});
    Upload upload(&r);
    QSignalSpy finished(&upload, &QDialog::finished);
    upload.start();
    QTest::qWait(50);

    QCOMPARE(answerer->count(), 1);
    QCOMPARE(finished.size(), 0);
    QVERIFY(instrument->received().isEmpty());
    QVERIFY(!QFile::exists(TransferTempFile::path("export", 4)));
}

void TestUpload::abortStopsSending()
{
    answerer->pressNext("OK");
    const UploadRequest r = request({assetId("Pump 1"), assetId("Pump 2")}, {});
    Upload upload(&r);
    whenShown(
        &upload,
        [&] {
            QVERIFY(instrument->waitForSeen(1, 3000));
            upload.abortBtnClicked();
        },
        [&upload] { upload.abort(); });
    upload.start();
    QCOMPARE(upload.result(), int(QDialog::Rejected));

    // A late ACK sends nothing more.
    QVERIFY(instrument->sendAck(4));
    QTest::qWait(100);
    instrument->pump();
    QCOMPARE(ids(instrument->seenOfKind(Seen::Packet)), QList<int>({4}));
}

void TestUpload::missingPort()
{
    UploadRequest r = request({assetId("Pump 1")}, {});
    r.portName = QStringLiteral("/dev/pelvane-no-such-port");
    Upload upload(&r);
    QSignalSpy finished(&upload, &QDialog::finished);
    upload.start();

    QCOMPARE(answerer->count(), 1);
    QCOMPARE(answerer->last().text, QStringLiteral("device failed to open"));
    QCOMPARE(finished.size(), 0);
    QVERIFY(!QDir(TransferTempFile::folder()).exists());
}

PELVANE_TEST_MAIN(TestUpload)
#include "TestUpload.moc"
