#include "InstrumentRecords.h"
#include "SqlRows.h"
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
    return SqlRows::row(QStringLiteral("SELECT Id FROM Asset WHERE Name='%1'").arg(name)).toInt();
}

int addGlobalSequence(const QString& name)
{
    SqlRows::exec("INSERT INTO GlobalTestSequence (Name,EquipmentClass,Data) VALUES (?,2,x'0201')", {name});
    return SqlRows::row("SELECT MAX(Id) FROM GlobalTestSequence").toInt();
}

template <typename Record>
Record read(const QByteArray& bytes)
{
    QDataStream in(bytes);
    in.setByteOrder(QDataStream::LittleEndian);
    Record out;
    in >> out.header >> out;
    return out;
}

QByteArray endRecord()
{
    return QByteArray::fromHex("600200a9010000aaff");
}

} // namespace

// Uploads from a real SQLite file to a simulated instrument over a
// pseudo-terminal.
class TestUpload : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        instrument = std::make_unique<SimulatedInstrument>();
        QVERIFY(instrument->isValid());
        answerer = std::make_unique<DialogAnswerer>();
        db = SeededDatabase::createSeeded(TestEnvironment::instance()->newFolder() + "/upload.db");
        QVERIFY(db);
        QDir(TransferTempFile::folder()).removeRecursively();
    }

    void cleanup()
    {
        Database::setInstance(nullptr);
        db = nullptr;
        answerer.reset();
        instrument.reset();
    }

    void twoAssetsAndASequence()
    {
        const int pump = assetId("Pump 1");
        const int monitor = assetId("Monitor A");
        QVERIFY(pump && monitor);
        const int routine = addGlobalSequence("Routine");
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

        QCOMPARE(read<Ux::TsqStartOfTransfer>(packets.at(0).data).numberOfRecords, 3);
        QCOMPARE(read<Ux::TsqMedicalApplianceResult>(packets.at(1).data).applianceName, QStringLiteral("Pump 1"));
        QCOMPARE(read<Ux::TsqMedicalApplianceResult>(packets.at(3).data).applianceName, QStringLiteral("Monitor A"));
        QCOMPARE(read<Ux::TsqTestSequenceBlock>(packets.at(4).data).name, QStringLiteral("Routine"));
        QCOMPARE(packets.at(5).data, endRecord());

        for (int i : {0, 1, 3, 4, 5})
            QCOMPARE(fileContents(TransferTempFile::path("export", packets.at(i).id)), packets.at(i).data);
        QCOMPARE(QDir(TransferTempFile::folder()).entryList(QDir::Files).size(), 5);
    }

    void recordsThatCannotBeSentAreLeftOutAndNamed()
    {
        const int pump = assetId("Pump 1");
        const int monitor = assetId("Monitor A");
        QVERIFY(pump && monitor);
        // Too long for the record's own length fields.
        SqlRows::exec("INSERT INTO TestSequence (Name,AssetId,Data) VALUES ('Long',?,?)",
                      {monitor, QByteArray(70000, '\x02')});
        const int routine = addGlobalSequence("Routine");
        // Fits the record's fields, but the record is longer than a packet holds.
        const int big = addGlobalSequence("Big");
        SqlRows::exec("UPDATE GlobalTestSequence SET Data=? WHERE Id=?", {QByteArray(65500, '\x02'), big});
        instrument->setDefaultAnswer(SimulatedInstrument::AnswerAck);
        answerer->pressNext("OK");

        const UploadRequest r = request({monitor, pump}, {big, routine});
        Upload upload(&r);
        whenShown(&upload, [&] { instrument->waitUntil([&] { return !upload.isVisible(); }, 3000); },
                  [&upload] { upload.abort(); });
        upload.start();
        instrument->waitForSeen(4, 1000);

        QCOMPARE(upload.result(), int(QDialog::Accepted));
        const QList<Seen> packets = instrument->seenOfKind(Seen::Packet);
        QCOMPARE(ids(packets), QList<int>({4, 5, 6, 7}));
        QCOMPARE(read<Ux::TsqStartOfTransfer>(packets.at(0).data).numberOfRecords, 2);
        QCOMPARE(read<Ux::TsqMedicalApplianceResult>(packets.at(1).data).applianceName, QStringLiteral("Pump 1"));
        QCOMPARE(read<Ux::TsqTestSequenceBlock>(packets.at(2).data).name, QStringLiteral("Routine"));
        QCOMPARE(packets.at(3).data, endRecord());

        // The ready question, then one message at the end naming both.
        QVERIFY(answerer->waitForCount(2));
        QCOMPARE(answerer->count(), 2);
        QVERIFY2(answerer->last().text.contains("\"Monitor A\""), qPrintable(answerer->last().text));
        QVERIFY2(answerer->last().text.contains("\"Big\""), qPrintable(answerer->last().text));
        QVERIFY(!answerer->last().text.contains("Routine"));
    }

    void packetIdsWrapAfter126()
    {
        QList<int> sequences;
        for (int i = 0; i < 125; ++i)
            sequences << addGlobalSequence(QStringLiteral("Sequence %1").arg(i));
        instrument->setDefaultAnswer(SimulatedInstrument::AnswerAck);
        answerer->pressNext("OK");

        const UploadRequest r = request({}, sequences);
        Upload upload(&r);
        upload.start();
        instrument->waitForSeen(127, 1000);

        QList<int> expected;
        for (int i = 0; i < 127; ++i)
            expected << 4 + i % 123;
        const QList<Seen> packets = instrument->seenOfKind(Seen::Packet);
        QCOMPARE(ids(packets), expected);
        QCOMPARE(read<Ux::TsqStartOfTransfer>(packets.first().data).numberOfRecords, 125);
        QCOMPARE(read<Ux::TsqTestSequenceBlock>(packets.at(123).data).name, QStringLiteral("Sequence 122"));
        QCOMPARE(packets.last().data, endRecord());
        // The second packet with id 4 replaced the header's file.
        QCOMPARE(fileContents(TransferTempFile::path("export", 4)), packets.at(123).data);
        QCOMPARE(upload.progressValue(), 100);
    }

    void abortStopsSending()
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

    void vanishedDeviceEndsTheUpload()
    {
        answerer->pressNext("OK");
        const UploadRequest r = request({assetId("Pump 1")}, {});
        Upload upload(&r);
        whenShown(
            &upload,
            [&] {
                QVERIFY(instrument->waitForSeen(1, 3000));
                // Unplugged while the header waits for its answer.
                instrument.reset();
                QTRY_VERIFY_WITH_TIMEOUT(!upload.isVisible(), 3000);
            },
            [&upload] { upload.abort(); });
        upload.start();
        QCOMPARE(upload.result(), int(QDialog::Rejected));
        QVERIFY(answerer->waitForCount(2, 3000));
        QVERIFY2(answerer->last().text.contains(r.portName), qPrintable(answerer->last().text));
    }

private:
    UploadRequest request(const QList<int>& assets, const QList<int>& sequences) const
    {
        UploadRequest r;
        r.assetIds = assets;
        r.globalSequenceIds = sequences;
        r.portName = instrument->portName();
        r.baudRate = 115200;
        return r;
    }


    std::unique_ptr<SimulatedInstrument> instrument;
    std::unique_ptr<DialogAnswerer> answerer;
    SqliteDatabase* db = nullptr;
};


PELVANE_TEST_MAIN(TestUpload)
#include "TestUpload.moc"
