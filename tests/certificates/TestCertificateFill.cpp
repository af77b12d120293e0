#include "CertificateFixture.h"
#include "assets/AppliedPartTable.h"
#include "certificates/CertificateFill.h"
#include "certificates/CertificateTemplate.h"
#include "certificates/DefaultCertificateTemplate.h"
#include "results/DialogTestResults.h"
#include "support/MariaDbServer.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QLineEdit>
#include <QtTest>
#include <cmath>
#include <limits>

using namespace CertificateFixture;

namespace {
QString m(const QString& name)
{
    return QStringLiteral("<!--###%1###-->").arg(name);
}

CertificateFormTexts formTexts()
{
    CertificateFormTexts t;
    t.headerTitle = QStringLiteral("Safety & Test");
    t.testCompanyName = QStringLiteral("Acme <Test>");
    t.testCompanyAddress1 = QStringLiteral("12 Tester Lane");
    t.testCompanyAddress2 = QStringLiteral("Tester Town");
    t.testCompanyAddress3 = QString();
    t.testCompanyPostCode = QStringLiteral("TS1 1ST");
    t.clientDetailsName = QStringLiteral("Medicorp \"Ltd\"");
    t.clientDetailsAddress1 = QStringLiteral("34 Medicine Road");
    t.clientDetailsAddress2 = QStringLiteral("Medical City");
    t.clientDetailsAddress3 = QString();
    t.clientDetailsPostCode = QStringLiteral("MD1 1DM");
    t.testDateFormat = QStringLiteral("d MMMM yyyy");
    t.retestDateFormat = QStringLiteral("yyyy-MM-dd");
    t.todaysDateFormat = QStringLiteral("dd.MM.yy");
    return t;
}

// Every marker the program fills, each once, in a compact page.
QString fullTemplate()
{
    QString t;
    t += QStringLiteral("<h1>") + m("HEADER_TITLE") + QStringLiteral("</h1>\n");
    t += QStringLiteral("<p>") + m("TEST_COMPANY_NAME") + "|" + m("TEST_COMPANY_ADDRESS1") + "|"
         + m("TEST_COMPANY_ADDRESS2") + "|" + m("TEST_COMPANY_ADDRESS3") + "|" + m("TEST_COMPANY_POSTCODE")
         + "|<img src=\"" + m("TEST_COMPANY_LOGO") + "\"></p>\n";
    t += QStringLiteral("<p>") + m("CLIENT_DETAILS_NAME") + "|" + m("CLIENT_DETAILS_ADDRESS1") + "|"
         + m("CLIENT_DETAILS_ADDRESS2") + "|" + m("CLIENT_DETAILS_ADDRESS3") + "|" + m("CLIENT_DETAILS_POSTCODE")
         + "</p>\n";
    t += QStringLiteral("<p>") + m("ASSET_DETAILS_NAME") + "|" + m("ASSET_DETAILS_DESCRIPTION") + "|"
         + m("ASSET_DETAILS_LOCATION") + "|" + m("ASSET_DETAILS_SITE") + "|" + m("ASSET_DETAILS_CLIENT") + "|"
         + m("ASSET_DETAILS_MANUFACTURER") + "|" + m("ASSET_DETAILS_MODEL") + "|" + m("ASSET_DETAILS_SERIALNO")
         + "|" + m("ASSET_DETAILS_APPLIEDPARTS") + "</p>\n";
    t += QStringLiteral("<p>") + m("TEST_DATE") + "|" + m("RETEST_DATE") + "|" + m("TEST_INTERVAL") + "|"
         + m("TEST_SEQUENCE_NAME") + "|" + m("TEST_EQUIPMENT_MODEL") + "|" + m("TEST_EQUIPMENT_SERIALNO") + "|"
         + m("TEST_EQUIPMENT_PROTOCOL") + "</p>\n";
    t += QStringLiteral("<p class=\"") + m("OVERALL_STATUSCLASS") + "\">" + m("OVERALL_STATUS") + "</p>\n";
    t += QStringLiteral("<table>") + m("APPLIEDPART_START") + "<tr><td>" + m("APPLIEDPART_NAME") + "</td><td>"
         + m("APPLIEDPART_CLASS") + "</td><td>" + m("APPLIEDPART_CONNECTIONS") + "</td></tr>\n"
         + m("APPLIEDPART_END") + "</table>\n";
    t += QStringLiteral("<table>") + m("TESTRESULT_START") + "<tr><td>" + m("TESTRESULT_TEST") + "</td><td>"
         + m("TESTRESULT_MAINS") + "</td><td>" + m("TESTRESULT_SFC") + "</td><td>" + m("TESTRESULT_APCONNECTION")
         + "</td><td>" + m("TESTRESULT_LIMIT") + "</td><td>" + m("TESTRESULT_RESULT") + "</td><td>"
         + m("TESTRESULT_UNITS") + "</td><td>" + m("TESTRESULT_STATUS") + "</td></tr>\n" + m("TESTRESULT_END")
         + "</table>\n";
    t += QStringLiteral("<p>") + m("TESTER_COMMENTS") + "|" + m("TESTER_SIGNATURE_NAME") + "|"
         + m("TESTER_SIGNATURE_DATE") + "|<img src=\"" + m("TESTER_SIGNATURE_IMAGE") + "\"></p>";
    return t;
}

// Monitor A's records as the user reads them: the certificate, the result
// set's dialog, and Pump 1's applied parts (one without a class or count).
QStringList shownRecords(Database* db)
{
    addMonitorAResults(db);
    exec(db, QStringLiteral("INSERT INTO AppliedPart (AssetId, Name, Connection) VALUES (1, 'Probe', 1)"));
    CertificateTemplate t;
    t.loadText(fullTemplate());
    CertificateFill::fill(t, MonitorA, formTexts(), QDate(2026, 12, 9));
    QStringList shown = t.render().split('\n');
    DialogTestResults dialog(MonitorASet, nullptr);
    for (QLineEdit* field : dialog.findChildren<QLineEdit*>())
        shown << field->objectName() + '=' + field->text();
    AppliedPartTable parts;
    parts.load(Pump1, false);
    const QList<QTableWidget*> tables = dialog.findChildren<QTableWidget*>() << &parts;
    for (QTableWidget* table : tables)
        for (int row = 0; row < table->rowCount(); ++row)
            for (int column = 0; column < table->columnCount(); ++column)
                shown << (table->item(row, column) ? table->item(row, column)->text() : QStringLiteral("(none)"));
    return shown;
}
} // namespace

