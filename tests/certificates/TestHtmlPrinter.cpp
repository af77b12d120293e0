#include "PdfTools.h"
#include "certificates/HtmlPrinter.h"
#include "support/TestEnvironment.h"

#include <QAbstractTextDocumentLayout>
#include <QDate>
#include <QLocale>
#include <QPrinter>
#include <QtTest>

namespace {
const double kPointsPerMm = 72.0 / 25.4;
const QString kA4 = QStringLiteral("595.276 x 841.89");
const QString kLetter = QStringLiteral("612 x 792");

QString longBody(int paragraphs)
{
    QString html = QStringLiteral("<p>Alpha first line</p>");
    for (int i = 1; i <= paragraphs; ++i)
        html += QStringLiteral("<p>Paragraph number %1 of the body text.</p>").arg(i);
    return html;
}

QString pdfPath(const QString& name)
{
    return TestEnvironment::instance()->newFolder() + QLatin1Char('/') + name;
}

// "595.28 x 841.89" and "595.276 x 841.89" are the same paper.
bool samePaper(const QString& actual, const QString& expected)
{
    const QStringList a = actual.split(QStringLiteral(" x "));
    const QStringList b = expected.split(QStringLiteral(" x "));
    return a.size() == 2 && b.size() == 2 && qAbs(a.at(0).toDouble() - b.at(0).toDouble()) < 1
           && qAbs(a.at(1).toDouble() - b.at(1).toDouble()) < 1;
}
} // namespace

// Prints a long body to the PDF named by the first argument, on the paper
// the system locale of the child chooses.
PELVANE_CHILD_SCENARIO(printWithSystemLocale)
{
    HtmlPrinter printer;
    printer.setHtml(longBody(10));
    return printer.printToPdf(args.value(0)) ? 0 : 3;
}

class TestHtmlPrinter : public QObject
{
    Q_OBJECT
private slots:
    void paperFollowsTheSystemLocale();
    void headerAndFooterHeightsAreBounded();
    void pagePlaceholdersAreFilled();
    void longDocumentsPrintOnNumberedPagesWithinTheMargins();
    void pageRangeAndOrderAreHonoured();
    void unwritableFilesAreReportedNotSucceeded();
    void aDocumentIsLaidOutOnceForItsPaper();
};

void TestHtmlPrinter::paperFollowsTheSystemLocale()
{
    QVERIFY(HtmlPrinter::usesLetter(QLocale::UnitedStates));
    QVERIFY(HtmlPrinter::usesLetter(QLocale::Canada));
    QVERIFY(HtmlPrinter::usesLetter(QLocale::AnyTerritory));
    QVERIFY(!HtmlPrinter::usesLetter(QLocale::Germany));
    QVERIFY(!HtmlPrinter::usesLetter(QLocale::UnitedKingdom));

    const QByteArray saved = qgetenv("LC_ALL");
    const struct
    {
        const char* locale;
        QString paper;
    } cases[] = {{"de_DE.UTF-8", kA4}, {"en_US.UTF-8", kLetter}};
    for (const auto& c : cases) {
        qputenv("LC_ALL", c.locale);
        const QString pdf = pdfPath(QStringLiteral("locale.pdf"));
        const ChildResult child = runChildScenario(QStringLiteral("printWithSystemLocale"), {pdf});
        QCOMPARE(child.exitCode, 0);
        QVERIFY2(samePaper(PdfTools::pageSize(pdf), c.paper), c.locale);
    }
    if (saved.isNull())
        qunsetenv("LC_ALL");
    else
        qputenv("LC_ALL", saved);
}

void TestHtmlPrinter::headerAndFooterHeightsAreBounded()
{
    HtmlPrinter printer;
    printer.printer()->setPageSize(QPageSize(QPageSize::A4));
    QCOMPARE(printer.headerHeight(), 0.0);
    QCOMPARE(printer.footerHeight(), 0.0);
    printer.setFooterHeight(10.0);
    QCOMPARE(printer.footerHeight(), 10.0);
    printer.setFooterHeight(-1.0);
    QCOMPARE(printer.footerHeight(), 0.0);
    // An eighth of A4's 297 mm is the most a header may take.
    printer.setHeaderHeight(37.0);
    QCOMPARE(printer.headerHeight(), 37.0);
    printer.setHeaderHeight(38.0);
    QCOMPARE(printer.headerHeight(), 0.0);
}

void TestHtmlPrinter::pagePlaceholdersAreFilled()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    HtmlPrinter printer;
    const QDate today = QDate::currentDate();
    QCOMPARE(printer.pageText(QStringLiteral("p &page; of &PAGE; on &date;"), 3),
             QStringLiteral("p 3 of &PAGE; on ") + QLocale().toString(today, QLocale::ShortFormat));
    printer.setDateFormat(QStringLiteral("MM-dd-yyyy"));
    QCOMPARE(printer.pageText(QStringLiteral("&date;|&page;&page;"), 12),
             today.toString(QStringLiteral("MM-dd-yyyy")) + QStringLiteral("|1212"));
    QLocale::setDefault(QLocale::c());
}

