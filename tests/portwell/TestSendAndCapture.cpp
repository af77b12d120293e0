#include "portwell/ConfigRecord.h"
#include "portwell/ShowException.h"
#include "portwell/TForm1.h"
#include "tests/portwell/ModalAnswerer.h"
#include "tests/portwell/PrivateConfigFolder.h"
#include "tests/portwell/PtyTester.h"
#include "tests/portwell/ToolOnTester.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <QtWidgets>

#include <memory>

// The raw send and the capture of the tool's window against a tester
// stand-in on a pseudo-terminal. The 100-ms tick is driven by hand.
class TestSendAndCapture : public QObject
{
    Q_OBJECT
public:
    static void initMain() { usePrivateConfigFolder(); }
private slots:
    void init();
    void cleanup();
    void rawSendGoesOutInHundredByteSteps_data();
    void rawSendGoesOutInHundredByteSteps();
    void rawSendCompletesOnlyOnceItsLastBytesAreWritten_data();
    void rawSendCompletesOnlyOnceItsLastBytesAreWritten();
    void rawSendAbandonsAtTheSixthFailedWrite();
    void captureKeepsEveryByteUnchanged();
    void newCaptureClosesTheOpenOne();
    void cancelledCaptureChangesNothing();

private:
    QString file(const QByteArray& content);
    void tick()
    {
        RunGuarded([this] { m_tool.form->HundredMsTimerTimer(); });
    }
    QTimer* hundredMsTimer() { return m_tool.form->findChild<QTimer*>("HundredMsTimer"); }
    bool portControlsEnabled()
    {
        return m_tool.form->findChild<QComboBox*>("cbComPorts")->isEnabled()
               && m_tool.form->findChild<QPushButton*>("configureComPortButton")->isEnabled();
    }
    QString panel(int index)
    {
        return m_tool.form->findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(index))->text();
    }
    bool checked(const char* action) { return m_tool.form->findChild<QAction*>(action)->isChecked(); }

    ToolOnTester m_tool;
    int m_files = 0;
};

void TestSendAndCapture::init()
{
    m_tool.start();
}

void TestSendAndCapture::cleanup()
{
    m_tool.stop();
}

QString TestSendAndCapture::file(const QByteArray& content)
{
    const QString path = QDir(m_tool.folder->path()).filePath(QStringLiteral("send%1.bmp").arg(++m_files));
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(content);
    return path;
}

void TestSendAndCapture::rawSendGoesOutInHundredByteSteps_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<int>>("steps");
    QTest::newRow("250 bytes") << 250 << QList<int>{100, 100, 50};
    QTest::newRow("200 bytes") << 200 << QList<int>{100, 100};
    QTest::newRow("100 bytes") << 100 << QList<int>{100};
    QTest::newRow("7 bytes") << 7 << QList<int>{7};
}

void TestSendAndCapture::rawSendGoesOutInHundredByteSteps()
{
    QFETCH(int, size);
    QFETCH(QList<int>, steps);
    QByteArray content(size, Qt::Uninitialized);
    for (char& byte : content)
        byte = char(QRandomGenerator::global()->bounded(256));
    // No framing: even the upload's control bytes go out as they are.
    content[0] = '\x02';
    content[size - 1] = '\x03';

    m_tool.answerer->queueFile(file(content));
    RunGuarded([this] { m_tool.form->mBitMapClick(); });
    hundredMsTimer()->stop();
    QVERIFY(!portControlsEnabled());
    QCOMPARE(m_tool.form->findChild<QLabel*>("lStatus")->text(), QStringLiteral("In Progress"));

    int sent = 0;
    for (int i = 0; i < steps.size(); ++i) {
        tick();
        sent += steps.at(i);
        QVERIFY(m_tool.tester->waitForBytes(sent));
        QTest::qWait(30);
        m_tool.tester->pump();
        QCOMPARE(m_tool.tester->received().size(), sent);
        QCOMPARE(portControlsEnabled(), i + 1 == steps.size());
    }
    QCOMPARE(m_tool.tester->received(), content);
    QCOMPARE(m_tool.form->findChild<QLabel*>("lStatus")->text(), QStringLiteral("Completed"));
    QCOMPARE(m_tool.form->findChild<QProgressBar*>("pbDownload")->value(), 100);
    QCOMPARE(m_tool.form->findChild<QLabel*>("lPercentDone")->text(), QStringLiteral("100%"));
    QCOMPARE(m_tool.form->windowTitle(), QStringLiteral("Portwell 100%"));
    QCOMPARE(m_tool.answerer->count(), 0);

    // The chosen file is remembered for the next start.
    QFile config(m_tool.form->configFileName());
    QVERIFY(config.open(QIODevice::ReadOnly));
    QCOMPARE(ConfigRecord::fromBytes(config.readAll()).lastFilePath(),
             QDir(m_tool.folder->path()).filePath(QStringLiteral("send%1.bmp").arg(m_files)));
}

