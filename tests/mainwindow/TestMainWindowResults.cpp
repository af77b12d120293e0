#include "../transfer/InstrumentRecords.h"
#include "assets/AssetTableView.h"
#include "assets/AssetTreeView.h"
#include "assets/StatusDelegate.h"
#include "core/Translator.h"
#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "mainwindow/MainWindow.h"
#include "results/AlertThresholds.h"
#include "results/DialogTestResults.h"
#include "results/TestResult.h"
#include "support/DialogAnswerer.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"
#include "WindowTestHelpers.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDataStream>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSqlRecord>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>
#include <memory>

namespace {
// Rows of the seeded register, in insertion order.
enum { Pump1 = 1, MonitorA = 3 };

QString value(const QString& statement)
{
    SqlQuery query;
    query.exec(statement);
    QStringList values;
    if (query.next()) {
        for (int i = 0; i < query.record().count(); ++i)
            values << (query.value(i).isNull() ? QStringLiteral("-") : query.value(i).toString());
    }
    return values.join('|');
}

void addResult(int set, int testId, int status, double result, const QVariantList& more = {})
{
    SqlQuery q(QStringLiteral(
        "INSERT INTO Result (ResultSetId,TestId,Status,ResultLimit,Result,ResultGreaterThan,MainsPolarity,"
        "SingleFaultCondition,ResultACDC,PatientConnection,PatientAuxConnection,CustomName,CustomUnits) "
        "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (const QVariant& v : {QVariant(set), QVariant(testId), QVariant(status), QVariant(0.5), QVariant(result)})
        q.addBindValue(v);
    for (int i = 0; i < 8; ++i)
        q.addBindValue(more.value(i));
    q.exec();
}

struct DemoSets
{
    int january, march, may;
};

// Monitor A gets a full January test before its seeded March alert and a
// failed test in May; Pump 1's earth bond triples between its two tests.
DemoSets addDemoResults(Database* db)
{
    DemoSets sets;
    sets.march = value(QStringLiteral("SELECT Id FROM ResultSet WHERE AssetId=%1").arg(MonitorA)).toInt();
    sets.january = db->insertResultSet(1, MonitorA, QDateTime(QDate(2026, 1, 5), QTime(8, 15)), 2, 2, 1, "Ann",
                                       "Fine");
    sets.may = db->insertResultSet(1, MonitorA, QDateTime(QDate(2026, 5, 1), QTime(14, 0)), 2, 2, 2, "Ann", "");
    addResult(sets.january, 17, 1, 0.12);
    for (int i = 0; i < 3; ++i)
        addResult(sets.january, 48, 1, 120.0 + i * 37.5, {QVariant(), i == 1, i == 2 ? 4 : 0, QVariant()});
    addResult(sets.january, 253, 1, 3.0);
    addResult(sets.may, 17, 2, 0.9);
    const int pumpFirst = value(QStringLiteral("SELECT Id FROM ResultSet WHERE AssetId=%1").arg(Pump1)).toInt();
    addResult(pumpFirst, 17, 1, 0.10);
    addResult(db->insertResultSet(1, Pump1, QDateTime(QDate(2026, 6, 1), QTime(9, 0)), 2, 2, 1, "Ann", ""), 17, 1,
              0.30);
    return sets;
}

// More kinds of test in Monitor A's January set, for the pictures.
void addMoreKinds(int set)
{
    addResult(set, 33, 1, 199.9, {true});
    addResult(set, 113, 1, 2.5, {QVariant(), false, 0, true, "ECG", "SpO2"});
    addResult(set, 113, 1, 3.25, {QVariant(), true, 2, false, "ECG", "SpO2"});
    addResult(set, 145, 1, 1);
    addResult(set, 146, 1, 229.5);
    addResult(set, 253, 4, 12.0, {false, QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), "Cable strain", "N"});
    addResult(set, 1, 1, 0);
}

void pressSoon(QAbstractButton* button)
{
    QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
}

void typeAndLeave(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    emit edit->editingFinished();
}
} // namespace

// Shows Monitor A's results tab and then the dialog of its January set, with
// a few lines opened, under X (args: the demo database, the PNG of the tab,
// the PNG of the dialog); for scripts/screenshot --results.
PELVANE_CHILD_SCENARIO(showResults)
{
    if (args.size() < 3 || !QGuiApplication::primaryScreen())
        return 2;
    {
        auto* db = new SqliteDatabase;
        if (db->open(args.at(0), false) != 0)
            return 1;
        Database::setInstance(db);
        addMoreKinds(addDemoResults(db).january);
        Database::setInstance(nullptr);
    }
    QSettings settings;
    settings.setValue(QStringLiteral("language/translation"), QStringLiteral("Translations/pelvane_en.qm"));
    settings.setValue(QStringLiteral("db/current/type"), 0);
    settings.setValue(QStringLiteral("db/current/fileName"), args.at(0));
    MainWindow window;
    if (!Database::instance())
        return 1;
    window.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    auto* tree = window.findChild<QTreeView*>(QStringLiteral("assetTreeView"));
    auto* table = window.findChild<AssetTableView*>(QStringLiteral("assetTableView"));
    tree->expandAll();
    static_cast<AssetTreeView*>(tree)->selectClient(1);
    table->selectAsset(MonitorA);
    auto* editor = window.findChild<QWidget*>(QStringLiteral("assetTabs"));
    editor->findChild<QTabWidget*>(QStringLiteral("assetTabWidget"))->setCurrentIndex(1);
    auto* sets = editor->findChild<QTableView*>(QStringLiteral("resultSetsTable"));
    sets->selectRow(0);
    QTest::qWait(500);
    if (!QGuiApplication::primaryScreen()->grabWindow(0).save(args.at(1), "PNG"))
        return 1;

    // The child's answerer closes every modal dialog at once, so the set's
    // dialog is shown without a modal loop of its own.
    DialogTestResults dialog(sets->model()->index(0, 0).data().toInt(), &window);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog))
        return 1;
    for (TestResult* line : dialog.findChildren<TestResult*>()) {
        if (QList<int>{17, 48, 113, 145}.contains(line->testId()))
            line->findChild<QToolButton*>(QStringLiteral("detailsBtn"))->click();
    }
    QTest::qWait(500);
    return QGuiApplication::primaryScreen()->grabWindow(0).save(args.at(2), "PNG") ? 0 : 1;
}

