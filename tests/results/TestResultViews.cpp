#include "ResultRows.h"
#include "assets/MainsPolarityDelegate.h"
#include "assets/ResultACDCDelegate.h"
#include "assets/SfcDelegate.h"
#include "assets/StatusDelegate.h"
#include "database/SqliteDatabase.h"
#include "results/DialogTestResults.h"
#include "results/TestResult.h"
#include "results/TestResultBase.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QToolButton>
#include <QScreen>
#include <QtTest>
#include <typeinfo>

using ResultRows::Row;

namespace {

const QString kGreen = QStringLiteral("image: url(:/icons/icons/flag_green.png)");
const QString kCross = QStringLiteral("image: url(:/icons/icons/cross.png)");
const QString kInfo = QStringLiteral("image: url(:/icons/icons/information.png)");
const QString kError = QStringLiteral("image: url(:/icons/icons/error.png)");

QString text(QWidget* parent, const char* name)
{
    if (auto* edit = parent->findChild<QLineEdit*>(QLatin1String(name)))
        return edit->text();
    if (auto* label = parent->findChild<QLabel*>(QLatin1String(name)))
        return label->text();
    return QStringLiteral("<no %1>").arg(QLatin1String(name));
}

QString status(TestResult* item)
{
    return item->findChild<QWidget*>(QStringLiteral("status"))->styleSheet();
}

QString title(TestResult* item)
{
    return item->findChild<QLabel*>(QStringLiteral("testLabel"))->text();
}

QList<TestResult*> items(DialogTestResults& dialog)
{
    return dialog.findChild<QWidget*>(QStringLiteral("testResultsList"))->findChildren<TestResult*>();
}

} // namespace

// The line of one test and its detail form, fed from stored Result rows, and
// the dialog that groups a set's rows into lines.
class TestResultViews : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void formChosenByTestId_data();
    void formChosenByTestId();
    void failSticksToTheLine();
    void leakageRowsAndColumns();
    void wiringCodesAsWords();
    void clickingTheNameTogglesTheDetails();
    void dialogShowsHeaderAndGroupsRows();
    void dialogOverallIcon_data();
    void dialogOverallIcon();
    void dialogWithoutInstrumentOrResults();

private:
    int newSet(int overall = 1, const QVariant& instrument = QVariant(), const QString& comments = QString());
    // Feeds the rows of set to one new line, as the dialog does for one test.
    TestResult* lineFor(int set, int testId);

    SqliteDatabase* m_db = nullptr;
    int m_asset = 0;
    int m_instrument = 0;
    QList<TestResult*> m_lines;
};

void TestResultViews::initTestCase()
{
    m_db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/views.db");
    QVERIFY(m_db);
    const int site = m_db->findOrInsertSite(m_db->findOrInsertClient("C"), "S");
    m_asset = m_db->insertAsset("Pump", "", "", "SN", m_db->findOrInsertLocation(site, "L"),
                                m_db->findOrInsertEquipment("M", "M", "E", 1), 12);
    m_instrument = m_db->findOrInsertInstrument(1, "Q1-77", QDate(2026, 1, 1), "3.09", 115200, 8, 0, 0);
}

void TestResultViews::init()
{
    qDeleteAll(m_lines);
    m_lines.clear();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
}

void TestResultViews::cleanupTestCase()
{
    qDeleteAll(m_lines);
    Database::setInstance(nullptr);
}

int TestResultViews::newSet(int overall, const QVariant& instrument, const QString& comments)
{
    return m_db->insertResultSet(instrument, m_asset, QDateTime(QDate(2026, 3, 10), QTime(9, 30, 5)), 2, 2, overall,
                                 "Jo Tester", comments);
}

TestResult* TestResultViews::lineFor(int set, int testId)
{
    auto* line = new TestResult(testId, nullptr);
    m_lines << line;
    SqlQuery rows(QStringLiteral("SELECT * FROM Result WHERE ResultSetId=:Id ORDER BY Id"));
    rows.bindValue(":Id", set);
    rows.exec();
    while (rows.next())
        line->setResult(rows);
    return line;
}

