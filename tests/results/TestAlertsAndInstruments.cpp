#include "ResultRows.h"
#include "../transfer/SqlRows.h"
#include "database/SqliteDatabase.h"
#include "results/AlertThresholds.h"
#include "results/DialogComparisonAlerts.h"
#include "results/DialogTestInstruments.h"
#include "support/DialogAnswerer.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

using ResultRows::Row;

namespace {
const char* const kEdits[] = {"resistancePercentage", "resistanceAbsolute", "insulationPercentage",
                              "insulationAbsolute",   "leakagePercentage",  "leakageAbsolute"};

void setThresholds(const QList<double>& values)
{
    for (int i = 0; i < AlertThresholds::Count; ++i)
        AlertThresholds::values[i] = values.value(i);
}

QList<double> thresholds()
{
    return QList<double>(AlertThresholds::values, AlertThresholds::values + AlertThresholds::Count);
}

// Types into an edit and leaves it with Tab, as a user finishes an entry.
void enter(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
}
} // namespace

// The thresholds dialog with its search and reset, and the register of test
// instruments, each on a database of its own making.
class TestAlertsAndInstruments : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void thresholdsShownAndStored();
    void commaInAThresholdIsTheDecimalPoint();
    void findAlertsCountsAndOffersTheAssets();
    void findAlertsCountsEachAssetOnce();
    void findWithoutAlertsAndRemoveAlerts();
    void returnInAnEditKeepsTheAlerts();

    void registerOpensEmpty();
    void editApplyAndAdd();
    void pendingEditsAskWhenTheSelectionMoves();
    void deleteEvenWhenResultSetsNameIt();
    void downloadedTypeSurvivesSaving();

private:
    int addAsset(const QString& name);
    int addSet(int asset, int day, double ohms, int overall = 1, const QVariant& instrument = QVariant());
    QTableView* list(QWidget* dialog) const { return dialog->findChild<QTableView*>("instrumentTable"); }
    void selectInstrument(QWidget* dialog, int id);
    QString field(QWidget* dialog, const char* name) const;

    SqliteDatabase* m_db = nullptr;
    DialogAnswerer* m_answerer = nullptr;
    int m_site = 0;
};

void TestAlertsAndInstruments::initTestCase()
{
    m_db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/alerts.db");
    QVERIFY(m_db);
    m_site = m_db->findOrInsertLocation(m_db->findOrInsertSite(m_db->findOrInsertClient("C"), "S"), "L");
}

void TestAlertsAndInstruments::init()
{
    SqlQuery wipe;
    for (const char* table : {"Result", "ResultSet", "Asset", "Instrument"})
        wipe.exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
    setThresholds({});
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    m_answerer = new DialogAnswerer(this);
}

void TestAlertsAndInstruments::cleanup()
{
    delete m_answerer;
    setThresholds({});
}

void TestAlertsAndInstruments::cleanupTestCase()
{
    Database::setInstance(nullptr);
}

int TestAlertsAndInstruments::addAsset(const QString& name)
{
    return m_db->insertAsset(name, "", "", "SN", m_site, m_db->findOrInsertEquipment("M", "M", "E", 1), 12);
}

int TestAlertsAndInstruments::addSet(int asset, int day, double ohms, int overall, const QVariant& instrument)
{
    const int set = m_db->insertResultSet(instrument, asset, QDateTime(QDate(2026, 1, day), QTime(9, 0)), 2, 2,
                                          overall, "t", "");
    ResultRows::insert(set, Row{17, 1, ohms});
    return set;
}