// The results tab, the result-set dialog, the alerts dialog and the
// instrument register as a user reaches them in the real window.
class TestMainWindowResults : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void resultSetsListedOpenedAndDeleted();
    void columnWidthsSurviveARestart();
    void alertsFoundAndListed();
    void downloadRaisesAnAlert();
    void instrumentRegisterFromItsAction();

private:
    void openWindow();
    QAction* action(const char* name) const { return m_window->findChild<QAction*>(QLatin1String(name)); }
    QTreeView* tree() const { return m_window->findChild<QTreeView*>(QStringLiteral("assetTreeView")); }
    AssetTableView* table() const { return m_window->findChild<AssetTableView*>(QStringLiteral("assetTableView")); }
    QWidget* editor() const { return m_window->findChild<QWidget*>(QStringLiteral("assetTabs")); }
    QTableView* resultSets() const { return editor()->findChild<QTableView*>(QStringLiteral("resultSetsTable")); }
    QPushButton* inEditor(const char* name) const { return editor()->findChild<QPushButton*>(QLatin1String(name)); }
    void clickTree(const QStringList& path);
    void clickAsset(int assetId);
    void showResultsTab();
    void clickResultSet(int row);
    QStringList listedSets() const;

    DialogAnswerer* m_answerer = nullptr;
    std::unique_ptr<MainWindow> m_window;
    QString m_path;
    int m_january = 0, m_march = 0, m_may = 0;
};

void TestMainWindowResults::init()
{
    TestEnvironment::clearSettings();
    for (double& threshold : AlertThresholds::values)
        threshold = 0;
    QSettings().setValue(QStringLiteral("language/translation"), QStringLiteral("Translations/pelvane_en.qm"));
    m_path = TestEnvironment::instance()->newFolder(QStringLiteral("db")) + QStringLiteral("/register.db");
    SqliteDatabase* db = SeededDatabase::createSeeded(m_path);
    QVERIFY(db);
    const DemoSets sets = addDemoResults(db);
    m_january = sets.january;
    m_march = sets.march;
    m_may = sets.may;
    Database::setInstance(nullptr);
    QSettings().setValue(QStringLiteral("db/current/type"), 0);
    QSettings().setValue(QStringLiteral("db/current/fileName"), m_path);
    m_answerer = new DialogAnswerer(this);
    openWindow();
}

