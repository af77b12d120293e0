#include "database/Database.h"
#include "mainwindow/MainWindow.h"
#include "support/DialogAnswerer.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <cstdio>
#include <memory>

namespace {

// The manual as the build lays it out beside the program (the tests run in
// the build folder).
const QString kBuiltManual = QStringLiteral("Docs/Pelvane User Manual.pdf");

QString besideTheProgram()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Docs/Pelvane User Manual.pdf");
}

// The program's output, or a null text when it did not run to a good end.
QString run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput() + ' ').chopped(1);
}

const QString kNoViewer =
    QStringLiteral("No program to open PDF files was found on this computer. The user manual is at:\n%1");
const QString kViewerFailed =
    QStringLiteral("The PDF viewer failed to open the user manual. The user manual is at:\n%1");

class BoxPrinter : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            if (auto* box = qobject_cast<QMessageBox*>(watched))
                std::printf("BOX:%s\n", qPrintable(box->text()));
        return false;
    }
};

} // namespace

// Opens the manual from the Help menu in a child program (on the platform
// and with the PATH the test gave it) and prints every message box's text.
PELVANE_CHILD_SCENARIO(openManualFromHelp)
{
    QSettings().setValue(QStringLiteral("language/translation"), QStringLiteral("Translations/pelvane_en.qm"));
    MainWindow window;
    // Seen when shown, before the child's answerer closes it.
    BoxPrinter printer;
    qApp->installEventFilter(&printer);
    window.findChild<QAction*>("actionUserManual")->trigger();
    // The desktop's opener runs on its own; its answer is awaited.
    const bool answered = QTest::qWaitFor([] { return !qApp->findChild<QProcess*>(); }, 10000);
    std::fflush(stdout);
    return answered ? 0 : 1;
}

class TestUserManual : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void manualIsLaidOutWithEveryChapter();
    void helpMenuAlwaysOffersIt();
    void missingManualIsReported();
    void viewerOrItsAbsenceIsReported_data();
    void viewerOrItsAbsenceIsReported();
    void desktopViewerOpensTheManual();

private:
    // Puts the built manual beside this test program for as long as the test runs.
    bool placeManual();
    QString m_placed;
    QByteArray m_path;
};

void TestUserManual::initTestCase()
{
    QVERIFY2(QFile::exists(kBuiltManual), "the build lays out the manual into Docs/");
    m_path = qgetenv("PATH");
}

void TestUserManual::init()
{
    TestEnvironment::clearSettings();
    QSettings().setValue(QStringLiteral("language/translation"), QStringLiteral("Translations/pelvane_en.qm"));
}

void TestUserManual::cleanup()
{
    qputenv("PATH", m_path);
    if (!m_placed.isEmpty()) {
        QFile::remove(m_placed);
        QDir().rmdir(QFileInfo(m_placed).absolutePath());
        m_placed.clear();
    }
    Database::setInstance(nullptr);
}

bool TestUserManual::placeManual()
{
    const QString target = besideTheProgram();
    if (QFile::exists(target))
        return true;
    if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !QFile::copy(kBuiltManual, target))
        return false;
    m_placed = target;
    return true;
}

void TestUserManual::manualIsLaidOutWithEveryChapter()
{
    QFile pdf(kBuiltManual);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(5) == "%PDF-");
    pdf.close();

    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
    if (pdftotext.isEmpty() || pdftoppm.isEmpty()) {
        if (qgetenv("CI") == "true")
            QFAIL("poppler-utils is missing");
        QSKIP("poppler-utils is missing; run scripts/setup");
    }
    // Ligatures ("fi") come back as single characters; compatibility
    // normalisation spells them out.
    const QString text = run(pdftotext, {"-layout", kBuiltManual, "-"}).normalized(QString::NormalizationForm_KC);
    for (const char* chapter : {"Tavisk Pelvane User Manual", "Connecting a database", "The asset register",
                                "Download and upload", "Results and alerts", "Test sequences", "Certificates"})
        QVERIFY2(text.contains(QLatin1String(chapter)), chapter);
    QVERIFY(text.contains("Import Pelvane V1 Database..."));
    QVERIFY(text.contains("Comparison Alerts..."));

    // The first page carries text and pictures, not an empty sheet.
    const QString prefix = TestEnvironment::instance()->newFolder("render") + "/page";
    QVERIFY(!run(pdftoppm, {"-f", "1", "-l", "1", "-r", "50", "-png", kBuiltManual, prefix}).isNull());
    QImage page(prefix + "-1.png");
    QVERIFY(!page.isNull());
    QVERIFY(page.height() > page.width());
    int dark = 0;
    int coloured = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.lightness() < 100)
                ++dark;
            if (qAbs(c.red() - c.blue()) > 60)
                ++coloured;
        }
    }
    QVERIFY2(dark > page.width() * page.height() / 100, qPrintable(QString::number(dark)));
    QVERIFY(coloured > 0);
}

