#include "CertificateFixture.h"
#include "PdfTools.h"
#include "certificates/DefaultCertificateTemplate.h"
#include "certificates/DialogCertificateGenerator.h"
#include "certificates/HtmlPrinter.h"
#include "support/DialogAnswerer.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

using namespace CertificateFixture;

namespace {

QString templates()
{
    return DialogCertificateGenerator::templatesFolder();
}

void writeTemplate(const QString& folder, const QString& html)
{
    QDir().mkpath(templates() + QLatin1Char('/') + folder);
    QFile file(templates() + QLatin1Char('/') + folder + QStringLiteral("/template.html"));
    file.open(QIODevice::WriteOnly);
    file.write(html.toUtf8());
}

QString m(const QString& name)
{
    return QStringLiteral("<!--###%1###-->").arg(name);
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// A disk that fills up: no file of this process grows past the limit while
// it lasts. Works for any user, root included, and needs no mounts.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_old{};
    void (*m_handler)(int) = nullptr;
};

} // namespace

class TestDialogCertificateGenerator : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensOnTheDefaultTemplateForTheFirstAsset();
    void storedStateChoosesTheTemplateAndFillsTheForm();
    void editsRedrawThePreviewOnceAfterTheTimer();
    void savesOnePdfPerAssetAndPrintsThePreviewAfterwards();
    void savesHtmlWithItsImagesAndNumbersRepeatedNames();
    void abortKeepsTheFilesWrittenAndWritesNoMore();
    void filesThatCannotBeWrittenAreListed();
    void aFullDiskLeavesNoPartialFileAndIsReported();
    void withoutAssetsThePreviewIsEmptyAndNothingCanBeSaved();

private:
    template<typename T> T* child(const DialogCertificateGenerator& d, const char* name)
    {
        return d.findChild<T*>(QLatin1String(name));
    }
    // Answers the save dialog that save() opens and waits for the run to end.
    // With report, the message listed after the run is answered too.
    void runSave(DialogCertificateGenerator& dialog, const QString& folder, const QString& pattern, int type,
                 bool report = false);

    SqliteDatabase* m_db = nullptr;
    std::unique_ptr<DialogAnswerer> m_answerer;
};

void TestDialogCertificateGenerator::init()
{
    TestEnvironment::clearSettings();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    QDir(templates()).removeRecursively();
    m_db = seeded();
    QVERIFY(m_db);
    addMonitorAResults(m_db);
    m_answerer = std::make_unique<DialogAnswerer>();
}

void TestDialogCertificateGenerator::cleanup()
{
    m_answerer.reset();
    Database::setInstance(nullptr);
    QLocale::setDefault(QLocale::c());
}

void TestDialogCertificateGenerator::runSave(DialogCertificateGenerator& dialog, const QString& folder,
                                             const QString& pattern, int type, bool report)
{
    m_answerer->answerNext([=](QWidget* w) {
        w->findChild<QLineEdit*>(QStringLiteral("directory"))->setText(folder);
        w->findChild<QLineEdit*>(QStringLiteral("fileName"))->setText(pattern);
        w->findChild<QComboBox*>(QStringLiteral("fileType"))->setCurrentIndex(type);
        qobject_cast<QDialog*>(w)->accept();
    });
    if (report)
        m_answerer->pressNext(QStringLiteral("OK"));
    QTest::mouseClick(child<QPushButton>(dialog, "saveBtn"), Qt::LeftButton);
    QVERIFY(dialog.saveRunning());
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.saveRunning(), 20000);
}