void TestMainWindowResults::openWindow()
{
    m_window = std::make_unique<MainWindow>();
    m_window->resize(1100, 800);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QVERIFY(Database::instance());
}

void TestMainWindowResults::cleanup()
{
    m_window.reset();
    delete m_answerer;
    m_answerer = nullptr;
    Database::setInstance(nullptr);
    for (double& threshold : AlertThresholds::values)
        threshold = 0;
}

void TestMainWindowResults::clickTree(const QStringList& path)
{
    QAbstractItemModel* model = tree()->model();
    QModelIndex node = model->index(0, 0);
    for (const QString& name : path) {
        QModelIndex found;
        for (int row = 0; row < model->rowCount(node) && !found.isValid(); ++row) {
            if (model->index(row, 0, node).data().toString() == name)
                found = model->index(row, 0, node);
        }
        QVERIFY2(found.isValid(), qPrintable(name));
        tree()->expand(node);
        node = found;
    }
    tree()->scrollTo(node);
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, Qt::NoModifier, tree()->visualRect(node).center());
}

void TestMainWindowResults::clickAsset(int assetId)
{
    clickAssetRow(table(), assetId);
}

void TestMainWindowResults::showResultsTab()
{
    auto* tabs = editor()->findChild<QTabWidget*>(QStringLiteral("assetTabWidget"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Test Results"));
    QCOMPARE(tabs->widget(1)->objectName(), QStringLiteral("testResultsTab"));
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, Qt::NoModifier, tabs->tabBar()->tabRect(1).center());
    QCOMPARE(tabs->currentIndex(), 1);
}

void TestMainWindowResults::clickResultSet(int row)
{
    const QModelIndex cell = resultSets()->model()->index(row, 1);
    QTest::mouseClick(resultSets()->viewport(), Qt::LeftButton, Qt::NoModifier, resultSets()->visualRect(cell).center());
}

// "date|status" of the visible rows, top to bottom.
QStringList TestMainWindowResults::listedSets() const
{
    QStringList rows;
    QAbstractItemModel* model = resultSets()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (resultSets()->isRowHidden(row))
            continue;
        rows << QStringLiteral("%1|%2")
                    .arg(static_cast<QStyledItemDelegate*>(resultSets()->itemDelegateForColumn(1))
                             ->displayText(model->index(row, 1).data(), QLocale()),
                         model->index(row, 2).data().toString());
    }
    return rows;
}

void TestMainWindowResults::resultSetsListedOpenedAndDeleted()
{
    clickTree({"Acme Health", "North", "Ward 2"});
    clickAsset(MonitorA);
    showResultsTab();
    QCOMPARE(listedSets(), (QStringList{"05/01/2026|1", "12/03/2026|5", "01/05/2026|2"}));
    QVERIFY(dynamic_cast<StatusDelegate*>(resultSets()->itemDelegateForColumn(2)));
    QCOMPARE(resultSets()->selectionModel()->selectedRows().value(0).row(), 2);

    // Details of the January set: its header and one line per test.
    clickResultSet(0);
    QStringList lines;
    QString tester, date;
    m_answerer->answerNext([&](QWidget* w) {
        for (TestResult* line : w->findChildren<TestResult*>())
            lines << line->findChild<QLabel*>(QStringLiteral("testLabel"))->text();
        tester = w->findChild<QLineEdit*>(QStringLiteral("testerName"))->text();
        date = w->findChild<QLineEdit*>(QStringLiteral("testDate"))->text();
        qobject_cast<QDialog*>(w)->accept();
    });
    QTest::mousePress(inEditor("detailsBtn"), Qt::LeftButton);
    QTest::mouseRelease(inEditor("detailsBtn"), Qt::LeftButton);
    QCOMPARE(m_answerer->last().className, QStringLiteral("DialogTestResults"));
    QCOMPARE(lines, (QStringList{"Earth Bond", "Earth Leakage (Direct)", "Custom Result"}));
    QCOMPARE(tester, QStringLiteral("Ann"));
    QCOMPARE(date, QStringLiteral("05/01/2026 08:15:00"));

    // Deleting the May set, the asset's latest, moves it back to March.
    QCOMPARE(value(QStringLiteral("SELECT LatestResultSetId,RetestDate FROM Asset WHERE Id=%1").arg(MonitorA)),
             QStringLiteral("%1|2026-11-01 14:00:00").arg(m_may));
    clickResultSet(2);
    m_answerer->pressNext(QStringLiteral("Yes"));
    QTest::mousePress(inEditor("deleteBtn"), Qt::LeftButton);
    QTest::mouseRelease(inEditor("deleteBtn"), Qt::LeftButton);
    QCOMPARE(listedSets().size(), 2);
    QVERIFY(inEditor("applyButton")->isEnabled());
    QTest::mouseClick(inEditor("applyButton"), Qt::LeftButton);
    QVERIFY(!inEditor("applyButton")->isEnabled());
    QCOMPARE(value(QStringLiteral("SELECT LatestResultSetId,RetestDate FROM Asset WHERE Id=%1").arg(MonitorA)),
             QStringLiteral("%1|2026-09-12 09:30:00").arg(m_march));
    QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM Result WHERE ResultSetId=%1").arg(m_may)), QStringLiteral("0"));
    // The asset table follows: its status is now the March alert.
    QAbstractItemModel* assets = table()->model();
    for (int row = 0; row < assets->rowCount(); ++row) {
        if (assets->index(row, AssetTableView::IdColumn).data().toInt() == MonitorA)
            QCOMPARE(assets->index(row, AssetTableView::StatusColumn).data().toInt(), 5);
    }
    QCOMPARE(listedSets(), (QStringList{"05/01/2026|1", "12/03/2026|5"}));
    QCOMPARE(m_answerer->count(), 2);
}