void TestResultViews::formChosenByTestId_data()
{
    QTest::addColumn<int>("testId");
    QTest::addColumn<QByteArray>("form");
    QTest::addColumn<QStringList>("shown"); // field=text pairs after one row of 1.5 / limit 0.2
    const QStringList resistance = {"result=1.500", "limit=0.2000", "resultUnits=Ω", "limitUnits=Ω"};
    const QStringList insulation = {"result=1.500", "limit=0.2000", "resultUnits=MΩ", "limitUnits=MΩ"};
    QTest::newRow("visual") << 1 << QByteArray("TestResultVisual") << QStringList{"units=No additional information"};
    for (int id : {17, 18, 21})
        QTest::addRow("resistance %d", id) << id << QByteArray("TestResultResistance") << resistance;
    for (int id : {32, 33, 34, 35, 46, 47})
        QTest::addRow("insulation %d", id) << id << QByteArray("TestResultInsulation") << insulation;
    for (int id : {48, 49, 50, 51, 64, 66, 67, 69, 70, 71, 72, 80, 81, 82, 83, 84, 85, 96, 98, 99, 112, 113, 114, 115})
        QTest::addRow("leakage %d", id) << id << QByteArray("TestResultLeakage") << QStringList();
    QTest::newRow("kVA") << 144 << QByteArray("TestResultSingleResultkVA") << QStringList{"result=1.500", "units=kVA"};
    QTest::newRow("wiring") << 145 << QByteArray("TestResultIECWiring") << QStringList{"result=Pass"};
    for (int id : {146, 148, 149})
        QTest::addRow("volts %d", id) << id << QByteArray("TestResultSingleResultVolts")
                                      << QStringList{"result=1.500", "units=V"};
    QTest::newRow("amps") << 147 << QByteArray("TestResultSingleResultAmps") << QStringList{"result=1.500", "units=A"};
    QTest::newRow("user") << 253 << QByteArray("TestResultUserResult")
                          << QStringList{"result=1.500", "name=Lead check", "units=mm"};
    QTest::newRow("no form") << 100 << QByteArray() << QStringList();
    QTest::newRow("not catalogued") << 7 << QByteArray() << QStringList();
}