class TestCertificateFill : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void fillsAnAssetWithPartsAndResultsAsExpected();
    void rowsAfterTheFirstAreClonesInsertedInOrder();
    void assetWithoutResultsOrRowAndTemplatesWithoutBlocks();
    void connectionNumbersRunOnAcrossParts();
    void valuesAreFormattedByCatalogueAndMagnitude();
    void sameRecordsReadTheSameOnMariaDb();

private:
    SqliteDatabase* m_db = nullptr;
};

void TestCertificateFill::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    m_db = seeded();
    QVERIFY(m_db);
}

void TestCertificateFill::cleanup()
{
    Database::setInstance(nullptr);
    m_db = nullptr;
    QLocale::setDefault(QLocale::c());
}

void TestCertificateFill::fillsAnAssetWithPartsAndResultsAsExpected()
{
    addMonitorAResults(m_db);
    CertificateTemplate t;
    t.loadText(fullTemplate());
    CertificateFormTexts texts = formTexts();
    const QString logo = TestEnvironment::instance()->newFolder() + QStringLiteral("/logo & co.png");
    QFile(logo).open(QIODevice::WriteOnly);
    texts.testCompanyLogo = logo;
    texts.signatureImage = QStringLiteral("/nowhere/signature.png");

    const CertificateFill::Dates dates = CertificateFill::fill(t, MonitorA, texts, QDate(2026, 12, 9));
    QCOMPARE(dates.testDate, QDate(2026, 3, 12));
    QCOMPARE(dates.retestDate, QDate(2026, 9, 12));

    const QString expected =
        QStringLiteral("<h1>Safety &amp; Test</h1>\n"
                       "<p>Acme &lt;Test&gt;|12 Tester Lane|Tester Town|&nbsp;|TS1 1ST|<img src=\"")
        + logo.toHtmlEscaped()
        + QStringLiteral(
            "\"></p>\n"
            "<p>Medicorp &quot;Ltd&quot;|34 Medicine Road|Medical City|&nbsp;|MD1 1DM</p>\n"
            "<p>Monitor A|Patient monitor|Ward 2|North|Acme Health|Cardia|M5|EQ-2|</p>\n"
            "<p>12 March 2026|2026-09-12|6|Monitor routine|Tavisk Q1|Q1-0001|Semi-automatic</p>\n"
            "<p class=\"pass\">Alert</p>\n"
            "<table><tr><td>ECG</td><td>Type CF</td><td>1-3</td></tr>\n"
            "<tr><td>SpO2</td><td>Type BF</td><td>4</td></tr>\n"
            "</table>\n"
            "<table><tr><td>Earth Bond</td><td> - </td><td> - </td><td>&nbsp;</td><td>0.200</td><td>0.123</td>"
            "<td>\u03A9</td><td>Pass</td></tr>\n"
            "<tr><td>Insulation EUT 500V</td><td> - </td><td> - </td><td>&nbsp;</td><td>2.00</td><td>&gt;199.90</td>"
            "<td>M\u03A9</td><td>Pass</td></tr>\n"
            "<tr><td>Patient Leakage (60601)</td><td>Reversed</td><td>Earth O/C</td><td>2</td><td>100</td><td>12</td>"
            "<td>\u00B5A</td><td>Alert</td></tr>\n"
            "<tr><td>Cord &lt;check&gt;</td><td>Normal</td><td> - </td><td>&nbsp;</td><td>&nbsp;</td><td>&lt;12.50</td>"
            "<td>mm</td><td>Pass</td></tr>\n"
            "<tr><td>Visual Test</td><td> - </td><td> - </td><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td>"
            "<td>&nbsp;</td><td>Fail</td></tr>\n"
            "</table>\n"
            "<p>Plug &amp; cable &lt;renewed&gt;|tech|09.12.26|<img src=\"ResourceFiles/blank.png\"></p>");
    const QString rendered = t.render();
    if (rendered != expected) {
        const QStringList a = rendered.split('\n');
        const QStringList b = expected.split('\n');
        for (int i = 0; i < qMin(a.size(), b.size()); ++i)
            QCOMPARE(a.at(i), b.at(i));
    }
    QCOMPARE(rendered, expected);
}

