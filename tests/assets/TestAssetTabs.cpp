#include "AssetFixture.h"
#include "assets/AppliedPartTable.h"
#include "assets/AppliedPartsTab.h"
#include "assets/AssetDetailsTab.h"
#include "assets/AssetTabBase.h"
#include "assets/AssetTabs.h"
#include "support/DialogAnswerer.h"
#include "support/MariaDbServer.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

namespace {
enum { Pump1 = 1, Pump2 = 2, MonitorA = 3, DeskLamp = 5 };
enum { Ward1 = 1 };

// Stands in for the results tab of the library above: records what the
// editor asks of it, and the asset name stored when it is applied.
class RecordingResultsTab : public AssetTabBase
{
    Q_OBJECT
public:
    explicit RecordingResultsTab(QWidget* parent) : AssetTabBase(ModifiedTestResults, parent) {}
    Q_INVOKABLE QByteArray saveColumnWidths() const { return m_widths; }
    Q_INVOKABLE void restoreColumnWidths(const QByteArray& widths) { m_widths = widths; }
    void reset(int assetId) override { calls << QStringLiteral("reset %1").arg(assetId); }
    bool apply() override
    {
        calls << QStringLiteral("apply after name '%1'").arg(scalar("SELECT Name FROM Asset WHERE Id=5").toString());
        return true;
    }
    void clear() override
    {
        calls << QStringLiteral("clear");
        AssetTabBase::clear();
    }
    QStringList calls;
    QByteArray m_widths;
};
} // namespace

class TestAssetTabs : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void onlyTheTabOnScreenIsLoaded();
    void detailsApplyFirstAndARefusalKeepsEverythingPending();
    void newAssetIsWrittenWithItsAppliedParts();
    void resetOfANewAssetEmptiesTheForm();
    void registeredResultsTabIsAppliedLast();
    void assetDeletedElsewhereIsToldAndLeavesTheEditorEmpty_data();
    void assetDeletedElsewhereIsToldAndLeavesTheEditorEmpty();

private:
    QLineEdit* name() const { return m_tabs->assetDetailsTab()->findChild<QLineEdit*>("assetId"); }
    QTabWidget* tabWidget() const { return m_tabs->findChild<QTabWidget*>("assetTabWidget"); }
    QPushButton* applyButton() const { return m_tabs->findChild<QPushButton*>("applyButton"); }
    void typeName(const QString& text);
    void addPart(const QString& partName);

    SqliteDatabase* m_db = nullptr;
    std::unique_ptr<AssetTreeFixture> m_tree;
    std::unique_ptr<AssetTabs> m_tabs;
    std::unique_ptr<DialogAnswerer> m_answerer;
};

void TestAssetTabs::init()
{
    m_db = newSeededDatabase();
    QVERIFY(m_db);
    m_tree = std::make_unique<AssetTreeFixture>(m_db);
    m_tabs = std::make_unique<AssetTabs>();
    m_tabs->setEnabled(false);
    m_answerer = std::make_unique<DialogAnswerer>();
}

void TestAssetTabs::cleanup()
{
    m_answerer.reset();
    m_tabs.reset();
    m_tree.reset();
    Database::setInstance(nullptr);
}

void TestAssetTabs::typeName(const QString& text)
{
    name()->selectAll();
    QTest::keyClicks(name(), text);
}

void TestAssetTabs::addPart(const QString& partName)
{
    AppliedPartTable* table = m_tabs->appliedPartsTab()->table();
    const int row = table->rowCount() - 1;
    table->setItem(row, 0, new QTableWidgetItem(partName));
    table->setItem(row, 1, new QTableWidgetItem("1"));
    table->setItem(row, 2, new QTableWidgetItem("1"));
}

void TestAssetTabs::onlyTheTabOnScreenIsLoaded()
{
    QCOMPARE(m_tabs->staleFlags(), ModifiedFlags(ModifiedAll));
    m_tabs->assetSelected(MonitorA);
    QVERIFY(m_tabs->isEnabled());
    QCOMPARE(m_tabs->assetDetailsTab()->currentAssetId(), int(MonitorA));
    QCOMPARE(m_tabs->staleFlags(), ModifiedFlags(ModifiedAll & ~ModifiedDetails));

    // The same asset again reads nothing: the tab already shows it.
    scalar("UPDATE Asset SET Name='Renamed' WHERE Id=3");
    m_tabs->assetSelected(MonitorA);
    QCOMPARE(name()->text(), QString("Monitor A"));

    tabWidget()->setCurrentWidget(m_tabs->appliedPartsTab());
    QCOMPARE(m_tabs->appliedPartsTab()->currentAssetId(), int(MonitorA));
    QCOMPARE(m_tabs->appliedPartsTab()->table()->rowCount(), 2);

    m_tabs->assetSelected(Pump2);
    QCOMPARE(m_tabs->appliedPartsTab()->currentAssetId(), int(Pump2));
    QCOMPARE(m_tabs->assetDetailsTab()->currentAssetId(), int(MonitorA));
    tabWidget()->setCurrentWidget(m_tabs->assetDetailsTab());
    QCOMPARE(name()->text(), QString("Pump 2"));
}