void TestDialogCertificateGenerator::opensOnTheDefaultTemplateForTheFirstAsset()
{
    writeTemplate(QStringLiteral("Another"), QStringLiteral("<p>") + m("ASSET_DETAILS_NAME") + "</p>");
    // A folder that holds a template of the user's: nothing is installed.
    QVERIFY(!DefaultCertificateTemplate::installIfEmpty(templates()));
    QDir(templates()).removeRecursively();

    DialogCertificateGenerator dialog({MonitorA, Pump1, MonitorB});
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Generate Certificate"));
    auto* folders = child<QComboBox>(dialog, "templateFolder");
    QCOMPARE(folders->count(), 1);
    QCOMPARE(folders->currentText(), QStringLiteral("_default (en)"));
    QFile installed(templates() + QStringLiteral("/_default (en)/template.html"));
    QVERIFY(installed.open(QIODevice::ReadOnly));
    QCOMPARE(installed.readAll(), DefaultCertificateTemplate::text());

    QVERIFY(!dialog.isDirty());
    const QString html = dialog.previewHtml();
    QVERIFY(html.contains(QStringLiteral("Monitor A")));
    QVERIFY(!html.contains(QStringLiteral("Pump 1")));
    QVERIFY(html.contains(QStringLiteral("Acme Test Limited")));
    QVERIFY(html.contains(QStringLiteral("Plug &amp; cable &lt;renewed&gt;")));
    QVERIFY(!html.contains(QStringLiteral("<!--###")));
    QCOMPARE(dialog.htmlPrinter()->footerHeight(), 10.0);
    QVERIFY(dialog.htmlPrinter()->footerHtml().contains(QStringLiteral("ResourceFiles/tavisk.jpg")));
    QVERIFY(child<QPushButton>(dialog, "saveBtn")->isEnabled());
    QVERIFY(child<QPushButton>(dialog, "printBtn")->isEnabled());
}

void TestDialogCertificateGenerator::storedStateChoosesTheTemplateAndFillsTheForm()
{
    writeTemplate(QStringLiteral("_default (en)"), QStringLiteral("default ") + m("TEST_COMPANY_NAME"));
    writeTemplate(QStringLiteral("Plain"), QStringLiteral("plain ") + m("TEST_COMPANY_NAME"));
    const QString logo = TestEnvironment::instance()->newFolder() + QStringLiteral("/logo.png");
    QFile(logo).open(QIODevice::WriteOnly);
    {
        DialogCertificateGenerator dialog({MonitorA});
        QCOMPARE(child<QComboBox>(dialog, "templateFolder")->currentText(), QStringLiteral("_default (en)"));
        child<QComboBox>(dialog, "templateFolder")->setCurrentIndex(1);
        child<QLineEdit>(dialog, "testCompanyName")->setText(QStringLiteral("Volt & Co"));
        child<QLineEdit>(dialog, "testCompanyLogo")->setText(logo);
        child<QLineEdit>(dialog, "signatureImage")->setText(QStringLiteral("/gone/signature.png"));
        child<QLineEdit>(dialog, "todaysDateFormat")->setText(QStringLiteral("yyyy"));
    }
    const QByteArray blob = QSettings().value(QStringLiteral("win/Certificates")).toByteArray();
    QDataStream in(blob);
    QStringList texts;
    for (int i = 0; i < 19; ++i) {
        QString text;
        in >> text;
        texts << text;
    }
    QCOMPARE(in.status(), QDataStream::Ok);
    QVERIFY(in.atEnd());
    QVERIFY(texts.at(0).endsWith(QStringLiteral("/Plain/template.html")));
    QCOMPARE(texts.at(2), QStringLiteral("Volt & Co"));
    QCOMPARE(texts.at(7), logo);
    QCOMPARE(texts.at(15), QStringLiteral("/gone/signature.png"));
    QCOMPARE(texts.at(18), QStringLiteral("yyyy"));

    {
        DialogCertificateGenerator dialog({MonitorA});
        QCOMPARE(child<QComboBox>(dialog, "templateFolder")->currentText(), QStringLiteral("Plain"));
        QCOMPARE(child<QLineEdit>(dialog, "testCompanyName")->text(), QStringLiteral("Volt & Co"));
        QCOMPARE(child<QLineEdit>(dialog, "testCompanyLogo")->text(), logo);
        // A stored image that no longer exists is not brought back.
        QCOMPARE(child<QLineEdit>(dialog, "signatureImage")->text(), QString());
        QCOMPARE(dialog.previewHtml(), QStringLiteral("plain Volt &amp; Co"));
    }
    // The stored folder has gone: the first folder is taken.
    QDir(templates() + QStringLiteral("/Plain")).removeRecursively();
    writeTemplate(QStringLiteral("0 first"), QStringLiteral("first"));
    DialogCertificateGenerator dialog({MonitorA});
    QCOMPARE(child<QComboBox>(dialog, "templateFolder")->currentText(), QStringLiteral("0 first"));
}