void TestCertificateFill::rowsAfterTheFirstAreClonesInsertedInOrder()
{
    const QList<int> ids = addMonitorAResults(m_db);
    CertificateTemplate t;
    t.loadText(QStringLiteral("A") + m("APPLIEDPART_START") + "[" + m("APPLIEDPART_NAME") + "]"
               + m("APPLIEDPART_END") + "B" + m("TESTRESULT_START") + "(" + m("TESTRESULT_STATUS") + ")"
               + m("TESTRESULT_END") + "C");
    CertificateFill::fill(t, MonitorA, formTexts(), QDate(2026, 12, 9));

    QStringList names;
    for (const auto& child : t.root()->children)
        names << child->name;
    SqlQuery parts(m_db->connection());
    parts.exec(QStringLiteral("SELECT Id FROM AppliedPart WHERE AssetId=3 ORDER BY Connection"));
    QList<int> partIds;
    while (parts.next())
        partIds << parts.value(0).toInt();
    QCOMPARE(partIds.size(), 2);
    QStringList expected{QStringLiteral("APPLIEDPART"), QStringLiteral("APPLIEDPART_%1").arg(partIds.at(1)),
                         QStringLiteral("TESTRESULT")};
    for (int i = 1; i < ids.size(); ++i)
        expected << QStringLiteral("RESULT_%1").arg(ids.at(i));
    expected << QString();
    QCOMPARE(names, expected);
    // The text before a block is written once, before its first row.
    QCOMPARE(t.render(), QStringLiteral("A[ECG][SpO2]B(Pass)(Pass)(Alert)(Pass)(Fail)C"));
}

void TestCertificateFill::assetWithoutResultsOrRowAndTemplatesWithoutBlocks()
{
    CertificateTemplate t;
    t.loadText(m("OVERALL_STATUS") + "|" + m("OVERALL_STATUSCLASS") + "|" + m("TEST_DATE") + "|"
               + m("TESTER_COMMENTS") + "|" + m("TESTER_SIGNATURE_NAME") + "|" + m("TEST_EQUIPMENT_MODEL") + "|"
               + m("ASSET_DETAILS_NAME") + "<table>" + m("TESTRESULT_START") + "<tr><td>" + m("TESTRESULT_TEST")
               + "</td></tr>" + m("TESTRESULT_END") + "</table>");
    // Desk lamp has no result set: no status, no date, no instrument, one empty row.
    CertificateFill::fill(t, DeskLamp, formTexts(), QDate(2026, 12, 9));
    QCOMPARE(t.render(), QStringLiteral("||&nbsp;|&nbsp;|&nbsp;||Desk lamp<table><tr><td></td></tr></table>"));

    // An asset that is gone leaves every database field empty.
    t.loadText(m("ASSET_DETAILS_NAME") + "|" + m("OVERALL_STATUS") + "|" + m("HEADER_TITLE"));
    CertificateFill::fill(t, 999, formTexts(), QDate(2026, 12, 9));
    QCOMPARE(t.render(), QStringLiteral("||Safety &amp; Test"));

    // The shipped certificate leaves out the instrument's line of an asset never tested.
    for (int asset : {DeskLamp, MonitorA}) {
        t.loadText(QString::fromUtf8(DefaultCertificateTemplate::text()));
        CertificateFill::fill(t, asset, formTexts(), QDate(2026, 12, 9));
        QCOMPARE(t.render().count("Test instrument:") + t.render().count("Tavisk Q1, serial no. Q1-0001</td>"),
                 asset == MonitorA ? 2 : 0);
    }

    // A failed result set shows fail; a template without blocks gets no rows.
    t.loadText(m("OVERALL_STATUSCLASS") + m("TESTRESULT_TEST"));
    CertificateFill::fill(t, Pump2, formTexts(), QDate(2026, 12, 9));
    QCOMPARE(t.render(), QStringLiteral("fail"));
}