void TestAssetTabs::detailsApplyFirstAndARefusalKeepsEverythingPending()
{
    QSignalSpy modified(m_tabs.get(), &AssetTabs::assetModified);
    QSignalSpy updated(m_tabs.get(), &AssetTabs::assetUpdated);
    m_tabs->assetSelected(DeskLamp);
    tabWidget()->setCurrentWidget(m_tabs->appliedPartsTab());
    addPart("Probe");
    tabWidget()->setCurrentWidget(m_tabs->assetDetailsTab());
    name()->selectAll();
    QTest::keyClick(name(), Qt::Key_Delete);
    QCOMPARE(m_tabs->pendingFlags(), ModifiedFlags(ModifiedDetails | ModifiedAppliedParts));
    QVERIFY(applyButton()->isEnabled());
    QVERIFY(!m_tabs->apply());
    QCOMPARE(m_answerer->last().text, QString("Asset name required"));
    QCOMPARE(m_tabs->pendingFlags(), ModifiedFlags(ModifiedDetails | ModifiedAppliedParts));
    QCOMPARE(modified.last().at(1).toBool(), true);
    QCOMPARE(updated.count(), 0);
    // The parts were not written ahead of the refused details.
    QCOMPARE(scalar("SELECT COUNT(Id) FROM AppliedPart WHERE AssetId=5").toInt(), 0);

    typeName("Desk lamp 2");
    QVERIFY(m_tabs->apply());
    QCOMPARE(m_tabs->pendingFlags(), ModifiedFlags(ModifiedNone));
    QVERIFY(!applyButton()->isEnabled());
    QCOMPARE(modified.last().at(1).toBool(), false);
    QCOMPARE(updated.count(), 1);
    QCOMPARE(scalar("SELECT Name FROM Asset WHERE Id=5").toString(), QString("Desk lamp 2"));
    QCOMPARE(scalar("SELECT Name FROM AppliedPart WHERE AssetId=5").toString(), QString("Probe"));
}

void TestAssetTabs::registeredResultsTabIsAppliedLast()
{
    AssetTabs::setResultsTabFactory(
        [](AssetDetailsTab*, QWidget* parent) -> AssetTabBase* { return new RecordingResultsTab(parent); });
    auto tabs = std::make_unique<AssetTabs>();
    AssetTabs::setResultsTabFactory(nullptr);
    auto* results = qobject_cast<RecordingResultsTab*>(tabs->testResultsTab());
    QVERIFY(results);
    auto* pages = tabs->findChild<QTabWidget*>("assetTabWidget");
    QCOMPARE(pages->indexOf(results), 1);
    QCOMPARE(pages->tabText(1), QStringLiteral("Test Results"));
    QCOMPARE(results->objectName(), QStringLiteral("testResultsTab"));
    QCOMPARE(pages->currentIndex(), 0);

    tabs->assetSelected(DeskLamp);
    pages->setCurrentWidget(results);
    QCOMPARE(results->calls, QStringList{"reset 5"});
    results->setModified();
    QCOMPARE(tabs->pendingFlags(), ModifiedFlags(ModifiedTestResults));
    pages->setCurrentIndex(0);
    tabs->findChild<QLineEdit*>("assetId")->selectAll();
    QTest::keyClicks(tabs->findChild<QLineEdit*>("assetId"), "Lamp 9");
    QVERIFY(tabs->apply());
    // The details were written before the results tab ran.
    QCOMPARE(results->calls.last(), QStringLiteral("apply after name 'Lamp 9'"));

    tabs->restoreState("\x01\x02");
    QCOMPARE(tabs->saveState(), QByteArray("\x01\x02"));
    tabs->clearTabs();
    QCOMPARE(results->calls.last(), QStringLiteral("clear"));
    QCOMPARE(results->currentAssetId(), 0);
    // Without a factory the editor has no results tab.
    QVERIFY(!m_tabs->testResultsTab());
    QCOMPARE(m_tabs->saveState(), QByteArray());
}

