#include "../transfer/InstrumentRecords.h"
#include "assets/AppliedPartTable.h"
#include "assets/AppliedPartsTab.h"
#include "assets/AssetTableView.h"
#include "assets/AssetTabs.h"
#include "assets/AssetTreeModel.h"
#include "assets/AssetTreeView.h"
#include "certificates/DialogCertificateGenerator.h"
#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "mainwindow/ApplicationLoop.h"
#include "mainwindow/MainWindow.h"
#include "sequences/DialogTestSequenceElementTypes.h"
#include "sequences/TestSequence.h"
#include "sequences/TestSequenceTab.h"
#include "support/DialogAnswerer.h"
#include "support/SeededDatabase.h"
#include "support/SimulatedInstrument.h"
#include "support/TestEnvironment.h"
#include "ux/TsqMedicalApplianceResult.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSqlRecord>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBox>
#include <QtTest>

#include "WindowTestHelpers.h"
#include <functional>
#include <memory>

namespace {
// Rows of the seeded register, in insertion order.
enum { Pump1 = 1, Pump2 = 2, MonitorA = 3 };

// A visual test element, as the editor makes it.
const QByteArray visualTest("0201");

} // namespace

// The asset editor's tabs as a technician uses them together in the window:
// one Apply over several tabs, switching databases with edits pending, and a
// download or an upload of the asset the editor shows.
class TestMainWindowEditorTabs : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void oneApplyWritesEveryTab();
    void everyMarkedResultSetIsDeleted();
    void switchingDatabaseDropsSequenceAndResultEdits();
    void leavingTheAssetAppliesOrDropsSequenceAndResultEdits();
    void sequenceFollowsTheShownAssetsEquipmentClass();
    void downloadedAssetShowsItsNewDataInTheEditor();
    void downloadMovingAnAssetShowsItsNewPlaceInTheTree();
    void sequenceEditPendingOverADownloadIsKept();
    void uploadSendsTheSequenceBuiltInTheEditor();
    void languageRestartWithTheTabsOpen();
    void closingAsksAboutUnappliedEdits_data();
    void closingAsksAboutUnappliedEdits();

private:
    QAction* action(const char* name) const { return m_window->findChild<QAction*>(QLatin1String(name)); }
    AssetTabs* tabs() const { return m_window->findChild<AssetTabs*>(QStringLiteral("assetTabs")); }
    AssetTableView* table() const { return m_window->findChild<AssetTableView*>(QStringLiteral("assetTableView")); }
    QTabWidget* tabWidget() const { return tabs()->findChild<QTabWidget*>(QStringLiteral("assetTabWidget")); }
    TestSequenceTab* sequenceTab() const { return m_window->findChild<TestSequenceTab*>(QStringLiteral("testSequenceTab")); }
    TestSequence* sequence() const { return sequenceTab()->testSequence(); }
    QTableView* resultSets() const { return tabs()->findChild<QTableView*>(QStringLiteral("resultSetsTable")); }
    QPushButton* applyButton() const { return button(tabs(), "applyButton"); }
    void showTab(const char* objectName);
    void clickAsset(int assetId);
    void addElement(int id);
    // Marks the result set on row for deletion, answering Yes.
    void deleteResultSet(int row);
    QStringList listedSetIds() const;
    QDate lastTestShown(int assetId) const;
    // Pump 1 tested on 1 July 2026, with the instrument's sequence "Routine".
    void downloadPump1();
    static QString newSeededFile();

    DialogAnswerer* m_answerer = nullptr;
    std::unique_ptr<MainWindow> m_window;
    // A second register with the same Ids, for switching to.
    QString m_otherPath;
};

QString TestMainWindowEditorTabs::newSeededFile()
{
    const QString path = TestEnvironment::instance()->newFolder(QStringLiteral("db")) + QStringLiteral("/register.db");
    if (!SeededDatabase::createSeeded(path))
        return QString();
    Database::setInstance(nullptr);
    return path;
}