void TestAlertsAndInstruments::thresholdsShownAndStored()
{
    setThresholds({0.05, 2, 0.125, 0, 0.1, 100});
    // A comma language changes nothing: the edits read and show a point.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    {
        DialogComparisonAlerts dialog(nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Comparison Alerts"));
        QVERIFY(!dialog.showAlertAssets);
        QStringList shown;
        for (const char* name : kEdits)
            shown << dialog.findChild<QLineEdit*>(name)->text();
        QCOMPARE(shown, (QStringList{"5", "2", "12.5", "0", "10", "100"}));
        auto* validator = qobject_cast<const QDoubleValidator*>(dialog.findChild<QLineEdit*>(kEdits[0])->validator());
        QVERIFY(validator);
        QCOMPARE(validator->bottom(), 0.0);
        QCOMPARE(validator->top(), 1000000.0);
        QCOMPARE(validator->decimals(), 3);

        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        enter(dialog.findChild<QLineEdit*>("leakagePercentage"), "7.5");
        enter(dialog.findChild<QLineEdit*>("insulationAbsolute"), "0.25");
        // Emptied and left: the threshold keeps its value.
        enter(dialog.findChild<QLineEdit*>("resistancePercentage"), "");
        // Refused by the validator while typing: more than three decimals.
        enter(dialog.findChild<QLineEdit*>("leakageAbsolute"), "1.23456");
        QCOMPARE(thresholds(), (QList<double>{0.05, 2, 0.125, 0.25, 0.075, 1.234}));
        enter(dialog.findChild<QLineEdit*>("resistanceAbsolute"), "0");
        QCOMPARE(AlertThresholds::values[AlertThresholds::ResistanceAbsolute], 0.0);
        QTest::mouseClick(dialog.findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Close),
                          Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
    DialogComparisonAlerts again(nullptr);
    QCOMPARE(again.findChild<QLineEdit*>("leakagePercentage")->text(), QStringLiteral("7.5"));
    QCOMPARE(again.findChild<QLineEdit*>("resistancePercentage")->text(), QStringLiteral("5"));
    QCOMPARE(m_answerer->count(), 0);
}

void TestAlertsAndInstruments::commaInAThresholdIsTheDecimalPoint()
{
    // A comma, as typed in comma languages, was read as a group separator:
    // 12,5 % became 125 %. What is stored is what was typed, in every language.
    for (const QLocale& language : {QLocale(QLocale::English, QLocale::UnitedKingdom),
                                    QLocale(QLocale::German, QLocale::Germany)}) {
        QLocale::setDefault(language);
        setThresholds({0, 0, 0, 0, 0, 0});
        DialogComparisonAlerts dialog(nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        enter(dialog.findChild<QLineEdit*>("leakagePercentage"), "12,5");
        enter(dialog.findChild<QLineEdit*>("insulationAbsolute"), "1,25");
        // A second separator cannot be typed: the first one stays the point.
        enter(dialog.findChild<QLineEdit*>("resistanceAbsolute"), "2,5,1");
        QCOMPARE(thresholds(), (QList<double>{0, 2.51, 0, 1.25, 0.125, 0}));
        QCOMPARE(dialog.findChild<QLineEdit*>("leakagePercentage")->text(), QStringLiteral("12.5"));
    }
}

void TestAlertsAndInstruments::findAlertsCountsAndOffersTheAssets()
{
    // Three assets whose earth bond doubled since the last test, one steady.
    for (const char* name : {"A", "B", "C"}) {
        const int asset = addAsset(name);
        addSet(asset, 1, 0.10);
        addSet(asset, 2, 0.20);
    }
    const int steady = addAsset("D");
    addSet(steady, 1, 0.10);
    addSet(steady, 2, 0.10);
    setThresholds({0.5});

    // No keeps the dialog open; the views reload all the same. (Yes is
    // walked through the main window.)
    DialogComparisonAlerts dialog(nullptr);
    QSignalSpy details(&dialog, &DialogComparisonAlerts::updateAssetDetails);
    QSignalSpy table(&dialog, &DialogComparisonAlerts::updateAssetTableView);
    dialog.show();
    m_answerer->pressNext("No");
    QTest::mouseClick(dialog.findChild<QPushButton*>("findAlerts"), Qt::LeftButton);
    QCOMPARE(m_answerer->last().text,
             QStringLiteral("The search found 3 alert(s). Would you like to view these assets now?"));
    QCOMPARE(m_answerer->last().icon, int(QMessageBox::Question));
    QCOMPARE(details.size(), 1);
    QCOMPARE(table.size(), 1);
    QVERIFY(!dialog.showAlertAssets);
    QVERIFY(dialog.isVisible());
    QCOMPARE(SqlRows::row("SELECT COUNT(*) FROM ResultSet WHERE OverallResult=5"), QStringLiteral("3"));
}

void TestAlertsAndInstruments::findAlertsCountsEachAssetOnce()
{
    // One asset drifting at each of its tests raises two compares, but it is
    // one asset to look at.
    const int asset = addAsset("A");
    addSet(asset, 1, 0.10);
    addSet(asset, 2, 0.20);
    addSet(asset, 3, 0.40);
    setThresholds({0.5});
    DialogComparisonAlerts dialog(nullptr);
    dialog.show();
    m_answerer->pressNext("No");
    QTest::mouseClick(dialog.findChild<QPushButton*>("findAlerts"), Qt::LeftButton);
    QCOMPARE(m_answerer->last().text,
             QStringLiteral("The search found 1 alert(s). Would you like to view these assets now?"));
    QCOMPARE(SqlRows::row("SELECT COUNT(*) FROM ResultSet WHERE OverallResult=5"), QStringLiteral("2"));
}

void TestAlertsAndInstruments::findWithoutAlertsAndRemoveAlerts()
{
    const int asset = addAsset("A");
    addSet(asset, 1, 0.10);
    const int alerted = addSet(asset, 2, 0.90, 5);
    SqlQuery mark;
    mark.exec(QStringLiteral("UPDATE Result SET Status=5 WHERE ResultSetId=%1").arg(alerted));

    DialogComparisonAlerts dialog(nullptr);
    QSignalSpy details(&dialog, &DialogComparisonAlerts::updateAssetDetails);
    dialog.show();
    for (int press = 0; press < 2; ++press) {
        QTest::mouseClick(dialog.findChild<QPushButton*>("removeAlerts"), Qt::LeftButton);
        QCOMPARE(m_answerer->last().text,
                 QStringLiteral("All assets results with Alert status have now been reset to Pass status."));
        QCOMPARE(m_answerer->last().icon, int(QMessageBox::Information));
        QCOMPARE(SqlRows::row("SELECT COUNT(*) FROM ResultSet WHERE OverallResult=5"), QStringLiteral("0"));
        QCOMPARE(SqlRows::row("SELECT COUNT(*) FROM Result WHERE Status=5"), QStringLiteral("0"));
    }
    QVERIFY(dialog.isVisible());
    QCOMPARE(details.size(), 2);

    // With every threshold off the search finds nothing, and says so.
    mark.exec(QStringLiteral("UPDATE ResultSet SET OverallResult=5 WHERE Id=%1").arg(alerted));
    QTest::mouseClick(dialog.findChild<QPushButton*>("findAlerts"), Qt::LeftButton);
    QCOMPARE(m_answerer->last().text, QStringLiteral("No results raised any alerts."));
    QCOMPARE(details.size(), 3);
    QVERIFY(!dialog.showAlertAssets);
    QCOMPARE(SqlRows::row("SELECT COUNT(*) FROM ResultSet WHERE OverallResult=5"), QStringLiteral("0"));
}

void TestAlertsAndInstruments::returnInAnEditKeepsTheAlerts()
{
    const int asset = addAsset("A");
    addSet(asset, 1, 0.10);
    addSet(asset, 2, 0.90, 5);
    DialogComparisonAlerts dialog(nullptr);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* edit = dialog.findChild<QLineEdit*>("resistancePercentage");
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, "20");
    // Return finishes the entry; it must not run a search or a reset of the
    // whole database, which would wipe every alert without a question.
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(AlertThresholds::values[AlertThresholds::ResistanceRelative], 0.2);
    QCOMPARE(SqlRows::row("SELECT COUNT(*) FROM ResultSet WHERE OverallResult=5"), QStringLiteral("1"));
    QCOMPARE(m_answerer->count(), 0);
}

void TestAlertsAndInstruments::selectInstrument(QWidget* dialog, int id)
{
    QTableView* table = list(dialog);
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        if (table->model()->index(row, 0).data().toInt() == id) {
            const QModelIndex cell = table->model()->index(row, 2);
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(cell).center());
            return;
        }
    }
    QFAIL("instrument not listed");
}