void TestAssetTabs::newAssetIsWrittenWithItsAppliedParts()
{
    QSignalSpy modified(m_tabs.get(), &AssetTabs::assetModified);
    tabWidget()->setCurrentWidget(m_tabs->appliedPartsTab());
    m_tabs->newAsset(AssetTreeItem::find(Ward1, AssetTreeLocation));
    QVERIFY(m_tabs->isEnabled());
    QCOMPARE(m_tabs->currentAssetId(), -1);
    QCOMPARE(tabWidget()->currentWidget(), m_tabs->assetDetailsTab());
    QCOMPARE(m_tabs->assetDetailsTab()->findChild<QComboBox*>("location")->currentText(), QString("Ward 1"));

    typeName("Suction pump");
    tabWidget()->setCurrentWidget(m_tabs->appliedPartsTab());
    QVERIFY(m_tabs->appliedPartsTab()->isEditable());
    addPart("Tube");
    QVERIFY(m_tabs->apply());

    const int id = scalar("SELECT Id FROM Asset WHERE Name='Suction pump'").toInt();
    QCOMPARE(m_tabs->currentAssetId(), id);
    QCOMPARE(scalar(QString("SELECT Name FROM AppliedPart WHERE AssetId=%1").arg(id)).toString(), QString("Tube"));
    QCOMPARE(scalar("SELECT COUNT(Id) FROM AppliedPart WHERE AssetId=-1").toInt(), 0);
}

void TestAssetTabs::resetOfANewAssetEmptiesTheForm()
{
    m_tabs->newAsset(AssetTreeItem::find(Ward1, AssetTreeLocation));
    auto* details = m_tabs->assetDetailsTab();
    auto* apply = m_tabs->findChild<QPushButton*>("applyButton");
    auto* reset = m_tabs->findChild<QPushButton*>("resetButton");
    typeName("Suction pump");
    QTest::keyClicks(details->findChild<QLineEdit*>("serialNo"), "SP-1");
    QTest::keyClicks(details->findChild<QLineEdit*>("description"), "Portable");
    details->findChild<QComboBox*>("location")->setCurrentIndex(-1);
    QVERIFY(reset->isEnabled());

    // Reset turns Apply off, so text left in the form could never be
    // written: the form goes back to how the new asset started.
    QTest::mouseClick(reset, Qt::LeftButton);
    QVERIFY(!apply->isEnabled());
    QVERIFY(!reset->isEnabled());
    QCOMPARE(m_tabs->currentAssetId(), -1);
    QCOMPARE(name()->text(), QString());
    QCOMPARE(details->findChild<QLineEdit*>("serialNo")->text(), QString());
    QCOMPARE(details->findChild<QLineEdit*>("description")->text(), QString());
    QCOMPARE(details->findChild<QComboBox*>("location")->currentText(), QString("Ward 1"));

    // The emptied form is still the new asset's.
    typeName("Bed");
    QVERIFY(apply->isEnabled());
    QVERIFY(m_tabs->apply());
    QCOMPARE(scalar("SELECT COUNT(Id) FROM Asset WHERE Name='Bed' AND SerialNo=''").toInt(), 1);
}

void TestAssetTabs::assetDeletedElsewhereIsToldAndLeavesTheEditorEmpty_data()
{
    QTest::addColumn<bool>("mariaDb");
    QTest::newRow("SQLite") << false;
    QTest::newRow("MariaDB") << true;
}

// A row whose asset another workstation deleted (here the id after the last).
void TestAssetTabs::assetDeletedElsewhereIsToldAndLeavesTheEditorEmpty()
{
    QFETCH(bool, mariaDb);
    std::unique_ptr<MariaDbServer::ScopedDatabase> server;
    if (mariaDb) {
        PELVANE_REQUIRE_MARIADB();
        server = std::make_unique<MariaDbServer::ScopedDatabase>(QStringLiteral("gone"));
        m_answerer->pressNext("Yes"); // the new database is made
        QVERIFY(server->install());
    }
    QVERIFY(SqlQuery().exec("INSERT INTO Equipment (Manufacturer,Model,SerialNo) VALUES ('Acme','X1','7')"));
    QVERIFY(SqlQuery().exec("INSERT INTO Asset (Name,EquipmentId) SELECT 'Shown',MAX(Id) FROM Equipment"));
    const int shown = scalar("SELECT MAX(Id) FROM Asset").toInt();
    m_tabs->assetSelected(shown);
    QCOMPARE(name()->text(), QString("Shown"));
    m_tabs->assetSelected(shown + 1);
    QVERIFY(m_answerer->last().text.contains("The asset is no longer in the database"));
    QCOMPARE(name()->text(), QString());
    QVERIFY(!m_tabs->isEnabled());
}

PELVANE_TEST_MAIN(TestAssetTabs)
#include "TestAssetTabs.moc"