void TestMainWindowEditorTabs::init()
{
    TestEnvironment::clearSettings();
    QSettings().setValue(QStringLiteral("language/translation"), QStringLiteral("Translations/pelvane_en.qm"));
    const QString path = newSeededFile();
    QVERIFY(!path.isEmpty());
    m_otherPath = newSeededFile();
    QVERIFY(!m_otherPath.isEmpty());
    QSettings().setValue(QStringLiteral("db/current/type"), 0);
    QSettings().setValue(QStringLiteral("db/current/fileName"), path);
    m_answerer = new DialogAnswerer(this);
    m_window = std::make_unique<MainWindow>();
    m_window->resize(1100, 800);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QVERIFY(Database::instance());
}

void TestMainWindowEditorTabs::cleanup()
{
    m_window.reset();
    delete m_answerer;
    m_answerer = nullptr;
    Database::setInstance(nullptr);
}

void TestMainWindowEditorTabs::showTab(const char* objectName)
{
    QWidget* tab = tabWidget()->findChild<QWidget*>(QLatin1String(objectName));
    QVERIFY(tab);
    const int index = tabWidget()->indexOf(tab);
    QTest::mouseClick(tabWidget()->tabBar(), Qt::LeftButton, Qt::NoModifier,
                      tabWidget()->tabBar()->tabRect(index).center());
    QCOMPARE(tabWidget()->currentIndex(), index);
}

void TestMainWindowEditorTabs::clickAsset(int assetId)
{
    table()->showAllAssets();
    clickAssetRow(table(), assetId);
}

void TestMainWindowEditorTabs::addElement(int id)
{
    const int before = sequence()->elementCount();
    m_answerer->answerNext([id](QWidget* dialog) {
        if (chooseElementType(dialog, id))
            return;
        qobject_cast<QDialog*>(dialog)->reject();
        QFAIL(qPrintable(QStringLiteral("element %1 is not offered").arg(id)));
    });
    press(button(sequence(), "addElementBtn"));
    QCOMPARE(sequence()->elementCount(), before + 1);
}

void TestMainWindowEditorTabs::deleteResultSet(int row)
{
    const QModelIndex cell = resultSets()->model()->index(row, 1);
    QTest::mouseClick(resultSets()->viewport(), Qt::LeftButton, Qt::NoModifier, resultSets()->visualRect(cell).center());
    m_answerer->pressNext(QStringLiteral("Yes"));
    press(button(tabs(), "deleteBtn"));
    QVERIFY(resultSets()->isRowHidden(row));
}

QStringList TestMainWindowEditorTabs::listedSetIds() const
{
    QStringList ids;
    QAbstractItemModel* model = resultSets()->model();
    for (int row = 0; model && row < model->rowCount(); ++row) {
        if (!resultSets()->isRowHidden(row))
            ids << model->index(row, 0).data().toString();
    }
    return ids;
}