void TestHtmlPrinter::longDocumentsPrintOnNumberedPagesWithinTheMargins()
{
    HtmlPrinter printer;
    printer.printer()->setPageSize(QPageSize(QPageSize::A4));
    printer.setHtml(longBody(120));
    printer.setFooterHeight(10.0);
    printer.setFooterHtml(QStringLiteral("<p>Footer Page &page;</p>"));
    const QString pdf = pdfPath(QStringLiteral("long.pdf"));
    QVERIFY(printer.printToPdf(pdf));
    const int pages = PdfTools::pageCount(pdf);
    QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
    QVERIFY(samePaper(PdfTools::pageSize(pdf), kA4));
    for (int page = 1; page <= pages; ++page)
        QVERIFY(PdfTools::text(pdf, page).contains(QStringLiteral("Footer Page %1").arg(page)));
    const QString all = PdfTools::text(pdf);
    QVERIFY(all.contains(QStringLiteral("Paragraph number 120 of the body text.")));
    // No paragraph is lost or printed twice at a page break.
    QCOMPARE(all.count(QStringLiteral("Paragraph number 60 of")), 1);

    // Without a header the body starts at the top margin; a header pushes it
    // down by its height and the spacing.
    const double top = PdfTools::wordTop(pdf, QStringLiteral("Alpha"));
    QVERIFY2(top >= 10 * kPointsPerMm - 1 && top < 16 * kPointsPerMm, qPrintable(QString::number(top)));
    printer.setHeaderHeight(20.0);
    printer.setHeaderHtml(QStringLiteral("<p>Header</p>"));
    const QString withHeader = pdfPath(QStringLiteral("header.pdf"));
    QVERIFY(printer.printToPdf(withHeader));
    const double lowered = PdfTools::wordTop(withHeader, QStringLiteral("Alpha"));
    QVERIFY2(lowered >= 35 * kPointsPerMm - 1 && lowered < 41 * kPointsPerMm, qPrintable(QString::number(lowered)));
    const double header = PdfTools::wordTop(withHeader, QStringLiteral("Header"));
    QVERIFY2(header > 10 * kPointsPerMm && header < 30 * kPointsPerMm, qPrintable(QString::number(header)));
}

// A document is laid out as it is set, for the paper it prints on: writing
// it out, once or again, lays nothing out again; other paper lays it out
// again for that paper.
void TestHtmlPrinter::aDocumentIsLaidOutOnceForItsPaper()
{
    HtmlPrinter printer;
    printer.printer()->setPageSize(QPageSize(QPageSize::A4));
    printer.setFooterHeight(10.0);
    printer.setFooterHtml(QStringLiteral("<p>Footer Page &page;</p>"));
    int layouts = 0;
    connect(printer.document()->documentLayout(), &QAbstractTextDocumentLayout::update, this, [&] { ++layouts; });
    printer.setHtml(longBody(60));
    QVERIFY(layouts > 0);
    layouts = 0;
    const QString first = pdfPath(QStringLiteral("once.pdf"));
    QVERIFY(printer.printToPdf(first));
    QVERIFY(printer.printToPdf(pdfPath(QStringLiteral("again.pdf"))));
    QCOMPARE(layouts, 0);
    QVERIFY(PdfTools::text(first).contains(QStringLiteral("Paragraph number 60 of the body text.")));

    printer.printer()->setPageSize(QPageSize(QPageSize::Letter));
    const QString letter = pdfPath(QStringLiteral("letter.pdf"));
    QVERIFY(printer.printToPdf(letter));
    QVERIFY(layouts > 0);
    QVERIFY(samePaper(PdfTools::pageSize(letter), kLetter));
    QVERIFY(PdfTools::text(letter).contains(QStringLiteral("Paragraph number 60 of the body text.")));
}

void TestHtmlPrinter::pageRangeAndOrderAreHonoured()
{
    HtmlPrinter printer;
    printer.setHtml(longBody(200));
    printer.setFooterHeight(10.0);
    printer.setFooterHtml(QStringLiteral("<p>Sheet &page;</p>"));
    printer.printer()->setFromTo(1, 3);
    printer.printer()->setPageOrder(QPrinter::LastPageFirst);
    const QString pdf = pdfPath(QStringLiteral("order.pdf"));
    QVERIFY(printer.printToPdf(pdf));
    QCOMPARE(PdfTools::pageCount(pdf), 3);
    QVERIFY(PdfTools::text(pdf, 1).contains(QStringLiteral("Sheet 3")));
    QVERIFY(PdfTools::text(pdf, 2).contains(QStringLiteral("Sheet 2")));
    QVERIFY(PdfTools::text(pdf, 3).contains(QStringLiteral("Sheet 1")));
}

void TestHtmlPrinter::unwritableFilesAreReportedNotSucceeded()
{
    HtmlPrinter printer;
    printer.setHtml(QStringLiteral("<p>x</p>"));
    QVERIFY(!printer.printToPdf(QString()));
    const QString blocked = TestEnvironment::instance()->newFolder() + QStringLiteral("/missing/folder/x.pdf");
    QVERIFY(!printer.printToPdf(blocked));
    QVERIFY(!QFileInfo::exists(blocked));
    // The printer is usable again afterwards.
    QVERIFY(printer.printToPdf(pdfPath(QStringLiteral("after.pdf"))));
}

PELVANE_TEST_MAIN(TestHtmlPrinter)
#include "TestHtmlPrinter.moc"