void TestMainWindowResults::columnWidthsSurviveARestart()
{
    clickTree({"Acme Health", "North", "Ward 2"});
    clickAsset(MonitorA);
    showResultsTab();
    resultSets()->horizontalHeader()->resizeSection(1, 140);
    resultSets()->horizontalHeader()->resizeSection(2, 55);
    m_window->close();
    m_window.reset();
    const QByteArray stored = QSettings().value(QStringLiteral("win/AssetTabs")).toByteArray();
    QCOMPARE(stored.toHex(), QByteArray("000000008c00000037000000"));

    openWindow();
    clickTree({"Acme Health", "North", "Ward 2"});
    clickAsset(MonitorA);
    showResultsTab();
    QCOMPARE(resultSets()->columnWidth(1), 140);
    QCOMPARE(resultSets()->columnWidth(2), 55);
    QVERIFY(resultSets()->isColumnHidden(0));
}

void TestMainWindowResults::alertsFoundAndListed()
{
    QAction* alerts = action("actionComparisonAlerts");
    QVERIFY(alerts->isEnabled());
    QCOMPARE(alerts->text(), QStringLiteral("Comparison Alerts..."));
    m_answerer->answerNext([](QWidget* w) {
        QCOMPARE(w->windowTitle(), QStringLiteral("Comparison Alerts"));
        typeAndLeave(w->findChild<QLineEdit*>(QStringLiteral("resistancePercentage")), QStringLiteral("12.5"));
        pressSoon(w->findChild<QPushButton*>(QStringLiteral("findAlerts")));
    });
    m_answerer->pressNext(QStringLiteral("Yes"));
    alerts->trigger();
    QCOMPARE(m_answerer->count(), 2);
    QCOMPARE(m_answerer->last().text,
             QStringLiteral("The search found 1 alert(s). Would you like to view these assets now?"));
    QCOMPARE(AlertThresholds::values[AlertThresholds::ResistanceRelative], 0.125);

    // The search panel lists the asset whose latest test raised the alert.
    auto* panels = m_window->findChild<QTabWidget*>(QStringLiteral("assetTabWidget"));
    QCOMPARE(panels->currentWidget()->objectName(), QStringLiteral("searchTab"));
    QList<int> listed;
    for (int row = 0; row < table()->model()->rowCount(); ++row)
        listed << table()->model()->index(row, AssetTableView::IdColumn).data().toInt();
    QCOMPARE(listed, QList<int>{Pump1});
    // The seeded March alert was turned back to pass by the search.
    QCOMPARE(value(QStringLiteral("SELECT OverallResult FROM ResultSet WHERE Id=%1").arg(m_march)),
             QStringLiteral("1"));

    // Remove Alerts, and a closed dialog leaves the panel alone.
    panels->setCurrentIndex(0);
    m_answerer->answerNext([](QWidget* w) {
        pressSoon(w->findChild<QPushButton*>(QStringLiteral("removeAlerts")));
        QTimer::singleShot(50, w, [w] { qobject_cast<QDialog*>(w)->reject(); });
    });
    m_answerer->pressNext(QStringLiteral("OK"));
    alerts->trigger();
    QCOMPARE(m_answerer->last().text,
             QStringLiteral("All assets results with Alert status have now been reset to Pass status."));
    QCOMPARE(value(QStringLiteral("SELECT COUNT(*) FROM ResultSet WHERE OverallResult=5")), QStringLiteral("0"));
    QCOMPARE(panels->currentIndex(), 0);

    // The thresholds are kept at close as six big-endian doubles.
    m_window->close();
    const QByteArray stored = QSettings().value(QStringLiteral("settings/alerts")).toByteArray();
    QCOMPARE(stored.size(), 48);
    QCOMPARE(stored.left(8).toHex(), QByteArray("3fc0000000000000"));
    QCOMPARE(stored.mid(8).count('\0'), 40);
}

