#include "core/AppPaths.h"
#include "core/DialogErrorMessage.h"
#include "core/Error.h"
#include "core/MessageHandler.h"
#include "support/DialogAnswerer.h"
#include "support/TestEnvironment.h"

#include <QLabel>
#include <QMessageBox>
#include <QThread>
#include <cstdio>
#include <QtTest>

PELVANE_CHILD_SCENARIO(fatalReport)
{
    std::printf("ROOT %s\n", qPrintable(TestEnvironment::instance()->root()));
    std::fflush(stdout);
    Error::report("F", "boom", ErrorFatal, 2, "File", 68);
    return 0; // not reached
}

PELVANE_CHILD_SCENARIO(fatalReportFromWorker)
{
    QThread* worker = QThread::create([] { Error::report("W", "worker boom", ErrorFatal, 0, "W.cpp", 7); });
    worker->start();
    QEventLoop loop;
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    loop.exec();
    return 0; // not reached
}

PELVANE_CHILD_SCENARIO(logMessages)
{
    qInstallMessageHandler(messageHandler);
    qDebug("plain %s", qPrintable(args.value(0)));
    qWarning("careful");
    qInstallMessageHandler(nullptr);
    return 0;
}

// A first run: nothing of the data folder exists yet.
PELVANE_CHILD_SCENARIO(firstRunLog)
{
    if (QFileInfo::exists(dataFolder()))
        return 2;
    installMessageHandler();
    qDebug("first words");
    qInstallMessageHandler(nullptr);
    QFile log(logFilePath());
    if (!log.open(QIODevice::ReadOnly))
        return 3;
    const QByteArray text = log.readAll();
    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    return text.contains("first words") && text.contains(QFile::encodeName(dataFolder())) ? 0 : 4;
}

PELVANE_CHILD_SCENARIO(criticalMessage)
{
    qInstallMessageHandler(messageHandler);
    qCritical("it broke");
    qInstallMessageHandler(nullptr);
    return 5;
}

PELVANE_CHILD_SCENARIO(fatalMessage)
{
    qInstallMessageHandler(messageHandler);
    qFatal("gone");
    return 0; // not reached
}

class TestErrorReporting : public QObject
{
    Q_OBJECT
private slots:
    void criticalReportShowsTheDialogAndReturns();
    void lowerSeveritiesUseMessageBoxes_data();
    void lowerSeveritiesUseMessageBoxes();
    void reportFromAWorkerThreadIsShownByTheGuiThread();
    void fatalReportEndsWithExitCodeOne_data();
    void fatalReportEndsWithExitCodeOne();
    void dialogShowsTheIconOfItsSeverity();
    void severityNames();
    void logIsReplacedEachRunWithPrefixes();
    void firstRunKeepsItsLog();
    void severeMessagesAreLogged_data();
    void severeMessagesAreLogged();
    void dataFolderAndFallback();
};

void TestErrorReporting::criticalReportShowsTheDialogAndReturns()
{
    DialogAnswerer answerer;
    Error::report("F", "boom", ErrorCritical, 2, "File", 68);
    QCOMPARE(answerer.count(), 1);
    const auto seen = answerer.last();
    QCOMPARE(seen.className, QString("DialogErrorMessage"));
    QCOMPARE(seen.title, QString("Fatal Error"));
    QCOMPARE(seen.text, QString("Critical warning at F (line 68 of File): boom"));
    QVERIFY(seen.informative.startsWith("A critical error has occurred"));
}

void TestErrorReporting::lowerSeveritiesUseMessageBoxes_data()
{
    QTest::addColumn<int>("severity");
    QTest::addColumn<int>("icon");
    QTest::newRow("warning") << 1 << int(QMessageBox::Warning);
    QTest::newRow("debug") << 0 << int(QMessageBox::Information);
    QTest::newRow("out of range") << 7 << int(QMessageBox::Information);
}

void TestErrorReporting::lowerSeveritiesUseMessageBoxes()
{
    QFETCH(int, severity);
    QFETCH(int, icon);
    DialogAnswerer answerer;
    Error::report("F", "just so you know", severity, 99, "File", 1);
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.last().className, QString("QMessageBox"));
    QCOMPARE(answerer.last().text, QString("just so you know"));
    QCOMPARE(answerer.last().icon, icon);
    QVERIFY(answerer.last().title.isEmpty() || answerer.last().title == QCoreApplication::applicationName());
}