void TestMainWindowEditorTabs::oneApplyWritesEveryTab()
{
    // Pump 2 has one failed result set; its applied parts are locked by it.
    clickAsset(Pump2);
    showTab("testResultsTab");
    QCOMPARE(listedSetIds(), QStringList{"2"});
    auto* description = tabs()->findChild<QLineEdit*>(QStringLiteral("description"));
    showTab("assetDetailsTab");
    description->selectAll();
    QTest::keyClicks(description, QStringLiteral("Syringe driver"));
    showTab("testSequenceTab");
    QTest::keyClicks(sequenceTab()->findChild<QLineEdit*>(QStringLiteral("name")), QStringLiteral("Yearly"));
    addElement(1);
    showTab("testResultsTab");
    deleteResultSet(0);
    QVERIFY(applyButton()->isEnabled());
    press(applyButton());
    QVERIFY(!applyButton()->isEnabled());

    QCOMPARE(scalar("SELECT Description FROM Asset WHERE Id=2").toString(), QStringLiteral("Syringe driver"));
    QCOMPARE(scalar("SELECT Name FROM TestSequence WHERE AssetId=2").toString(), QStringLiteral("Yearly"));
    QCOMPARE(storedHex("SELECT Data FROM TestSequence WHERE AssetId=2"), QString(visualTest));
    QCOMPARE(scalar("SELECT COUNT(*) FROM ResultSet WHERE AssetId=2").toInt(), 0);
    QCOMPARE(scalar("SELECT LatestResultSetId FROM Asset WHERE Id=2").toInt(), 0);
    QVERIFY(scalar("SELECT RetestDate FROM Asset WHERE Id=2").isNull());
    QVERIFY(listedSetIds().isEmpty());

    // With its last result set gone the asset's applied parts may be edited.
    showTab("appliedPartsTab");
    QPushButton* addPart = button(tabs()->appliedPartsTab(), "addRowBtn");
    QVERIFY(addPart->isEnabled());
    AppliedPartTable* parts = tabs()->appliedPartsTab()->table();
    const int row = parts->rowCount() - 1;
    parts->setItem(row, 0, new QTableWidgetItem(QStringLiteral("ECG")));
    parts->setItem(row, 1, new QTableWidgetItem(QStringLiteral("2")));
    parts->setItem(row, 2, new QTableWidgetItem(QStringLiteral("3")));
    QVERIFY(applyButton()->isEnabled());
    press(applyButton());
    QCOMPARE(scalar("SELECT Name FROM AppliedPart WHERE AssetId=2").toString(), QStringLiteral("ECG"));
    // Nothing the first Apply wrote was written over.
    QCOMPARE(storedHex("SELECT Data FROM TestSequence WHERE AssetId=2"), QString(visualTest));
    QCOMPARE(scalar("SELECT Description FROM Asset WHERE Id=2").toString(), QStringLiteral("Syringe driver"));
}

