#include "portwell/ConfigRecord.h"
#include "portwell/ShowException.h"
#include "portwell/TForm1.h"
#include "tests/portwell/ModalAnswerer.h"
#include "tests/portwell/PrivateConfigFolder.h"
#include "tests/portwell/PtyTester.h"
#include "tests/portwell/ToolOnTester.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <QtWidgets>

#include <atomic>
#include <cstring>
#include <memory>
#include <thread>

// The firmware upload of the tool's window against a tester stand-in on a
// pseudo-terminal. The one-second tick is stopped and driven by hand, so
// that silent periods take no real time.
class TestFirmwareUpload : public QObject
{
    Q_OBJECT
public:
    static void initMain() { usePrivateConfigFolder(); }
private slots:
    void init();
    void cleanup();
    void blocksGoOutExactlyAndSuccessIsReported();
    void nakRepeatsTheBlock();
    void nakOnTheFirstBlockWritesNothing();
    void silenceRepeatsTheBlockAfterThirtySeconds();
    void sixthFailureInARowAbandons();
    void lastLineWithoutLineFeedIsSent();
    void tinyFilesComplete();
    void yesToRestartStopsTheRunningUpload();
    void cancelledRestartShowsTheStoppedState_data();
    void cancelledRestartShowsTheStoppedState();
    void portVanishingEndsTheTransferAtOnce_data();
    void portVanishingEndsTheTransferAtOnce();
    void pictureDuringAnUpload();

private:
    QString firmware(const QByteArray& content);
    void startUpload(const QString& path);
    // An upload or a raw send, under way with its timer running.
    void startJob(bool rawSend);
    QTimer* secondTimer() { return m_tool.form->findChild<QTimer*>("SecondTimer"); }
    QTimer* hundredMsTimer() { return m_tool.form->findChild<QTimer*>("HundredMsTimer"); }
    // No job's timer runs and the port may be changed again.
    bool nothingRuns() { return !secondTimer()->isActive() && !hundredMsTimer()->isActive() && portControlsEnabled(); }
    QString labelText(const char* name) { return m_tool.form->findChild<QLabel*>(name)->text(); }
    bool portControlsEnabled()
    {
        return m_tool.form->findChild<QComboBox*>("cbComPorts")->isEnabled()
               && m_tool.form->findChild<QPushButton*>("configureComPortButton")->isEnabled();
    }
    QString status() { return m_tool.form->findChild<QLabel*>("lStatus")->text(); }
    // The port's event thread has ended and what it posted has been handled.
    bool portThreadDone()
    {
        const bool ended = PtyTester::waitFor([this] { return !m_tool.form->comPort().EventThreadRunning(); });
        QCoreApplication::processEvents();
        return ended;
    }
    void ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            RunGuarded([this] { m_tool.form->SecondTimerTimer(); });
    }

    ToolOnTester m_tool;
    int m_files = 0;
};