void TestUserManual::helpMenuAlwaysOffersIt()
{
    // No manual beside the test program, no database: the entry is there.
    QVERIFY(!QFile::exists(besideTheProgram()));
    MainWindow window;
    auto* manual = window.findChild<QAction*>("actionUserManual");
    QVERIFY(manual);
    QVERIFY(manual->isVisible());
    QVERIFY(manual->isEnabled());
    QVERIFY(window.findChild<QMenu*>("menuHelp")->actions().contains(manual));
    QCOMPARE(manual->text(), QString("User Manual"));
}

void TestUserManual::missingManualIsReported()
{
    MainWindow window;
    DialogAnswerer answerer;
    window.findChild<QAction*>("actionUserManual")->trigger();
    QCOMPARE(answerer.count(), 1);
    QVERIFY2(answerer.last().text.startsWith("The user manual could not be found."), qPrintable(answerer.last().text));
    QVERIFY(answerer.last().text.contains(QDir::toNativeSeparators(besideTheProgram())));
}

void TestUserManual::viewerOrItsAbsenceIsReported_data()
{
    QTest::addColumn<QString>("opener"); // what xdg-open does; empty: there is none
    QTest::addColumn<QString>("message"); // empty: none
    QTest::newRow("no xdg-open") << QString() << kNoViewer;
    // As xdg-open ends when no program on the desktop opens PDF files.
    QTest::newRow("no program for PDF files") << "echo 'no method available' >&2; exit 3" << kNoViewer;
    QTest::newRow("the viewer fails") << "exit 4" << kViewerFailed;
    QTest::newRow("ended by a signal") << "kill -KILL $$" << kViewerFailed;
    QTest::newRow("a viewer opens it") << "printf '%s' \"$1\" > \"$0.log\"" << QString();
}

void TestUserManual::viewerOrItsAbsenceIsReported()
{
    QFETCH(QString, opener);
    QFETCH(QString, message);
    const bool reported = !message.isEmpty();
    QVERIFY(placeManual());
    const QString bin = TestEnvironment::instance()->newFolder("bin");
    if (!opener.isEmpty()) {
        QFile script(bin + "/xdg-open");
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n" + opener.toUtf8() + "\n");
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    qputenv("PATH", QFile::encodeName(bin));
    MainWindow window;
    DialogAnswerer answerer;
    window.findChild<QAction*>("actionUserManual")->trigger();
    // Whatever the opener said has been heard once it is gone.
    QTRY_VERIFY_WITH_TIMEOUT(!qApp->findChild<QProcess*>(), 10000);
    if (reported) {
        QVERIFY(answerer.waitForCount(1));
        QCOMPARE(answerer.last().text, message.arg(QDir::toNativeSeparators(besideTheProgram())));
    } else {
        QFile log(bin + "/xdg-open.log");
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(log.readAll()), besideTheProgram());
    }
    QCOMPARE(answerer.count(), int(reported));
}

void TestUserManual::desktopViewerOpensTheManual()
{
    QVERIFY(placeManual());
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    if (xvfb.isEmpty() || !QFile::exists("/usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqxcb.so")) {
        if (qgetenv("CI") == "true")
            QFAIL("Xvfb or Qt's xcb platform is missing");
        QSKIP("Xvfb or Qt's xcb platform is missing; run scripts/setup");
    }
    // A private X display for the desktop services of a child program.
    int display = 90 + int(QCoreApplication::applicationPid() % 400);
    while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)) ||
           QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)))
        ++display;
    QProcess server;
    server.start(xvfb, {QStringLiteral(":%1").arg(display), "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    QVERIFY(server.waitForStarted());
    auto stop = qScopeGuard([&] {
        server.terminate();
        server.waitForFinished(5000);
    });
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)), 10000);

    // A stand-in for the desktop's opener: it notes what it was asked to open.
    const QString bin = TestEnvironment::instance()->newFolder("bin");
    const QString log = bin + "/opened.txt";
    QFile script(bin + "/xdg-open");
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1.part' && mv '%1.part' '%1'\n").arg(log).toUtf8());
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const QByteArray previousDisplay = qgetenv("DISPLAY");
    auto restore = qScopeGuard([&] {
        qputenv("QT_QPA_PLATFORM", platform);
        qputenv("DISPLAY", previousDisplay);
    });
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("DISPLAY", QStringLiteral(":%1").arg(display).toLatin1());

    // Without any opener on the path the user is told.
    qputenv("PATH", QFile::encodeName(TestEnvironment::instance()->newFolder("empty-bin")) + ":/usr/bin/env-less");
    ChildResult child = runChildScenario("openManualFromHelp");
    QCOMPARE(child.exitCode, 0);
    QVERIFY2(child.output.contains(kNoViewer.arg(besideTheProgram()).toUtf8()), child.output.constData());
    QVERIFY(!QFile::exists(log));

    // With one, the manual is handed to it and nothing is shown.
    qputenv("PATH", QFile::encodeName(bin) + ':' + m_path);
    child = runChildScenario("openManualFromHelp");
    QCOMPARE(child.exitCode, 0);
    QVERIFY2(!child.output.contains("BOX:"), child.output.constData());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(log), 10000);
    QFile opened(log);
    QVERIFY(opened.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(opened.readAll()).trimmed(), besideTheProgram());
}

PELVANE_TEST_MAIN(TestUserManual)
#include "TestUserManual.moc"