void TestDialogCertificateGenerator::editsRedrawThePreviewOnceAfterTheTimer()
{
    writeTemplate(QStringLiteral("_default (en)"), m("TEST_COMPANY_NAME") + "|" + m("CLIENT_DETAILS_NAME") + "|"
                                                       + m("TEST_DATE") + "|" + m("TEST_COMPANY_LOGO"));
    DialogCertificateGenerator dialog({MonitorA});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy painted(dialog.previewWidget(), &QPrintPreviewWidget::paintRequested);

    auto* company = child<QLineEdit>(dialog, "testCompanyName");
    auto* client = child<QLineEdit>(dialog, "clientDetailsName");
    company->setText(QStringLiteral("Spark <Ltd>"));
    emit company->editingFinished();
    client->setText(QStringLiteral("Clinic"));
    emit client->editingFinished();
    auto* dates = child<QLineEdit>(dialog, "testDateFormat");
    dates->setText(QStringLiteral("yyyy/MM/dd"));
    emit dates->editingFinished();
    auto* logo = child<QLineEdit>(dialog, "testCompanyLogo");
    logo->setText(QStringLiteral("/no/such/logo.png"));
    emit logo->editingFinished();

    QVERIFY(dialog.isDirty());
    QVERIFY(!dialog.previewHtml().contains(QStringLiteral("Spark")));
    QTest::qWait(500);
    QVERIFY(dialog.isDirty());
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isDirty(), 2000);
    QCOMPARE(dialog.previewHtml(), QStringLiteral("Spark &lt;Ltd&gt;|Clinic|2026/03/12|ResourceFiles/blank.png"));
    QCOMPARE(dialog.htmlPrinter()->document()->toPlainText(),
             QStringLiteral("Spark <Ltd>|Clinic|2026/03/12|ResourceFiles/blank.png"));
    // Four edits within the second: one redraw, and an idle tick after it.
    QCOMPARE(painted.count(), 1);
    QTest::qWait(1200);
    QCOMPARE(painted.count(), 1);
}