namespace {

// Lines of S-record text with CR LF ends.
QByteArray records(int count, bool lastLineFeed = true)
{
    QByteArray text;
    for (int i = 0; i < count; ++i) {
        text += "S113" + QByteArray::number(0x1000 + i * 16, 16).toUpper()
                + "0102030405060708090A0B0C0D0E0F" + QByteArray::number(i % 100).rightJustified(2, '0');
        text += "\r";
        if (i + 1 < count || lastLineFeed)
            text += "\n";
    }
    return text;
}

QList<QByteArray> linesOf(const QByteArray& text)
{
    QList<QByteArray> lines = text.split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QByteArray joined(const QList<QByteArray>& lines, int from, int count)
{
    QByteArray out;
    for (int i = from; i < from + count && i < lines.size(); ++i)
        out += lines.at(i);
    return out;
}

// Both jobs that hold the port: the upload and the raw send.
void jobRows()
{
    QTest::addColumn<bool>("rawSend");
    QTest::newRow("Code Update") << false;
    QTest::newRow("Send File") << true;
}

const QString AbandonText = QStringLiteral(
    "Comms failure - download abandoned\n\nPlease check Tester is ready for upgrade and \n"
    "Bluetooth Dongle is connected and configured correctly\n");

} // namespace

void TestFirmwareUpload::init()
{
    m_tool.start();
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(m_tool.answerer->count(), 0);
}

void TestFirmwareUpload::cleanup()
{
    m_tool.stop();
}

QString TestFirmwareUpload::firmware(const QByteArray& content)
{
    const QString path = QDir(m_tool.folder->path()).filePath(QStringLiteral("fw%1.hex").arg(++m_files));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return path;
}

void TestFirmwareUpload::startUpload(const QString& path)
{
    m_tool.answerer->queueFile(path);
    RunGuarded([this] { m_tool.form->mOpenFileClick(); });
    secondTimer()->stop();
}

void TestFirmwareUpload::startJob(bool rawSend)
{
    if (rawSend) {
        m_tool.answerer->queueFile(firmware(QByteArray(10000, 'r')));
        RunGuarded([this] { m_tool.form->mBitMapClick(); });
        // Right after a tick, so that the next one is far off.
        QVERIFY(m_tool.tester->waitForBytes(300));
    } else {
        m_tool.tester->queueReplies({PtyTester::Ack, PtyTester::Silent});
        m_tool.answerer->queueFile(firmware(records(60)));
        RunGuarded([this] { m_tool.form->mOpenFileClick(); });
        QVERIFY(m_tool.tester->waitForBlocks(2));
    }
    QCOMPARE(status(), QStringLiteral("In Progress"));
}

void TestFirmwareUpload::blocksGoOutExactlyAndSuccessIsReported()
{
    const QByteArray text = records(60);
    const QList<QByteArray> lines = linesOf(text);
    m_tool.tester->setDefaultReply(PtyTester::Ack);
    m_tool.tester->queueReplies({PtyTester::Silent});
    startUpload(firmware(text));

    QVERIFY(m_tool.tester->waitForBlocks(1));
    const QByteArray first = "\x02L" + QByteArray::number(text.size()) + "\n" + joined(lines, 0, 25) + "\x03";
    QCOMPARE(m_tool.tester->blocks().at(0), first);
    QVERIFY(m_tool.tester->blocks().at(0).count('\r') == 25);
    QCOMPARE(status(), QStringLiteral("Erasing..."));
    QVERIFY(!portControlsEnabled());

    // The tester has erased: from its ACK on, one block per ACK.
    m_tool.tester->send("\x06");
    QVERIFY(m_tool.tester->waitForBlocks(3));
    QVERIFY(PtyTester::waitFor([this] { return m_tool.answerer->count() == 1; }));
    QCOMPARE(m_tool.tester->blocks().at(1), "\x02" + joined(lines, 25, 25) + "\x03");
    QCOMPARE(m_tool.tester->blocks().at(2), "\x02" + joined(lines, 50, 10) + "\x03");
    QCOMPARE(m_tool.tester->blocks().size(), 3);
    QVERIFY(!m_tool.tester->blocks().at(0).mid(1 + 1 + QByteArray::number(text.size()).size() + 1).contains('\n'));
    QVERIFY(!m_tool.tester->blocks().at(1).contains('\n'));

    QCOMPARE(m_tool.answerer->last().title, QStringLiteral("Download Status"));
    QCOMPARE(m_tool.answerer->last().text,
             QStringLiteral("Completed successfully\nFile size transferred = %1\nLines sent = 35\nRetries = 0")
                 .arg(text.size()));
    QCOMPARE(status(), QStringLiteral("Completed successfully"));
    QCOMPARE(m_tool.form->windowTitle(), QStringLiteral("Portwell 0%"));
    QCOMPARE(m_tool.form->findChild<QLabel*>("lPercentDone")->text(), QStringLiteral("0%"));
    QVERIFY(portControlsEnabled());
    QVERIFY(!secondTimer()->isActive());
}

void TestFirmwareUpload::nakRepeatsTheBlock()
{
    const QByteArray text = records(40);
    m_tool.tester->setDefaultReply(PtyTester::Ack);
    m_tool.tester->queueReplies({PtyTester::Silent, PtyTester::Nak, PtyTester::Nak});
    startUpload(firmware(text));
    QVERIFY(m_tool.tester->waitForBlocks(1));
    m_tool.tester->send("\x06");
    QVERIFY(PtyTester::waitFor([this] { return m_tool.answerer->count() == 1; }));

    const QList<QByteArray> blocks = m_tool.tester->blocks();
    QCOMPARE(blocks.size(), 4);
    QCOMPARE(blocks.at(2), blocks.at(1));
    QCOMPARE(blocks.at(3), blocks.at(1));
    QCOMPARE(blocks.at(1), "\x02" + joined(linesOf(text), 25, 15) + "\x03");
    QVERIFY(m_tool.answerer->last().text.endsWith(QStringLiteral("Lines sent = 15\nRetries = 2")));
}

void TestFirmwareUpload::nakOnTheFirstBlockWritesNothing()
{
    const QByteArray text = records(30);
    m_tool.tester->queueReplies({PtyTester::Nak});
    m_tool.tester->setDefaultReply(PtyTester::Ack);
    startUpload(firmware(text));
    QVERIFY(m_tool.tester->waitForBlocks(1));
    const qsizetype before = m_tool.tester->received().size();
    QTest::qWait(200);
    m_tool.tester->pump();
    QCOMPARE(m_tool.tester->received().size(), before);

    m_tool.tester->send("\x06");
    QVERIFY(PtyTester::waitFor([this] { return m_tool.answerer->count() == 1; }));
    QCOMPARE(m_tool.tester->blocks().size(), 2);
    QVERIFY(m_tool.answerer->last().text.endsWith(QStringLiteral("Retries = 1")));
}

void TestFirmwareUpload::silenceRepeatsTheBlockAfterThirtySeconds()
{
    const QByteArray text = records(30);
    m_tool.tester->queueReplies({PtyTester::Ack, PtyTester::Silent});
    startUpload(firmware(text));
    QVERIFY(m_tool.tester->waitForBlocks(2));
    QCOMPARE(status(), QStringLiteral("In Progress"));

    ticks(30);
    QTest::qWait(100);
    m_tool.tester->pump();
    QCOMPARE(m_tool.tester->blocks().size(), 2);
    ticks(1);
    QVERIFY(m_tool.tester->waitForBlocks(3));
    QCOMPARE(m_tool.tester->blocks().at(2), m_tool.tester->blocks().at(1));
    QCOMPARE(m_tool.form->findChild<QLabel*>("lTimePassed")->text(), QStringLiteral("00:00:31"));

    m_tool.tester->send("\x06");
    QVERIFY(PtyTester::waitFor([this] { return m_tool.answerer->count() == 1; }));
    QVERIFY(m_tool.answerer->last().text.endsWith(QStringLiteral("Retries = 1")));
}

void TestFirmwareUpload::sixthFailureInARowAbandons()
{
    const QByteArray text = records(30);
    m_tool.tester->queueReplies({PtyTester::Ack, PtyTester::Nak, PtyTester::Nak, PtyTester::Nak,
                            PtyTester::Nak, PtyTester::Nak});
    startUpload(firmware(text));
    // The second block and its five repeats.
    QVERIFY(m_tool.tester->waitForBlocks(7));
    QTest::qWait(50);
    ticks(1);
    QCOMPARE(m_tool.answerer->count(), 0);
    QVERIFY(!portControlsEnabled());

    // The sixth NAK in a row: its repeat goes out, the next tick abandons.
    m_tool.tester->send("\x15");
    QVERIFY(m_tool.tester->waitForBlocks(8));
    QTest::qWait(50);
    QCOMPARE(m_tool.answerer->count(), 0);
    ticks(1);
    QCOMPARE(m_tool.answerer->count(), 1);
    QCOMPARE(m_tool.answerer->last().title, QStringLiteral("Download Status"));
    QCOMPARE(m_tool.answerer->last().text, AbandonText);
    QCOMPARE(status(), QStringLiteral("Comms failure - download abandoned"));
    QCOMPARE(m_tool.form->windowTitle(), QStringLiteral("Portwell 0%"));
    QVERIFY(portControlsEnabled());

    // An ACK now finds no upload: it is shown as text.
    m_tool.tester->send("\x06");
    QVERIFY(PtyTester::waitFor([this] {
        return m_tool.form->findChild<QPlainTextEdit*>("mInData")->toPlainText() == QStringLiteral("\x06");
    }));
    QCOMPARE(m_tool.tester->blocks().size(), 8);
}

void TestFirmwareUpload::lastLineWithoutLineFeedIsSent()
{
    // 25 lines fill the first block; a last line of one byte without its
    // line feed must still reach the tester.
    const QByteArray text = records(25) + "X";
    m_tool.tester->setDefaultReply(PtyTester::Ack);
    startUpload(firmware(text));
    QVERIFY(PtyTester::waitFor([this] { return m_tool.answerer->count() == 1; }));
    m_tool.tester->pump();
    QCOMPARE(m_tool.tester->blocks().size(), 2);
    QCOMPARE(m_tool.tester->blocks().at(1), QByteArray("\x02X\x03"));
    QVERIFY(m_tool.answerer->last().text.contains(QStringLiteral("File size transferred = %1").arg(text.size())));

    // Exactly 25 lines: one block, and its ACK completes the upload.
    m_tool.tester->clear();
    m_tool.answerer->clear();
    startUpload(firmware(records(25)));
    QVERIFY(PtyTester::waitFor([this] { return m_tool.answerer->count() == 1; }));
    QTest::qWait(50);
    m_tool.tester->pump();
    QCOMPARE(m_tool.tester->blocks().size(), 1);
    QVERIFY(m_tool.answerer->last().text.startsWith(QStringLiteral("Completed successfully")));
}

void TestFirmwareUpload::tinyFilesComplete()
{
    m_tool.tester->setDefaultReply(PtyTester::Ack);
    startUpload(firmware("S"));
    QVERIFY(PtyTester::waitFor([this] { return m_tool.answerer->count() == 1; }));
    QCOMPARE(m_tool.tester->blocks().value(0), QByteArray("\x02L1\nS\x03"));
    QCOMPARE(m_tool.answerer->last().text,
             QStringLiteral("Completed successfully\nFile size transferred = 1\nLines sent = 0\nRetries = 0"));

    m_tool.tester->clear();
    startUpload(firmware(QByteArray()));
    QVERIFY(PtyTester::waitFor([this] { return m_tool.answerer->count() == 2; }));
    QCOMPARE(m_tool.tester->blocks().value(0), QByteArray("\x02L0\n\x03"));

}

void TestFirmwareUpload::yesToRestartStopsTheRunningUpload()
{
    m_tool.tester->queueReplies({PtyTester::Ack, PtyTester::Silent});
    startUpload(firmware(records(60)));
    QVERIFY(m_tool.tester->waitForBlocks(2));
    secondTimer()->start();

    m_tool.answerer->queueYes(false);
    RunGuarded([this] { m_tool.form->mOpenFileClick(); });
    QCOMPARE(m_tool.answerer->last().text, QStringLiteral("Already downloading. Cancel and start again?"));
    QCOMPARE(m_tool.answerer->last().title, QStringLiteral("Warning"));
    QVERIFY(secondTimer()->isActive());
    QVERIFY(!portControlsEnabled());

    // Yes, and then no file: the old upload is over all the same.
    m_tool.answerer->queueYes(true);
    m_tool.answerer->queueFile(QString());
    RunGuarded([this] { m_tool.form->mOpenFileClick(); });
    QCOMPARE(m_tool.answerer->count(), 2);
    QVERIFY(!secondTimer()->isActive());
    QVERIFY(portControlsEnabled());
    m_tool.tester->send("\x06");
    QVERIFY(PtyTester::waitFor([this] {
        return !m_tool.form->findChild<QPlainTextEdit*>("mInData")->toPlainText().isEmpty();
    }));
    QTest::qWait(50);
    m_tool.tester->pump();
    QCOMPARE(m_tool.tester->blocks().size(), 2);
}

void TestFirmwareUpload::cancelledRestartShowsTheStoppedState_data()
{
    jobRows();
}

void TestFirmwareUpload::cancelledRestartShowsTheStoppedState()
{
    QFETCH(bool, rawSend);
    startJob(rawSend);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(m_tool.form->findChild<QProgressBar*>("pbDownload")->value() > 0);

    // Cancel and start again, then no file after all: nothing runs, and
    // the window says so.
    m_tool.answerer->queueYes(true);
    m_tool.answerer->queueFile(QString());
    RunGuarded([this, rawSend] { rawSend ? m_tool.form->mBitMapClick() : m_tool.form->mOpenFileClick(); });
    QCOMPARE(m_tool.answerer->count(), 1);
    QVERIFY(nothingRuns());
    QCOMPARE(status(), QStringLiteral("Ready"));
    QCOMPARE(m_tool.form->findChild<QProgressBar*>("pbDownload")->value(), 0);
    QCOMPARE(labelText("lPercentDone"), QStringLiteral("0 %"));
    QCOMPARE(labelText("lTimePassed"), QStringLiteral("00:00:00"));
    QCOMPARE(labelText("lTimeEstimate"), QStringLiteral("00:00:00"));
    QCOMPARE(m_tool.form->windowTitle(), QStringLiteral("Portwell"));
}

void TestFirmwareUpload::portVanishingEndsTheTransferAtOnce_data()
{
    QTest::addColumn<bool>("rawSend");
    QTest::addColumn<bool>("duringAWrite");
    QTest::newRow("Code Update, between writes") << false << false;
    QTest::newRow("Send File, between writes") << true << false;
    QTest::newRow("Code Update, during a write") << false << true;
    QTest::newRow("Send File, during a write") << true << true;
}

void TestFirmwareUpload::portVanishingEndsTheTransferAtOnce()
{
    QFETCH(bool, rawSend);
    QFETCH(bool, duringAWrite);
    // The job's timer runs for real: whatever it would still try shows.
    startJob(rawSend);
    if (QTest::currentTestFailed())
        return;
    std::thread pullOut;
    const auto joined = qScopeGuard([&pullOut] {
        if (pullOut.joinable())
            pullOut.join();
    });
    if (duringAWrite) {
        // The line takes nothing, so the job's next write waits on it (an
        // upload's at the ACK, a raw send's at its tick) while the far end goes.
        m_tool.tester->takeNothing();
        auto writing = std::make_shared<std::atomic<bool>>(false);
        m_tool.form->comPort().SetBeforeWrite([writing](const char*, bool, int) { *writing = true; });
        pullOut = std::thread([tester = m_tool.tester.get(), writing] {
            for (QDeadlineTimer deadline(30000); !*writing && !deadline.hasExpired();)
                QThread::msleep(1);
            tester->vanish();
        });
        if (!rawSend)
            m_tool.tester->send("\x06");
    } else {
        m_tool.tester->vanish();
    }

    // One message, naming the lost port and the end of the transfer.
    QVERIFY(PtyTester::waitFor([this] { return m_tool.answerer->count() == 1; }));
    QCOMPARE(m_tool.answerer->last().text,
             QStringLiteral("The serial port %1 was lost (%2).\n\nThe upload stopped.")
                 .arg(m_tool.tester->slaveName(), QString::fromLocal8Bit(std::strerror(EIO))));
    QVERIFY(!m_tool.form->comPort().Active());
    QVERIFY(nothingRuns());
    QCOMPARE(status(), QStringLiteral("Comms failure - download abandoned"));
    QCOMPARE(m_tool.form->windowTitle(), QStringLiteral("Portwell 0%"));
    QVERIFY(portThreadDone());
    ticks(31 * 7);
    QCOMPARE(m_tool.answerer->count(), 1);

    // A raw send on the closed port gives up at its first tick, once.
    m_tool.answerer->queueFile(firmware(QByteArray(1000, 'r')));
    RunGuarded([this] { m_tool.form->mBitMapClick(); });
    QVERIFY(PtyTester::waitFor([this] { return m_tool.answerer->count() == 2; }));
    QCOMPARE(m_tool.answerer->last().text, AbandonText);
    QVERIFY(nothingRuns());
    QVERIFY(portThreadDone());
    QCOMPARE(m_tool.answerer->count(), 2);
}

void TestFirmwareUpload::pictureDuringAnUpload()
{
    // A picture of the window while an upload runs, for a person to look at:
    // PORTWELL_SCREENSHOT names the PNG to write.
    const QString picture = qEnvironmentVariable("PORTWELL_SCREENSHOT");
    const QByteArray text = records(400);
    QList<PtyTester::Reply> replies(6, PtyTester::Ack);
    replies.append(PtyTester::Silent);
    m_tool.tester->queueReplies(replies);
    m_tool.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tool.form.get()));
    m_tool.tester->send("Boot v2.14 ready\r\nErasing flash ... ");
    QVERIFY(PtyTester::waitFor([this] {
        return m_tool.form->findChild<QPlainTextEdit*>("mInData")->toPlainText().contains("Erasing");
    }));
    startUpload(firmware(text));
    secondTimer()->start();
    QVERIFY(m_tool.tester->waitForBlocks(7));
    QTest::qWait(2200);
    QVERIFY(m_tool.form->findChild<QProgressBar*>("pbDownload")->value() > 30);
    QCOMPARE(status(), QStringLiteral("In Progress"));
    const QString estimate = m_tool.form->findChild<QLabel*>("lTimeEstimate")->text();
    QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$")).match(estimate).hasMatch());
    QVERIFY(estimate != QStringLiteral("00:00:00"));
    if (!picture.isEmpty()) {
        QScreen* screen = m_tool.form->screen();
        QVERIFY(screen->grabWindow(0).save(picture));
    }
}

QTEST_MAIN(TestFirmwareUpload)
#include "TestFirmwareUpload.moc"