void TestMainWindowEditorTabs::everyMarkedResultSetIsDeleted()
{
    // Monitor A gets two more sets around its seeded one (Id 3, March).
    Database* db = Database::instance();
    const int january = db->insertResultSet(1, MonitorA, QDateTime(QDate(2026, 1, 5), QTime(8, 0)), 2, 2, 1, "Ann", "");
    const int may = db->insertResultSet(1, MonitorA, QDateTime(QDate(2026, 5, 1), QTime(8, 0)), 2, 2, 2, "Ann", "");
    clickAsset(MonitorA);
    showTab("testResultsTab");
    QCOMPARE(listedSetIds(), (QStringList{QString::number(january), "3", QString::number(may)}));

    // The two older sets marked in one go.
    resultSets()->selectionModel()->select(
        QItemSelection(resultSets()->model()->index(0, 0), resultSets()->model()->index(1, 2)),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_answerer->pressNext(QStringLiteral("Yes"));
    press(button(tabs(), "deleteBtn"));
    QCOMPARE(listedSetIds(), QStringList{QString::number(may)});
    press(applyButton());

    QCOMPARE(scalar("SELECT COUNT(*) FROM ResultSet WHERE AssetId=3").toInt(), 1);
    QCOMPARE(scalar("SELECT Id FROM ResultSet WHERE AssetId=3").toInt(), may);
    QCOMPARE(listedSetIds(), QStringList{QString::number(may)});
    // The list follows once, after the Apply.
    QTRY_COMPARE(lastTestShown(MonitorA), QDate(2026, 5, 1));
    QVERIFY(!applyButton()->isEnabled());
}

void TestMainWindowEditorTabs::switchingDatabaseDropsSequenceAndResultEdits()
{
    clickAsset(MonitorA);
    showTab("testSequenceTab");
    addElement(1);
    showTab("testResultsTab");
    deleteResultSet(0);
    QVERIFY(applyButton()->isEnabled());

    // Opened as the connection dialog opens it.
    auto* db = new SqliteDatabase;
    QCOMPARE(db->open(m_otherPath, false), 0);
    m_window->setDatabase(db);
    QVERIFY(!applyButton()->isEnabled());

    clickAsset(MonitorA);
    showTab("testResultsTab");
    QCOMPARE(listedSetIds(), QStringList{"3"});
    showTab("testSequenceTab");
    QCOMPARE(sequence()->elementCount(), 0);
    QVERIFY(!applyButton()->isEnabled());

    // An edit in the new register writes that edit alone.
    QTest::keyClicks(sequenceTab()->findChild<QLineEdit*>(QStringLiteral("name")), QStringLiteral("New"));
    press(applyButton());
    QCOMPARE(scalar("SELECT COUNT(*) FROM ResultSet WHERE AssetId=3").toInt(), 1);
    QCOMPARE(scalar("SELECT Name FROM TestSequence WHERE AssetId=3").toString(), QStringLiteral("New"));
    QCOMPARE(scalar("SELECT length(Data) FROM TestSequence WHERE AssetId=3").toInt(), 0);
}

void TestMainWindowEditorTabs::leavingTheAssetAppliesOrDropsSequenceAndResultEdits()
{
    // Monitor A has one result set (Id 3); both edits are answered No first.
    clickAsset(MonitorA);
    showTab("testSequenceTab");
    addElement(1);
    showTab("testResultsTab");
    deleteResultSet(0);
    m_answerer->pressNext(QStringLiteral("No"));
    clickAsset(Pump2);
    QTRY_COMPARE(tabs()->currentAssetId(), int(Pump2));
    QCOMPARE(listedSetIds(), QStringList{"2"});
    QVERIFY(!applyButton()->isEnabled());
    QCOMPARE(scalar("SELECT COUNT(*) FROM ResultSet WHERE AssetId=3").toInt(), 1);
    QCOMPARE(scalar("SELECT COUNT(*) FROM TestSequence").toInt(), 0);
    showTab("testSequenceTab");
    QCOMPARE(sequence()->elementCount(), 0);

    // Then Yes: both are written, and the row the user chose is shown.
    clickAsset(MonitorA);
    addElement(1);
    showTab("testResultsTab");
    deleteResultSet(0);
    m_answerer->pressNext(QStringLiteral("Yes"));
    clickAsset(Pump2);
    QCOMPARE(scalar("SELECT COUNT(*) FROM ResultSet WHERE AssetId=3").toInt(), 0);
    QCOMPARE(storedHex("SELECT Data FROM TestSequence WHERE AssetId=3"), QString(visualTest));
    QTRY_COMPARE(tabs()->currentAssetId(), int(Pump2));
    QCOMPARE(listedSetIds(), QStringList{"2"});
    QCOMPARE(table()->selectionModel()->selectedRows(AssetTableView::IdColumn).size(), 1);
    QCOMPARE(table()->selectionModel()->selectedRows(AssetTableView::IdColumn).first().data().toInt(), int(Pump2));
    QVERIFY(!applyButton()->isEnabled());
}

void TestMainWindowEditorTabs::sequenceFollowsTheShownAssetsEquipmentClass()
{
    // Monitor A is Class II, Pump 1 Class I. The details tab shows Monitor A,
    // then the technician stays on the sequence tab while picking Pump 1.
    clickAsset(MonitorA);
    QCOMPARE(tabWidget()->currentWidget()->objectName(), QStringLiteral("assetDetailsTab"));
    showTab("testSequenceTab");
    clickAsset(Pump1);
    QCOMPARE(sequenceTab()->currentAssetId(), int(Pump1));
    addElement(17);  // the earth bond, offered for Class I only
    QCOMPARE(sequence()->data().toHex(), QByteArray("061102c8c001"));

    // And back: Pump 1's details on screen, Monitor A picked on the sequence tab.
    press(applyButton());
    showTab("assetDetailsTab");
    showTab("testSequenceTab");
    clickAsset(MonitorA);
    addElement(33);  // Class II insulation
    QCOMPARE(sequence()->data().toHex(), QByteArray("062102d0c701"));

    press(applyButton());

    // A class chosen but not yet applied holds for the asset it was chosen for.
    showTab("assetDetailsTab");
    clickAsset(Pump1);
    tabs()->findChild<QComboBox*>(QStringLiteral("equipmentClass"))->setCurrentIndex(2);
    showTab("testSequenceTab");
    QCOMPARE(sequenceTab()->currentAssetId(), int(Pump1));
    addElement(33);
    QCOMPARE(sequence()->data().toHex(), QByteArray("061102c8c001062102d0c701"));
}

void TestMainWindowEditorTabs::downloadedAssetShowsItsNewDataInTheEditor()
{
    // Pump 1 as the technician left it: its sequence stored, then both its
    // results and its sequence looked at.
    clickAsset(Pump1);
    showTab("testSequenceTab");
    QTest::keyClicks(sequenceTab()->findChild<QLineEdit*>(QStringLiteral("name")), QStringLiteral("Mine"));
    addElement(1);
    press(applyButton());
    // Another asset's sequence was stored after it.
    SqlQuery(QStringLiteral("INSERT INTO TestSequence (Name,AssetId,Data) VALUES ('Other',2,x'0201')")).exec();
    showTab("testResultsTab");
    QCOMPARE(listedSetIds(), QStringList{"1"});
    showTab("testSequenceTab");
    QCOMPARE(sequence()->elementCount(), 1);

    downloadPump1();
    const QString newSet = scalar("SELECT MAX(Id) FROM ResultSet WHERE AssetId=1").toString();
    QCOMPARE(scalar("SELECT COUNT(*) FROM ResultSet WHERE AssetId=1").toInt(), 2);
    // The instrument's sequence took the place of the one stored before.
    QCOMPARE(scalar("SELECT Name FROM TestSequence WHERE AssetId=1").toString(), QStringLiteral("Routine"));

    // The list shows the new test; the tab on screen shows what the download
    // stored, and so do the others.
    QTRY_COMPARE(lastTestShown(Pump1), QDate(2026, 7, 1));
    QCOMPARE(sequenceTab()->findChild<QLineEdit*>(QStringLiteral("name"))->text(), QStringLiteral("Routine"));
    showTab("testResultsTab");
    QCOMPARE(listedSetIds(), (QStringList{"1", newSet}));

    // An edit made afterwards lands in the asset's one sequence row.
    showTab("testSequenceTab");
    addElement(1);
    press(applyButton());
    QCOMPARE(scalar("SELECT COUNT(*) FROM TestSequence WHERE AssetId=1").toInt(), 1);
    QCOMPARE(storedHex("SELECT Data FROM TestSequence WHERE AssetId=1"), QStringLiteral("02010201"));

    // Its certificate is made from the downloaded test.
    QString preview;
    m_answerer->answerNext([&preview](QWidget* w) {
        if (auto* generator = qobject_cast<DialogCertificateGenerator*>(w))
            preview = generator->previewHtml();
        qobject_cast<QDialog*>(w)->reject();
    });
    action("actionGenerateCertificates")->trigger();
    QVERIFY(preview.contains(QStringLiteral("Pump 1")));
    QVERIFY(preview.contains(QStringLiteral("01 July, 2026")));
    QVERIFY(preview.contains(QStringLiteral("Earth Bond")));
}

void TestMainWindowEditorTabs::downloadMovingAnAssetShowsItsNewPlaceInTheTree()
{
    // Pump 1 is filed under Acme Health; the instrument has it at Harbour
    // Hospital, East Wing, Ward 7, which the register does not know yet.
    downloadPump1();
    const int ward = scalar("SELECT LocationId FROM Asset WHERE Id=1").toInt();
    auto* tree = m_window->findChild<AssetTreeView*>(QStringLiteral("assetTreeView"));
    const QModelIndex node = static_cast<AssetTreeModel*>(tree->model())->locationIndex(ward);
    QVERIFY(node.isValid());
    QCOMPARE(node.data().toString(), QStringLiteral("Ward 7"));
    QCOMPARE(node.parent().data().toString(), QStringLiteral("East Wing"));
    QCOMPARE(node.parent().parent().data().toString(), QStringLiteral("Harbour Hospital"));
    // Chosen there, it lists the asset.
    tree->selectLocation(ward);
    QVERIFY(listRead(table()));
    QCOMPARE(table()->model()->rowCount(), 1);
    QCOMPARE(table()->model()->index(0, AssetTableView::IdColumn).data().toInt(), int(Pump1));
}

void TestMainWindowEditorTabs::sequenceEditPendingOverADownloadIsKept()
{
    clickAsset(Pump1);
    showTab("testSequenceTab");
    addElement(1);
    press(applyButton());
    SqlQuery(QStringLiteral("INSERT INTO TestSequence (Name,AssetId,Data) VALUES ('Other',2,x'0201')")).exec();
    showTab("testResultsTab");
    showTab("testSequenceTab");

    // Edited, not applied, when the download replaces the stored sequence.
    addElement(1);
    downloadPump1();
    QVERIFY(applyButton()->isEnabled());
    QCOMPARE(sequence()->elementCount(), 2);
    press(applyButton());
    QCOMPARE(scalar("SELECT COUNT(*) FROM TestSequence WHERE AssetId=1").toInt(), 1);
    QCOMPARE(storedHex("SELECT Data FROM TestSequence WHERE AssetId=1"), QStringLiteral("02010201"));
    QCOMPARE(storedHex("SELECT Data FROM TestSequence WHERE AssetId=2"), QString(visualTest));
    // The results the download brought are listed once the edit is applied.
    showTab("testResultsTab");
    QCOMPARE(listedSetIds().size(), 2);
}

void TestMainWindowEditorTabs::uploadSendsTheSequenceBuiltInTheEditor()
{
    clickAsset(MonitorA);
    showTab("testSequenceTab");
    QTest::keyClicks(sequenceTab()->findChild<QLineEdit*>(QStringLiteral("name")), QStringLiteral("Monitor yearly"));
    addElement(1);
    addElement(33);
    press(applyButton());
    const QByteArray stored = scalar("SELECT Data FROM TestSequence WHERE AssetId=3").toByteArray();
    QCOMPARE(stored.size(), 8);

    SimulatedInstrument instrument;
    QVERIFY(instrument.isValid());
    instrument.setDefaultAnswer(SimulatedInstrument::AnswerAck);
    m_answerer->answerNext([&instrument](QWidget* w) {
        auto* ports = w->findChild<QComboBox*>(QStringLiteral("comPorts"));
        ports->addItem(instrument.portName(), instrument.portName());
        ports->setCurrentIndex(ports->count() - 1);
        qobject_cast<QDialog*>(w)->accept();
    });
    m_answerer->pressNext(QStringLiteral("OK"));  // ready to send
    QVERIFY(action("actionUpload")->isEnabled());
    action("actionUpload")->trigger();
    QVERIFY(instrument.waitForSeen(3, 5000));

    const QList<SimulatedInstrument::Seen> packets = instrument.seenOfKind(SimulatedInstrument::Seen::Packet);
    QCOMPARE(packets.size(), 3);
    QDataStream in(packets.at(1).data);
    in.setByteOrder(QDataStream::LittleEndian);
    Ux::TsqMedicalApplianceResult record;
    in >> record.header >> record;
    QCOMPARE(record.applianceName, QStringLiteral("Monitor A"));
    QCOMPARE(record.testSequenceName, QStringLiteral("Monitor yearly"));
    QCOMPARE(record.testSequenceData.toHex(), stored.toHex());
}

void TestMainWindowEditorTabs::languageRestartWithTheTabsOpen()
{
    SqlQuery(QStringLiteral("INSERT INTO TestSequence (Name,AssetId,Data) VALUES ('Yearly',3,x'0201')")).exec();
    m_window.reset();
    QStringList seen;
    int shown = 0;
    const int built = runApplicationLoop([&](MainWindow* window) {
        QTimer::singleShot(0, window, [&, window] {
            m_window.reset(window);
            clickAsset(MonitorA);
            showTab("testResultsTab");
            seen << listedSetIds().join(',');
            showTab("testSequenceTab");
            seen << QString::number(sequence()->elementCount());
            m_window.release();
            if (++shown == 1) {
                // The one language there is, chosen again, and the restart accepted.
                m_answerer->pressNext(QStringLiteral("Yes"));
                window->findChild<QMenu*>(QStringLiteral("menuLanguage_Settings"))->actions().first()->trigger();
            } else {
                window->close();
            }
        });
    });
    QCOMPARE(built, 2);
    QCOMPARE(seen, (QStringList{"3", "1", "3", "1"}));
}

void TestMainWindowEditorTabs::closingAsksAboutUnappliedEdits_data()
{
    QTest::addColumn<QString>("answer"); // empty: nothing was edited
    QTest::addColumn<bool>("restart");   // closed by the language change's restart
    QTest::addColumn<bool>("closes");
    QTest::newRow("Yes applies") << "Yes" << false << true;
    QTest::newRow("No discards") << "No" << false << true;
    QTest::newRow("Cancel keeps the window open") << "Cancel" << false << false;
    QTest::newRow("restart, Yes applies") << "Yes" << true << true;
    QTest::newRow("restart, Cancel keeps the window and no restart") << "Cancel" << true << false;
    QTest::newRow("nothing unsaved asks nothing") << "" << false << true;
}

void TestMainWindowEditorTabs::closingAsksAboutUnappliedEdits()
{
    QFETCH(QString, answer);
    QFETCH(bool, restart);
    QFETCH(bool, closes);
    const QString path = QSettings().value(QStringLiteral("db/current/fileName")).toString();
    clickAsset(Pump1);
    const QString stored = scalar("SELECT Description FROM Asset WHERE Id=1").toString();
    if (!answer.isEmpty())
        QTest::keyClicks(tabs()->findChild<QLineEdit*>(QStringLiteral("description")), QStringLiteral(" typed"));
    m_answerer->clear();
    if (restart)
        m_answerer->pressNext(QStringLiteral("Yes"));
    if (!answer.isEmpty())
        m_answerer->pressNext(answer);
    if (restart)
        m_window->findChild<QMenu*>(QStringLiteral("menuLanguage_Settings"))->actions().first()->trigger();
    else
        m_window->close();

    QCOMPARE(m_answerer->count(), int(restart) + int(!answer.isEmpty()));
    if (!answer.isEmpty())
        QCOMPARE(m_answerer->last().text,
                 QStringLiteral("The asset has been modified. Would you like to apply the changes?"));
    QCOMPARE(m_window->isVisible(), !closes);
    QCOMPARE(m_window->restartRequested(), restart && closes);
    QCOMPARE(applyButton()->isEnabled(), answer == QLatin1String("Cancel"));
    if (closes) {
        auto* db = new SqliteDatabase;
        QCOMPARE(db->open(path, false), 0);
        Database::setInstance(db);
    }
    QCOMPARE(scalar("SELECT Description FROM Asset WHERE Id=1").toString(),
             answer == QLatin1String("Yes") ? stored + QStringLiteral(" typed") : stored);
}

void TestMainWindowEditorTabs::downloadPump1()
{
    SimulatedInstrument instrument;
    QVERIFY(instrument.isValid());
    const QList<QByteArray> records = {
        InstrumentRecords::header(1),
        InstrumentRecords::asset(QStringLiteral("Pump 1"), QDateTime(QDate(2026, 7, 1), QTime(10, 0)), 1,
                                 {{1, 0.10f}}, QStringLiteral("SN-001")),
        InstrumentRecords::end()};
    int acked = 0;
    m_answerer->answerNext([&](QWidget* w) {
        choosePortThenSend(w, instrument.portName(), m_window.get(),
                           [&] { acked = sendAcknowledged(instrument, records); });
    });
    m_answerer->answerNext([](QWidget* w) { qobject_cast<QDialog*>(w)->accept(); });
    action("actionDownload")->trigger();
    QCOMPARE(acked, records.size());
}

QDate TestMainWindowEditorTabs::lastTestShown(int assetId) const
{
    QAbstractItemModel* model = table()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, AssetTableView::IdColumn).data().toInt() == assetId)
            return model->index(row, AssetTableView::LastTestColumn).data().toDateTime().date();
    }
    return QDate();
}

PELVANE_TEST_MAIN(TestMainWindowEditorTabs)
#include "TestMainWindowEditorTabs.moc"