QString TestAlertsAndInstruments::field(QWidget* dialog, const char* name) const
{
    if (auto* box = dialog->findChild<QComboBox*>(name))
        return box->currentText();
    return dialog->findChild<QLineEdit*>(name)->text();
}

void TestAlertsAndInstruments::registerOpensEmpty()
{
    const int q1 = m_db->findOrInsertInstrument(1, "Q1-1", QDate(), "", 9600, 8, 0, 0);
    m_db->findOrInsertInstrument(16, "OX-2", QDate(), "", 9600, 8, 0, 0);
    DialogTestInstruments dialog(nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Test Instruments"));
    QTableView* table = list(&dialog);
    QVERIFY(table->selectionModel()->selectedRows().isEmpty());
    QVERIFY(table->isColumnHidden(0));
    QCOMPARE(table->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Instrument"));
    QCOMPARE(table->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("SerialNo"));
    auto* delegate = qobject_cast<QStyledItemDelegate*>(table->itemDelegateForColumn(1));
    QVERIFY(delegate);
    QStringList names;
    for (int row = 0; row < 2; ++row)
        names << delegate->displayText(table->model()->index(row, 1).data(), QLocale());
    QCOMPARE(names, (QStringList{"Tavisk Q1", "Tavisk Corvix"}));
    QVERIFY(!dialog.findChild<QToolButton*>("removeBtn")->isEnabled());
    QVERIFY(!dialog.findChild<QToolButton*>("addBtn")->isEnabled());
    QVERIFY(!dialog.findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Apply)->isEnabled());
    QCOMPARE((QStringList{field(&dialog, "baudRate"), field(&dialog, "dataBits"), field(&dialog, "parity"),
                          field(&dialog, "stopBits"), field(&dialog, "instrumentType"), field(&dialog, "serialNo")}),
             (QStringList{"57600", "8", "None", "1", "", ""}));
    auto* types = dialog.findChild<QComboBox*>("instrumentType");
    QList<int> offered;
    for (int i = 0; i < types->count(); ++i)
        offered << types->itemData(i).toInt();
    QCOMPARE(offered, (QList<int>{1, 4, 8, 16, 32}));

    selectInstrument(&dialog, q1);
    QCOMPARE(field(&dialog, "serialNo"), QStringLiteral("Q1-1"));
    QCOMPARE(field(&dialog, "instrumentType"), QStringLiteral("Tavisk Q1"));
    QCOMPARE(field(&dialog, "baudRate"), QStringLiteral("9600"));
    QVERIFY(dialog.findChild<QToolButton*>("removeBtn")->isEnabled());
    // Loading the details is not an edit.
    QVERIFY(!dialog.findChild<QToolButton*>("addBtn")->isEnabled());
    QCOMPARE(m_answerer->count(), 0);
}

void TestAlertsAndInstruments::editApplyAndAdd()
{
    const int q1 = m_db->findOrInsertInstrument(1, "Q1-1", QDate(), "", 9600, 8, 0, 0);
    m_db->findOrInsertInstrument(8, "PR-3", QDate(), "", 9600, 8, 0, 0);
    DialogTestInstruments dialog(nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QPushButton* apply = dialog.findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Apply);
    auto* add = dialog.findChild<QToolButton*>("addBtn");
    selectInstrument(&dialog, q1);

    enter(dialog.findChild<QLineEdit*>("serialNo"), "Q1-9");
    auto* baud = dialog.findChild<QComboBox*>("baudRate");
    baud->lineEdit()->selectAll();
    QTest::keyClicks(baud, "14400");
    QTest::keyClick(baud, Qt::Key_Return);
    dialog.findChild<QComboBox*>("parity")->setCurrentIndex(2);
    QVERIFY(apply->isEnabled());
    QVERIFY(add->isEnabled());
    QTest::mouseClick(apply, Qt::LeftButton);
    QCOMPARE(SqlRows::row(QStringLiteral("SELECT InstrumentType,SerialNo,BaudRate,DataBits,Parity,StopBits FROM "
                                         "Instrument WHERE Id=%1").arg(q1)),
             QStringLiteral("1|Q1-9|14400|8|2|0"));
    QVERIFY(!apply->isEnabled());
    QVERIFY(!add->isEnabled());

    // Adding under a serial number that is taken, by any type, is refused.
    dialog.findChild<QComboBox*>("instrumentType")->setCurrentIndex(4);
    enter(dialog.findChild<QLineEdit*>("serialNo"), "PR-3");
    QTest::mousePress(add, Qt::LeftButton);
    QCOMPARE(m_answerer->last().text, QStringLiteral("An instrument already exists with the same serial number. "
                                                     "Please choose a different serial number."));
    QCOMPARE(SqlRows::row("SELECT COUNT(*) FROM Instrument"), QStringLiteral("2"));
    QTest::mouseRelease(add, Qt::LeftButton);

    enter(dialog.findChild<QLineEdit*>("serialNo"), "CX-5");
    QTest::mousePress(add, Qt::LeftButton);
    QTest::mouseRelease(add, Qt::LeftButton);
    QCOMPARE(SqlRows::row("SELECT InstrumentType,SerialNo,BaudRate,DataBits,Parity,StopBits,CalibrationDate,"
                          "FirmwareVersion FROM Instrument WHERE SerialNo='CX-5'"),
             QStringLiteral("32|CX-5|14400|8|2|0|-|"));
    const QModelIndexList selected = list(&dialog)->selectionModel()->selectedRows();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(list(&dialog)->model()->index(selected.first().row(), 2).data().toString(), QStringLiteral("CX-5"));
    QVERIFY(!add->isEnabled());
    QCOMPARE(m_answerer->count(), 1);
    selectInstrument(&dialog, q1);
    enter(dialog.findChild<QLineEdit*>("serialNo"), "Q1-10");
    QVERIFY(SqlQuery().exec(QStringLiteral("DELETE FROM Instrument WHERE Id=%1").arg(q1)));
    QTest::mouseClick(apply, Qt::LeftButton);
    QVERIFY(m_answerer->last().text.startsWith("The instrument Q1-10 was deleted on another workstation."));
    QVERIFY(apply->isEnabled());
}

void TestAlertsAndInstruments::pendingEditsAskWhenTheSelectionMoves()
{
    const int first = m_db->findOrInsertInstrument(1, "Q1-1", QDate(), "", 9600, 8, 0, 0);
    const int second = m_db->findOrInsertInstrument(4, "Q2-2", QDate(), "", 9600, 8, 0, 0);
    DialogTestInstruments dialog(nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto selectedSerial = [&] {
        const QModelIndexList rows = list(&dialog)->selectionModel()->selectedRows();
        return rows.isEmpty() ? QString() : list(&dialog)->model()->index(rows.first().row(), 2).data().toString();
    };
    selectInstrument(&dialog, first);
    enter(dialog.findChild<QLineEdit*>("serialNo"), "Q1-edited");

    m_answerer->pressNext("Cancel");
    selectInstrument(&dialog, second);
    QCOMPARE(m_answerer->last().text,
             QStringLiteral("You have made changes to this instrument. Do you want to save these changes?"));
    QCOMPARE(selectedSerial(), QStringLiteral("Q1-1"));
    QCOMPARE(field(&dialog, "serialNo"), QStringLiteral("Q1-edited"));

    m_answerer->pressNext("No");
    selectInstrument(&dialog, second);
    QCOMPARE(field(&dialog, "serialNo"), QStringLiteral("Q2-2"));
    QCOMPARE(SqlRows::row("SELECT SerialNo FROM Instrument WHERE InstrumentType=1"), QStringLiteral("Q1-1"));

    enter(dialog.findChild<QLineEdit*>("serialNo"), "Q2-edited");
    m_answerer->pressNext("Yes");
    selectInstrument(&dialog, first);
    QCOMPARE(SqlRows::row("SELECT SerialNo FROM Instrument WHERE InstrumentType=4"), QStringLiteral("Q2-edited"));
    QCOMPARE(field(&dialog, "serialNo"), QStringLiteral("Q1-1"));
    QCOMPARE(m_answerer->count(), 3);
}

void TestAlertsAndInstruments::deleteEvenWhenResultSetsNameIt()
{
    const int used = m_db->findOrInsertInstrument(1, "Q1-1", QDate(), "", 9600, 8, 0, 0);
    const int set = addSet(addAsset("A"), 1, 0.1, 1, used);
    DialogTestInstruments dialog(nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* remove = dialog.findChild<QToolButton*>("removeBtn");
    selectInstrument(&dialog, used);
    QTest::mousePress(remove, Qt::LeftButton);
    QTest::mouseRelease(remove, Qt::LeftButton);
    QCOMPARE(SqlRows::row("SELECT COUNT(*) FROM Instrument"), QStringLiteral("0"));
    QCOMPARE(SqlRows::row(QStringLiteral("SELECT InstrumentId FROM ResultSet WHERE Id=%1").arg(set)),
             QString::number(used));
    QCOMPARE(list(&dialog)->model()->rowCount(), 0);
    QVERIFY(!remove->isEnabled());
    QTest::mousePress(remove, Qt::LeftButton);
    QCOMPARE(m_answerer->count(), 0);
}

void TestAlertsAndInstruments::downloadedTypeSurvivesSaving()
{
    // Type 2 comes only from downloads and has no entry in the type list.
    const int downloaded = m_db->findOrInsertInstrument(2, "Q3-1", QDate(), "", 9600, 8, 0, 0);
    DialogTestInstruments dialog(nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    selectInstrument(&dialog, downloaded);
    QCOMPARE(dialog.findChild<QComboBox*>("instrumentType")->currentIndex(), -1);
    enter(dialog.findChild<QLineEdit*>("serialNo"), "Q3-2");
    QTest::mouseClick(dialog.findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Apply),
                      Qt::LeftButton);
    QCOMPARE(SqlRows::row(QStringLiteral("SELECT InstrumentType,SerialNo FROM Instrument WHERE Id=%1").arg(downloaded)),
             QStringLiteral("2|Q3-2"));
}

PELVANE_TEST_MAIN(TestAlertsAndInstruments)
#include "TestAlertsAndInstruments.moc"