void TestResultViews::formChosenByTestId()
{
    QFETCH(int, testId);
    QFETCH(QByteArray, form);
    QFETCH(QStringList, shown);
    const int set = newSet();
    Row row{testId};
    row.result = testId == 145 ? QVariant(1) : QVariant(1.5);
    row.customName = "Lead check";
    row.customUnits = "mm";
    ResultRows::insert(set, row);
    TestResult* line = lineFor(set, testId);

    if (form.isEmpty()) {
        QVERIFY(!line->form());
        QCOMPARE(status(line), kGreen);
    } else {
        QVERIFY(line->form());
        const QByteArray type = typeid(*line->form()).name();
        QVERIFY2(type.endsWith(QByteArray::number(form.size()) + form), type.constData());
        QVERIFY(line->form()->isHidden());
    }
    for (const QString& pair : shown) {
        const QString field = pair.section('=', 0, 0);
        QCOMPARE(text(line, qPrintable(field)), pair.section('=', 1));
    }
    // Values line up on their decimals; the wiring words read from the left.
    if (auto* result = line->findChild<QLineEdit*>("result")) {
        QVERIFY(result->isReadOnly());
        QCOMPARE(result->alignment() & Qt::AlignHorizontal_Mask, testId == 145 ? Qt::AlignLeft : Qt::AlignRight);
    }
    if (testId == 1)
        QCOMPARE(line->findChild<QLabel*>("units")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    // Named from the catalogue; an id the catalogue lacks still gets a title.
    QVERIFY(!title(line).isEmpty());
    QVERIFY(title(line) != QLatin1String("Test Label"));
    if (testId == 17)
        QCOMPARE(title(line), QStringLiteral("Earth Bond"));
    if (testId == 7)
        QCOMPARE(title(line), QStringLiteral("Test 7"));
}

void TestResultViews::failSticksToTheLine()
{
    struct Case
    {
        QList<int> statuses;
        QString icon;
    };
    const QList<Case> cases = {{{1, 2, 1}, kCross}, {{1, 5, 1}, kGreen}, {{1, 5}, kError}, {{4}, kInfo},
                               {{5, 0, 255, -1}, kError}, {{2, 5, 4}, kCross}};
    for (const Case& c : cases) {
        const int set = newSet();
        for (int s : c.statuses) {
            Row row{17};
            row.status = s;
            ResultRows::insert(set, row);
        }
        QCOMPARE(status(lineFor(set, 17)), c.icon);
    }
    // Before any row the line shows the green flag.
    QCOMPARE(status(lineFor(newSet(), 17)), QStringLiteral("image: url(:/icons/icons/flag_green.png);"));
}

void TestResultViews::leakageRowsAndColumns()
{
    const int set = newSet();
    Row first{113, 1, 12.5, 100.0};
    first.patient = "ECG";
    first.patientAux = "SpO2";
    Row second{113, 2, 150.0, 100.0, true, true, true, 4};
    second.patient = "ECG";
    Row third{113, 1, 0.05, 10.0, false, false, false, QVariant()};
    ResultRows::insert(set, {first, second, third});
    auto* table = lineFor(set, 113)->findChild<QTableWidget*>("leakageResults");
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(table->columnCount(), 8);
    QStringList headers;
    for (int c = 0; c < 8; ++c)
        headers << table->horizontalHeaderItem(c)->text();
    QCOMPARE(headers, (QStringList{"Status", "AP", "Aux AP", "Polarity", "SFC", "Limit (µA)", "Result (µA)", "AC/DC"}));
    QVERIFY(!table->isColumnHidden(1) && !table->isColumnHidden(2));
    QCOMPARE(table->horizontalHeader()->sectionResizeMode(0), QHeaderView::Stretch);
    QVERIFY(dynamic_cast<StatusDelegate*>(table->itemDelegateForColumn(0)));
    QVERIFY(dynamic_cast<MainsPolarityDelegate*>(table->itemDelegateForColumn(3)));
    QVERIFY(dynamic_cast<SfcDelegate*>(table->itemDelegateForColumn(4)));
    QVERIFY(dynamic_cast<ResultACDCDelegate*>(table->itemDelegateForColumn(7)));

    auto row = [table](int r) {
        QStringList cells;
        for (int c = 0; c < 8; ++c) {
            QTableWidgetItem* item = table->item(r, c);
            cells << (item ? item->data(Qt::DisplayRole).toString() : QStringLiteral("-"));
        }
        return cells.join('|');
    };
    QCOMPARE(row(0), QStringLiteral("1|ECG|SpO2|0|0|100.0000|12.50|0"));
    QCOMPARE(row(1), QStringLiteral("2|ECG|-|1|4|100.0000|>150.0|1"));
    QCOMPARE(row(2), QStringLiteral("1|-|-|0|0|10.0000|<0.0500|2"));
    QCOMPARE(table->item(0, 0)->flags(), Qt::NoItemFlags);
    QCOMPARE(table->item(1, 6)->flags(), Qt::NoItemFlags);
    // Every row stays in view.
    QVERIFY(table->minimumSizeHint().height() >= 3 * table->rowHeight(0));

    // Which applied-part columns show follows the kind of leakage.
    for (int id : {48, 71}) {
        const int other = newSet();
        ResultRows::insert(other, Row{id});
        auto* t = lineFor(other, id)->findChild<QTableWidget*>("leakageResults");
        QCOMPARE(t->isColumnHidden(1), id == 48);
        QVERIFY(t->isColumnHidden(2));
    }
}

void TestResultViews::wiringCodesAsWords()
{
    const QStringList words = {"Test not complete", "Pass", "Live Open", "Live / Neutral reversed",
                               "Live / Neutral short", "Neutral open", "Live or Neutral open"};
    for (int code = 0; code < words.size(); ++code) {
        const int set = newSet();
        ResultRows::insert(set, Row{145, 1, code});
        QCOMPARE(text(lineFor(set, 145), "result"), words.at(code));
    }
    // An unknown code leaves what an earlier row of the test showed.
    const int set = newSet();
    ResultRows::insert(set, {Row{145, 1, 3}, Row{145, 1, 7}, Row{145, 1, -1}});
    QCOMPARE(text(lineFor(set, 145), "result"), words.at(3));
    const int unknownOnly = newSet();
    ResultRows::insert(unknownOnly, Row{145, 1, 9});
    QCOMPARE(text(lineFor(unknownOnly, 145), "result"), QString());
}

void TestResultViews::clickingTheNameTogglesTheDetails()
{
    const int set = newSet();
    ResultRows::insert(set, Row{17});
    TestResult* line = lineFor(set, 17);
    line->show();
    QVERIFY(QTest::qWaitForWindowExposed(line));
    auto* name = line->findChild<QLabel*>("testLabel");
    auto* toggle = line->findChild<QToolButton*>("detailsBtn");
    QVERIFY(toggle->isCheckable() && !toggle->isChecked());
    QCOMPARE(name->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(name, Qt::LeftButton);
    QVERIFY(toggle->isChecked());
    QVERIFY(line->form()->isVisible());
    QTest::mouseClick(name, Qt::LeftButton);
    QVERIFY(!toggle->isChecked());
    QVERIFY(!line->form()->isVisible());
    QTest::mouseClick(toggle, Qt::LeftButton);
    QVERIFY(line->form()->isVisible());
}

void TestResultViews::dialogShowsHeaderAndGroupsRows()
{
    const int set = newSet(5, m_instrument, "Cable worn\nreplace soon");
    Row user{253, 1, 0.75, 1.0, true};
    Row otherUser{253};
    otherUser.customName = "B";
    ResultRows::insert(set, {Row{17}, Row{17, 2}, Row{48}, Row{48}, Row{48}, user, otherUser, Row{21}, Row{17}});
    DialogTestResults dialog(set, nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Test Results"));
    // As large as the screen lets it be, the tests in most of it.
    const QSize room = dialog.screen()->availableGeometry().size();
    QVERIFY(dialog.width() >= qMin(760, room.width()) && dialog.height() < room.height());
    QVERIFY(dialog.findChild<QWidget*>("groupBox1")->height() > 2 * dialog.findChild<QWidget*>("groupBox_2")->height());
    QCOMPARE(text(&dialog, "testerName"), QStringLiteral("Jo Tester"));
    QCOMPARE(text(&dialog, "testDate"), QStringLiteral("10/03/2026 09:30:05"));
    QCOMPARE(text(&dialog, "testMode"), QStringLiteral("Automatic"));
    QCOMPARE(text(&dialog, "testerType"), QStringLiteral("Tavisk Q1"));
    QCOMPARE(text(&dialog, "testerSerialNo"), QStringLiteral("Q1-77"));
    QCOMPARE(dialog.findChild<QPlainTextEdit*>("comments")->toPlainText(), QStringLiteral("Cable worn\nreplace soon"));
    QVERIFY(dialog.findChild<QLineEdit*>("testerName")->isReadOnly());

    // Adjacent rows of a test make one line, each user test its own, and a
    // test that comes back later a second line.
    QList<int> ids;
    QStringList titles;
    for (TestResult* line : items(dialog)) {
        ids << line->testId();
        titles << title(line);
    }
    QCOMPARE(ids, (QList<int>{17, 48, 253, 253, 21, 17}));
    QCOMPARE(titles.mid(2, 2), (QStringList{"Custom Result", "B (Custom Result)"}));
    QCOMPARE(text(items(dialog).at(2), "result"), QStringLiteral(">0.7500"));
    QCOMPARE(status(items(dialog).at(0)), kCross);
    QCOMPARE(items(dialog).at(1)->findChild<QTableWidget*>("leakageResults")->rowCount(), 3);
}

void TestResultViews::dialogOverallIcon_data()
{
    QTest::addColumn<int>("overall");
    QTest::addColumn<QString>("icon");
    QTest::newRow("pass") << 1 << "flag_green_large";
    QTest::newRow("fail") << 2 << "cross_large";
    QTest::newRow("info") << 4 << "information_large";
    QTest::newRow("alert") << 5 << "error_large";
    QTest::newRow("deleted") << 0 << "flag_green_large";
    QTest::newRow("uploaded") << 255 << "flag_green_large";
}

void TestResultViews::dialogOverallIcon()
{
    QFETCH(int, overall);
    QFETCH(QString, icon);
    DialogTestResults dialog(newSet(overall, m_instrument), nullptr);
    QCOMPARE(dialog.findChild<QWidget*>("status")->styleSheet(),
             QStringLiteral("image: url(:/icons/icons/%1.png);").arg(icon));
}

void TestResultViews::dialogWithoutInstrumentOrResults()
{
    // The instrument the set names is gone: type and serial stay empty.
    const int set = newSet(1, 9999);
    DialogTestResults dialog(set, nullptr);
    QCOMPARE(text(&dialog, "testerType"), QString());
    QCOMPARE(text(&dialog, "testerSerialNo"), QString());
    QCOMPARE(text(&dialog, "testerName"), QStringLiteral("Jo Tester"));
    QVERIFY(items(dialog).isEmpty());
    // An id that no longer exists shows an empty dialog rather than failing.
    DialogTestResults missing(987654, nullptr);
    QCOMPARE(text(&missing, "testDate"), QString());
}

PELVANE_TEST_MAIN(TestResultViews)
#include "TestResultViews.moc"