void TestSendAndCapture::rawSendCompletesOnlyOnceItsLastBytesAreWritten_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("250 bytes") << 250;
    QTest::newRow("100 bytes") << 100;
}

void TestSendAndCapture::rawSendCompletesOnlyOnceItsLastBytesAreWritten()
{
    QFETCH(int, size);
    const QByteArray content = QByteArray("0123456789").repeated(size / 10);
    m_tool.form->comPort().Timeouts().SetWriteConstant(100);
    m_tool.answerer->queueFile(file(content));
    RunGuarded([this] { m_tool.form->mBitMapClick(); });
    hundredMsTimer()->stop();
    // The whole hundreds before the completing tick.
    const int before = (size - 1) / 100;
    for (int i = 0; i < before; ++i)
        tick();
    QVERIFY(m_tool.tester->waitForBytes(before * 100));

    // The device takes nothing: the last bytes fail like any other write.
    m_tool.tester->takeNothing();
    tick();
    QCOMPARE(m_tool.answerer->count(), 1);
    QCOMPARE(m_tool.answerer->last().text, QStringLiteral("Time Out error - Problem sending data"));
    QCOMPARE(m_tool.answerer->last().title, QStringLiteral("Comms failure - download abandoned"));
    QCOMPARE(m_tool.form->findChild<QLabel*>("lStatus")->text(), QStringLiteral("In Progress"));
    QVERIFY(m_tool.form->findChild<QProgressBar*>("pbDownload")->value() < 100);
    QVERIFY(m_tool.form->windowTitle() != QStringLiteral("Portwell 100%"));
    QVERIFY(!portControlsEnabled());

    // Taken again: the same bytes at the next tick, and only then done.
    m_tool.tester->takeAgain();
    tick();
    QVERIFY(m_tool.tester->waitForBytes(size));
    QTest::qWait(30);
    m_tool.tester->pump();
    QCOMPARE(m_tool.tester->received(), content);
    QCOMPARE(m_tool.form->findChild<QLabel*>("lStatus")->text(), QStringLiteral("Completed"));
    QCOMPARE(m_tool.form->findChild<QProgressBar*>("pbDownload")->value(), 100);
    QCOMPARE(m_tool.form->windowTitle(), QStringLiteral("Portwell 100%"));
    QVERIFY(portControlsEnabled());
    QCOMPARE(m_tool.answerer->count(), 1);
}

void TestSendAndCapture::rawSendAbandonsAtTheSixthFailedWrite()
{
    m_tool.form->comPort().Timeouts().SetWriteConstant(50);
    m_tool.answerer->queueFile(file(QByteArray(1000, 'a')));
    RunGuarded([this] { m_tool.form->mBitMapClick(); });
    hundredMsTimer()->stop();
    tick();
    QVERIFY(m_tool.tester->waitForBytes(100));
    m_tool.tester->takeNothing();

    for (int failure = 1; failure <= 5; ++failure) {
        tick();
        QCOMPARE(m_tool.answerer->count(), failure);
        QCOMPARE(m_tool.answerer->last().text, QStringLiteral("Time Out error - Problem sending data"));
        QCOMPARE(m_tool.answerer->last().title, QStringLiteral("Comms failure - download abandoned"));
        QVERIFY(!portControlsEnabled());
    }
    tick();
    QCOMPARE(m_tool.answerer->count(), 6);
    QCOMPARE(m_tool.answerer->last().title, QStringLiteral("Download Status"));
    QCOMPARE(m_tool.answerer->last().text,
             QStringLiteral("Comms failure - download abandoned\n\nPlease check Tester is ready for upgrade "
                            "and \nBluetooth Dongle is connected and configured correctly\n"));
    QCOMPARE(m_tool.form->findChild<QLabel*>("lStatus")->text(), QStringLiteral("Comms failure - download abandoned"));
    QCOMPARE(m_tool.form->windowTitle(), QStringLiteral("Portwell 0%"));
    QVERIFY(portControlsEnabled());
}