void TestDialogCertificateGenerator::savesOnePdfPerAssetAndPrintsThePreviewAfterwards()
{
    DialogCertificateGenerator dialog({MonitorA, Pump1, MonitorB});
    dialog.show();
    const QString preview = dialog.previewHtml();
    const QString folder = TestEnvironment::instance()->newFolder() + QStringLiteral("/new/sub");
    QSignalSpy documents(dialog.htmlPrinter()->document(), &QTextDocument::contentsChanged);
    runSave(dialog, folder, QStringLiteral("$(NUM) $(NAME)"), 0);
    QCOMPARE(filesIn(folder), (QStringList{"1 Monitor A.pdf", "2 Pump 1.pdf", "3 Monitor B.pdf"}));
    // Each certificate goes into the printer once, and the preview once,
    // when the run has ended.
    QCOMPARE(documents.count(), 3 + 1);
    QCOMPARE(m_answerer->count(), 1); // the save dialog only

    const QString first = folder + QStringLiteral("/1 Monitor A.pdf");
    QVERIFY(PdfTools::pageCount(first) >= 1);
    const QString paper = HtmlPrinter::usesLetter(QLocale::system().territory()) ? QStringLiteral("612 x 792")
                                                                                   : QStringLiteral("595.276 x 841.89");
    QCOMPARE(PdfTools::pageSize(first).left(7), paper.left(7));
    const QString text = PdfTools::text(first);
    QVERIFY2(text.contains(QStringLiteral("Monitor A")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Page 1")));
    QVERIFY(text.contains(QStringLiteral(">199.90")));
    QVERIFY(text.contains(QStringLiteral("Earth O/C")));
    QVERIFY(PdfTools::text(folder + QStringLiteral("/2 Pump 1.pdf")).contains(QStringLiteral("Pump 1")));

    // The printer serves the preview again: Print shows the first asset.
    QCOMPARE(dialog.htmlPrinter()->document()->toHtml(), [&] {
        QTextDocument d;
        d.setHtml(preview);
        return d.toHtml();
    }());
    const QString printed = TestEnvironment::instance()->newFolder() + QStringLiteral("/printed.pdf");
    QString printTitle;
    m_answerer->answerNext([&](QWidget* w) {
        // The platform's print dialog, printing to a file as it offers.
        printTitle = w->windowTitle();
        if (auto* file = w->findChild<QLineEdit*>(QStringLiteral("filename")))
            file->setText(printed);
        qobject_cast<QDialog*>(w)->accept();
    });
    QTest::mouseClick(child<QPushButton>(dialog, "printBtn"), Qt::LeftButton);
    QTRY_VERIFY(QFileInfo(printed).size() > 0);
    QCOMPARE(printTitle, QStringLiteral("Print Document"));
    QVERIFY(PdfTools::text(printed).contains(QStringLiteral("Monitor A")));
    QVERIFY(!PdfTools::text(printed).contains(QStringLiteral("Monitor B")));
}

void TestDialogCertificateGenerator::savesHtmlWithItsImagesAndNumbersRepeatedNames()
{
    const QString art = TestEnvironment::instance()->newFolder();
    QDir().mkpath(art + QStringLiteral("/one"));
    QDir().mkpath(art + QStringLiteral("/two"));
    QFile(art + QStringLiteral("/one/mark.png")).open(QIODevice::WriteOnly);
    QFile two(art + QStringLiteral("/two/mark.png"));
    two.open(QIODevice::WriteOnly);
    two.write("second");
    two.close();
    writeTemplate(QStringLiteral("_default (en)"),
                  QStringLiteral("<p>") + m("ASSET_DETAILS_NAME") + "</p><img src=\"" + m("TEST_COMPANY_LOGO")
                      + "\"><IMG alt='a' SRC='" + art + "/one/mark.png'><img src=" + art
                      + "/two/mark.png><img src=\"http://example.com/x.png\"><img src=\"missing/pic.png\">");

    DialogCertificateGenerator dialog({MonitorA, Pump1, MonitorB});
    const QString folder = TestEnvironment::instance()->newFolder();
    runSave(dialog, folder, QStringLiteral("same"), 1, true);
    QCOMPARE(filesIn(folder), (QStringList{"same (2).html", "same (3).html", "same.html"}));
    QCOMPARE(filesIn(folder + QStringLiteral("/images")), (QStringList{"blank.png", "mark.png"}));
    // The first copy of a name is the one kept.
    QCOMPARE(QFileInfo(folder + QStringLiteral("/images/mark.png")).size(), 0);

    QFile saved(folder + QStringLiteral("/same (2).html"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(saved.readAll());
    const QString images = QUrl::fromLocalFile(folder + QStringLiteral("/images/")).toString();
    QVERIFY(html.startsWith(QStringLiteral("<p>Pump 1</p>")));
    QVERIFY2(html.contains(QStringLiteral("<img src=\"%1blank.png\">").arg(images)), qPrintable(html));
    QVERIFY(html.contains(QStringLiteral("<IMG alt='a' src='%1mark.png'>").arg(images)));
    QVERIFY(html.contains(QStringLiteral("<img src=\"%1mark.png\">").arg(images)));
    // What cannot be found stays as written, and is reported once.
    QVERIFY(html.contains(QStringLiteral("<img src=\"http://example.com/x.png\">")));
    QVERIFY(html.contains(QStringLiteral("<img src=\"missing/pic.png\">")));
    QCOMPARE(m_answerer->count(), 2);
    QCOMPARE(m_answerer->last().text.count(QStringLiteral("missing/pic.png")), 1);
    QVERIFY(m_answerer->last().text.contains(QStringLiteral("http://example.com/x.png")));
}

void TestDialogCertificateGenerator::abortKeepsTheFilesWrittenAndWritesNoMore()
{
    DialogCertificateGenerator dialog({MonitorA, Pump1, MonitorB});
    const QString folder = TestEnvironment::instance()->newFolder();
    m_answerer->answerNext([=](QWidget* w) {
        w->findChild<QLineEdit*>(QStringLiteral("directory"))->setText(folder);
        w->findChild<QLineEdit*>(QStringLiteral("fileName"))->setText(QStringLiteral("c_$(NUM)"));
        w->findChild<QComboBox*>(QStringLiteral("fileType"))->setCurrentIndex(0);
        qobject_cast<QDialog*>(w)->accept();
    });
    QTest::mouseClick(child<QPushButton>(dialog, "saveBtn"), Qt::LeftButton);
    QPointer<DialogProgress> progress = dialog.progressDialog();
    QVERIFY(progress);
    QCOMPARE(progress->windowTitle(), QStringLiteral("Generating Certificates..."));
    QTRY_COMPARE(filesIn(folder).size(), 1);
    progress->abortBtnClicked();
    QVERIFY(!dialog.saveRunning());
    QTRY_VERIFY(!progress);
    QTest::qWait(400);
    QCOMPARE(filesIn(folder), QStringList{QStringLiteral("c_1.pdf")});
    QCOMPARE(m_answerer->count(), 1);
}

void TestDialogCertificateGenerator::filesThatCannotBeWrittenAreListed()
{
    // The folder is taken by a file, so nothing can be written below it.
    const QString blocked = TestEnvironment::instance()->newFolder() + QStringLiteral("/taken");
    QFile(blocked).open(QIODevice::WriteOnly);
    for (int type : {0, 1}) {
        DialogCertificateGenerator dialog({MonitorA, Pump1});
        m_answerer->clear();
        runSave(dialog, blocked, QStringLiteral("$(NAME)"), type, true);
        QTRY_COMPARE(m_answerer->count(), 2);
        const QString report = m_answerer->last().text;
        QVERIFY2(report.startsWith(QStringLiteral("These certificates could not be written:")), qPrintable(report));
        QVERIFY(report.contains(QStringLiteral("Monitor A")));
        QVERIFY(report.contains(QStringLiteral("Pump 1")));
        QCOMPARE(m_answerer->last().icon, int(QMessageBox::Warning));
    }
}

void TestDialogCertificateGenerator::aFullDiskLeavesNoPartialFileAndIsReported()
{
    // PDFs: the writer runs out of room part way through each file.
    const QString pdfs = TestEnvironment::instance()->newFolder();
    {
        DialogCertificateGenerator dialog({MonitorA, Pump1});
        const FileSizeLimit full(8 * 1024);
        runSave(dialog, pdfs, QStringLiteral("$(NAME)"), 0, true);
    }
    QCOMPARE(QDir(pdfs).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    QCOMPARE(m_answerer->count(), 2);
    QString report = m_answerer->last().text;
    QVERIFY2(report.startsWith(QStringLiteral("These certificates could not be written:")), qPrintable(report));
    QVERIFY(report.contains(QDir::toNativeSeparators(pdfs + QStringLiteral("/Monitor A.pdf"))));
    QVERIFY(report.contains(QDir::toNativeSeparators(pdfs + QStringLiteral("/Pump 1.pdf"))));

    // HTML: the page fits, its picture does not.
    const QString art = TestEnvironment::instance()->newFolder();
    QFile picture(art + QStringLiteral("/big.png"));
    QVERIFY(picture.open(QIODevice::WriteOnly));
    picture.write(QByteArray(64 * 1024, 'x'));
    picture.close();
    writeTemplate(QStringLiteral("_default (en)"), QStringLiteral("<p>") + m("ASSET_DETAILS_NAME") + "</p><img src=\""
                                                       + art + "/big.png\">");
    const QString pages = TestEnvironment::instance()->newFolder();
    m_answerer->clear();
    {
        DialogCertificateGenerator dialog({MonitorA});
        const FileSizeLimit full(16 * 1024);
        runSave(dialog, pages, QStringLiteral("$(NAME)"), 1, true);
    }
    QCOMPARE(filesIn(pages), QStringList{QStringLiteral("Monitor A.html")});
    QCOMPARE(filesIn(pages + QStringLiteral("/images")), QStringList());
    QCOMPARE(m_answerer->count(), 2);
    report = m_answerer->last().text;
    QVERIFY2(report.startsWith(QStringLiteral("These images could not be copied beside the certificates:")),
             qPrintable(report));
    QVERIFY(report.contains(art + QStringLiteral("/big.png")));
    QVERIFY(!report.contains(QStringLiteral("could not be found")));
}

void TestDialogCertificateGenerator::withoutAssetsThePreviewIsEmptyAndNothingCanBeSaved()
{
    DialogCertificateGenerator dialog({});
    QCOMPARE(dialog.previewHtml(), QString());
    QVERIFY(!child<QPushButton>(dialog, "saveBtn")->isEnabled());
    QVERIFY(!child<QPushButton>(dialog, "printBtn")->isEnabled());
    dialog.save();
    dialog.print();
    QVERIFY(!dialog.saveRunning());
    QTest::qWait(50);
    QCOMPARE(m_answerer->count(), 0);
}

PELVANE_TEST_MAIN(TestDialogCertificateGenerator)
#include "TestDialogCertificateGenerator.moc"