void TestMainWindowResults::downloadRaisesAnAlert()
{
    SimulatedInstrument instrument;
    QVERIFY(instrument.isValid());
    // The threshold is set where a user sets it.
    m_answerer->answerNext([](QWidget* w) {
        typeAndLeave(w->findChild<QLineEdit*>(QStringLiteral("resistancePercentage")), QStringLiteral("10"));
        qobject_cast<QDialog*>(w)->reject();
    });
    action("actionComparisonAlerts")->trigger();
    QCOMPARE(AlertThresholds::values[AlertThresholds::ResistanceRelative], 0.1);

    const QList<QByteArray> records = {
        InstrumentRecords::header(2),
        InstrumentRecords::asset(QStringLiteral("Pump"), QDateTime(QDate(2026, 1, 10), QTime(9, 30)), 1, {{1, 0.10f}}),
        InstrumentRecords::asset(QStringLiteral("Pump"), QDateTime(QDate(2026, 2, 10), QTime(9, 30)), 1, {{1, 0.30f}}),
        InstrumentRecords::end()};
    int acked = 0;
    m_answerer->answerNext([&](QWidget* w) {
        choosePortThenSend(w, instrument.portName(), m_window.get(),
                           [&] { acked = sendAcknowledged(instrument, records); });
    });
    QString alertLine;
    m_answerer->answerNext([&alertLine](QWidget* w) {
        alertLine = w->findChild<QLabel*>(QStringLiteral("alertLabel"))->text();
        qobject_cast<QDialog*>(w)->accept();
    });
    // The program's translation, installed as the program does: one asset.
    QCoreApplication::installTranslator(translator());
    auto uninstall = qScopeGuard([] { QCoreApplication::removeTranslator(translator()); });
    action("actionDownload")->trigger();
    QCOMPARE(acked, records.size());
    QCOMPARE(alertLine, QStringLiteral("1 asset downloaded with status 'Alert'"));

    clickTree({"Harbour Hospital", "East Wing", "Ward 7"});
    const int pump = value(QStringLiteral("SELECT Id FROM Asset WHERE Name='Pump'")).toInt();
    clickAsset(pump);
    showResultsTab();
    QCOMPARE(listedSets(), (QStringList{"10/01/2026|1", "10/02/2026|5"}));
}

void TestMainWindowResults::instrumentRegisterFromItsAction()
{
    QAction* instruments = action("actionTestInstruments");
    QVERIFY(instruments->isEnabled());
    QCOMPARE(instruments->text(), QStringLiteral("Test Instruments..."));
    QStringList serials;
    m_answerer->answerNext([&serials](QWidget* w) {
        auto* list = w->findChild<QTableView*>(QStringLiteral("instrumentTable"));
        for (int row = 0; row < list->model()->rowCount(); ++row)
            serials << list->model()->index(row, 2).data().toString();
        qobject_cast<QDialog*>(w)->reject();
    });
    instruments->trigger();
    QCOMPARE(m_answerer->last().title, QStringLiteral("Test Instruments"));
    QCOMPARE(serials, QStringList{"Q1-0001"});
}

PELVANE_TEST_MAIN(TestMainWindowResults)
#include "TestMainWindowResults.moc"