void TestErrorReporting::reportFromAWorkerThreadIsShownByTheGuiThread()
{
    DialogAnswerer answerer;
    QThread* guiThread = QThread::currentThread();
    QThread* shownOn = nullptr;
    QObject probe;
    answerer.answerNext([&](QWidget* w) {
        shownOn = QThread::currentThread();
        static_cast<QDialog*>(w)->accept();
    });
    bool returned = false;
    QThread* worker = QThread::create([&] {
        Error::report("W", "from a worker", ErrorCritical, 0, "W.cpp", 3);
        returned = true;
    });
    worker->start();
    QTRY_VERIFY_WITH_TIMEOUT(worker->isFinished(), 5000);
    delete worker;
    QVERIFY(returned);
    QCOMPARE(shownOn, guiThread);
    QCOMPARE(answerer.last().text, QString("Critical warning at W (line 3 of W.cpp): from a worker"));
}

void TestErrorReporting::fatalReportEndsWithExitCodeOne_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::newRow("gui thread") << "fatalReport";
    QTest::newRow("worker thread") << "fatalReportFromWorker";
}

void TestErrorReporting::fatalReportEndsWithExitCodeOne()
{
    QFETCH(QString, scenario);
    const ChildResult r = runChildScenario(scenario);
    QVERIFY(!r.crashed);
    QCOMPARE(r.exitCode, 1);
    // Nothing removes the child's folder as it ends: this process's does.
    if (scenario == QLatin1String("fatalReport"))
        QVERIFY2(r.output.contains("ROOT " + QFile::encodeName(TestEnvironment::instance()->root()) + "/pelvane-test-"),
                 r.output.constData());
}

void TestErrorReporting::dialogShowsTheIconOfItsSeverity()
{
    DialogErrorMessage fatal("text", ErrorFatal);
    QVERIFY(!fatal.findChild<QWidget*>("fatalErrorIcon")->isHidden());
    QVERIFY(fatal.findChild<QWidget*>("criticalErrorIcon")->isHidden());
    QVERIFY(fatal.findChild<QLabel*>("errorInfo")->text().startsWith("A fatal error has occurred"));

    DialogErrorMessage critical("text", ErrorCritical);
    QVERIFY(critical.findChild<QWidget*>("fatalErrorIcon")->isHidden());
    QVERIFY(!critical.findChild<QWidget*>("criticalErrorIcon")->isHidden());

    DialogErrorMessage other("text", ErrorWarning);
    QVERIFY(other.findChild<QWidget*>("fatalErrorIcon")->isHidden());
    QVERIFY(other.findChild<QWidget*>("criticalErrorIcon")->isHidden());
    QVERIFY(other.findChild<QLabel*>("errorInfo")->text().isEmpty());
    QCOMPARE(other.windowTitle(), QString("Fatal Error"));
}

void TestErrorReporting::severityNames()
{
    const QStringList names = {"Debug", "Warning", "Critical", "Fatal"};
    for (int severity = 0; severity < names.size(); ++severity)
        QCOMPARE(Error::severityName(severity), names.at(severity));
}

void TestErrorReporting::logIsReplacedEachRunWithPrefixes()
{
    QDir().mkpath(dataFolder());
    ChildResult r = runChildScenario("logMessages", {"first"}, 60000, true);
    QCOMPARE(r.exitCode, 0);
    r = runChildScenario("logMessages", {"second"}, 60000, true);
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.output.contains("plain second\r\n"));

    QFile log(dataFolder() + "/debug_output.txt");
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll(), QByteArray("plain second\r\nWARNING: careful\r\n"));
}

void TestErrorReporting::firstRunKeepsItsLog()
{
    const ChildResult r = runChildScenario("firstRunLog");
    QVERIFY(!r.crashed);
    QVERIFY2(r.exitCode == 0, r.output.constData());
}

void TestErrorReporting::severeMessagesAreLogged_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("log");
    QTest::newRow("critical returns") << "criticalMessage" << 5 << QByteArray("CRITICAL: it broke\r\n");
    QTest::newRow("fatal ends the program") << "fatalMessage" << 1 << QByteArray("FATAL: gone\r\n");
}

void TestErrorReporting::severeMessagesAreLogged()
{
    QFETCH(QString, scenario);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, log);
    QDir().mkpath(dataFolder());
    const ChildResult r = runChildScenario(scenario, {}, 60000, true);
    QVERIFY(!r.crashed);
    QCOMPARE(r.exitCode, exitCode);
    QFile file(dataFolder() + "/debug_output.txt");
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), log);
}

void TestErrorReporting::dataFolderAndFallback()
{
    QVERIFY(dataFolder().endsWith("/Tavisk/Pelvane V2"));
    QVERIFY(dataFolder().startsWith(TestEnvironment::instance()->root()));
    QCOMPARE(normaliseCommonAppDataFolder("C:\\ProgramData\\x"), QString("C:/ProgramData/x"));
    const QString fallback = normaliseCommonAppDataFolder(QString());
    QVERIFY(fallback.endsWith("/qt-common"));
    QVERIFY(!fallback.contains('\\'));
}

PELVANE_TEST_MAIN(TestErrorReporting)
#include "TestErrorReporting.moc"