void TestSendAndCapture::captureKeepsEveryByteUnchanged()
{
    const QString path = QDir(m_tool.folder->path()).filePath(QStringLiteral("capture.txt"));
    m_tool.answerer->queueFile(path);
    RunGuarded([this] { m_tool.form->mStartCaptureClick(); });
    QCOMPARE(panel(0), QStringLiteral("Capture ON"));
    QCOMPARE(panel(1), path);
    QVERIFY(checked("mStartCapture"));
    QVERIFY(!checked("mStopCapture"));
    QVERIFY(!portControlsEnabled());

    QByteArray sent;
    for (int round = 0; round < 4; ++round) {
        for (int i = 0; i < 256; ++i)
            sent.append(char(i));
        sent.append("\r\nline of text\n");
    }
    // In pieces, as a tester writes, with pauses so that they come as
    // several receive events.
    for (qsizetype pos = 0; pos < sent.size(); pos += 97) {
        m_tool.tester->send(sent.mid(pos, 97));
        QTest::qWait(5);
    }
    auto* memo = m_tool.form->findChild<QPlainTextEdit*>("mInData");
    QVERIFY(PtyTester::waitFor([&] { return QFileInfo(path).size() >= sent.size(); }));
    RunGuarded([this] { m_tool.form->mStopCaptureClick(); });
    QCOMPARE(panel(0), QStringLiteral("Capture OFF"));
    QVERIFY(!checked("mStartCapture"));
    QVERIFY(checked("mStopCapture"));
    QVERIFY(portControlsEnabled());

    QFile captured(path);
    QVERIFY(captured.open(QIODevice::ReadOnly));
    QCOMPARE(captured.readAll(), sent);
    QVERIFY(memo->toPlainText().contains(QStringLiteral("line of text")));

    // After Stop nothing more is written.
    m_tool.tester->send("after");
    QVERIFY(PtyTester::waitFor([&] { return memo->toPlainText().endsWith(QStringLiteral("after")); }));
    QCOMPARE(QFileInfo(path).size(), sent.size());
}

void TestSendAndCapture::newCaptureClosesTheOpenOne()
{
    const QString first = QDir(m_tool.folder->path()).filePath(QStringLiteral("first.txt"));
    const QString second = QDir(m_tool.folder->path()).filePath(QStringLiteral("second.txt"));
    m_tool.answerer->queueFile(first);
    RunGuarded([this] { m_tool.form->mStartCaptureClick(); });
    m_tool.tester->send("one");
    QVERIFY(PtyTester::waitFor([&] { return QFileInfo(first).size() == 3; }));

    m_tool.answerer->queueFile(second);
    RunGuarded([this] { m_tool.form->mStartCaptureClick(); });
    QCOMPARE(panel(1), second);
    m_tool.tester->send("two");
    QVERIFY(PtyTester::waitFor([&] { return QFileInfo(second).size() == 3; }));
    RunGuarded([this] { m_tool.form->mStopCaptureClick(); });

    QFile a(first), b(second);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    QCOMPARE(a.readAll(), QByteArray("one"));
    QCOMPARE(b.readAll(), QByteArray("two"));
}

void TestSendAndCapture::cancelledCaptureChangesNothing()
{
    m_tool.answerer->queueFile(QString());
    m_tool.form->findChild<QAction*>("mStartCapture")->trigger();
    QVERIFY(!checked("mStartCapture"));
    QVERIFY(checked("mStopCapture"));
    QCOMPARE(panel(0), QStringLiteral("Capture OFF"));
    QVERIFY(portControlsEnabled());

    // Stop while an upload runs: the port stays locked until it ends.
    m_tool.tester->setDefaultReply(PtyTester::Silent);
    m_tool.answerer->queueFile(file("S1130000\r\n"));
    RunGuarded([this] { m_tool.form->mOpenFileClick(); });
    QVERIFY(m_tool.tester->waitForBytes(5));
    RunGuarded([this] { m_tool.form->mStopCaptureClick(); });
    QVERIFY(!portControlsEnabled());
}

QTEST_MAIN(TestSendAndCapture)
#include "TestSendAndCapture.moc"