void TestCertificateFill::connectionNumbersRunOnAcrossParts()
{
    exec(m_db, QStringLiteral("INSERT INTO AppliedPart (AssetId, Name, ConnectionClass, Connection, NumConnections) "
                              "VALUES (4, 'Lead', 1, 1, 1), (4, 'Cuff', 9, 2, 0), (4, 'Probe', 2, 3, 4)"));
    CertificateTemplate t;
    t.loadText(m("APPLIEDPART_START") + m("APPLIEDPART_NAME") + "=" + m("APPLIEDPART_CONNECTIONS") + ","
               + m("APPLIEDPART_CLASS") + ";" + m("APPLIEDPART_END"));
    CertificateFill::fill(t, MonitorB, formTexts(), QDate(2026, 12, 9));
    QCOMPARE(t.render(), QStringLiteral("Lead=1,Type B;Cuff=-,?;Probe=2-5,Type BF;"));
}

void TestCertificateFill::valuesAreFormattedByCatalogueAndMagnitude()
{
    const QLocale english(QLocale::English, QLocale::UnitedKingdom);
    const QLocale german(QLocale::German, QLocale::Germany);
    QCOMPARE(CertificateFill::formatValue(english, 17, 0.1234), QStringLiteral("0.123"));
    QCOMPARE(CertificateFill::formatValue(german, 33, 1.5), QStringLiteral("1,50"));
    // Decimals 0: truncated toward zero, with the locale's grouping.
    QCOMPARE(CertificateFill::formatValue(english, 48, 1999.9), QStringLiteral("1,999"));
    QCOMPARE(CertificateFill::formatValue(english, 48, -2.7), QStringLiteral("-2"));
    QCOMPARE(CertificateFill::formatValue(english, 48, -0.5), QStringLiteral("0"));
    QCOMPARE(CertificateFill::formatValue(english, 48, 9223372036854775808.0),
             QStringLiteral("9,223,372,036,854,775,808"));
    QCOMPARE(CertificateFill::formatValue(english, 253, 1e19), QStringLiteral("10,000,000,000,000,000,000"));
    // A test without a value, and values that are no numbers.
    QCOMPARE(CertificateFill::formatValue(english, 1, 3.0), QString());
    QCOMPARE(CertificateFill::formatValue(english, 17, std::numeric_limits<double>::quiet_NaN()), QString());
    QCOMPARE(CertificateFill::formatValue(english, 253, std::numeric_limits<double>::infinity()), QString());
    // The user test takes its decimals from the value.
    QCOMPARE(CertificateFill::formatValue(english, 253, 12.5), QStringLiteral("12.50"));
    QCOMPARE(CertificateFill::formatValue(english, 253, 0.5), QStringLiteral("0.5000"));
    QCOMPARE(CertificateFill::formatValue(english, 253, 2500.0), QStringLiteral("2,500"));
    // A test the catalogue does not list still shows its value.
    QCOMPARE(CertificateFill::formatValue(english, 250, 3.25), QStringLiteral("3.250"));
}

// MySQL's driver gives a NULL integer whose text is "0", SQLite's an empty one.
void TestCertificateFill::sameRecordsReadTheSameOnMariaDb()
{
    PELVANE_REQUIRE_MARIADB();
    const QStringList onSqlite = shownRecords(m_db);
    QVERIFY(onSqlite.contains(QStringLiteral("Probe")));
    MariaDbServer::ScopedDatabase server(QStringLiteral("certificate"));
    QVERIFY(server.install());
    SeededDatabase::fill(Database::instance());
    addCertificateRecords(Database::instance());
    QCOMPARE(shownRecords(Database::instance()), onSqlite);
}

PELVANE_TEST_MAIN(TestCertificateFill)
#include "TestCertificateFill.moc"
