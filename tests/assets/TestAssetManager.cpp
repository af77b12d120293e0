#include "AssetFixture.h"
#include "../transfer/TsqRecordBuilder.h"
#include "assets/AssetDetailsTab.h"
#include "database/DialogProgress.h"
#include "database/PagedQueryModel.h"
#include "assets/AssetManager.h"
#include "assets/AssetQueryModel.h"
#include "assets/AssetTableView.h"
#include "assets/AssetTabs.h"
#include "assets/AssetTreeView.h"
#include "database/StatementCache.h"
#include "database/SteppedWrite.h"
#include "database/WriteLock.h"
#include "support/DialogAnswerer.h"
#include "transfer/ImportTsq.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <cstdio>

namespace {
enum { Pump1 = 1, Pump2 = 2, MonitorA = 3, MonitorB = 4, DeskLamp = 5, OldScale = 6 };
enum { Acme = 1, Borough = 2 };
enum { North = 1, Main = 3 };
enum { Ward1 = 1, Ward2 = 2, Reception = 4 };

// count assets under location, named "Spare n".
bool addAssets(int count, int location)
{
    return SqlQuery().exec(QString("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<%1) INSERT INTO "
                            "Asset (Name,LocationId,RetestPeriod) SELECT 'Spare '||i,%2,12 FROM n")
                        .arg(count)
                        .arg(location));
}

QSqlDatabase otherProgram(const QString& path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other program");
    db.setDatabaseName(path);
    db.setConnectOptions("QSQLITE_BUSY_TIMEOUT=20000");
    db.open();
    return db;
}

void say(const char* what)
{
    std::printf("%s\n", what);
    std::fflush(stdout);
}
} // namespace

// Another workstation that commits one small write after another until the
// file args[1] appears, a few milliseconds apart as records arrive over a
// line: SQLite queues no waiting writer, and one that never lets go would
// starve the others. Arguments: database file, stop file.
PELVANE_CHILD_SCENARIO(writeAlongside)
{
    QSqlDatabase db = otherProgram(args.value(0));
    QSqlQuery write(db);
    for (int i = 0; !QFile::exists(args.value(1)) && i < 12000; ++i) { // a minute at most
        if (!write.exec("BEGIN IMMEDIATE") || !write.exec("INSERT INTO Client (Name) VALUES ('Other')")
            || !write.exec("DELETE FROM Client WHERE Name='Other'") || !write.exec("COMMIT"))
            return 2;
        if (i == 0)
            say("writing");
        QThread::msleep(5);
    }
    return 0;
}

class TestAssetManager : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void selectingAnotherAssetAsksAboutUnappliedEdits();
    void actionStatesFollowTreeAndTable();
    void addedAssetIsWrittenUnderTheNode();
    void recycleRestoreAndDeleteAssets();
    void deletingARecycledAssetOpenInTheEditorRevertsFirst();
    void removingLocationSiteAndClientRecyclesTheirAssets();
    void nodeMergedAwayMovesTheSelectionToTheTarget();
    void uploadAsksForThePortAndStopsOnCancel();
    void recyclingBesideAnotherWriterIsWhole();
    void deletingAClientDuringADownloadLosesNoAsset();
    void deletingAClientWhileTheFileIsHeldChangesNothing();
    void deletingAClientStoppedMidwaySaysWhatWasDone();
    void actionsLeaveAssetsChangedElsewhere_data();
    void actionsLeaveAssetsChangedElsewhere();
    void applyingAnAssetDeletedElsewhereKeepsTheEdit();

private:
    void selectAllRows();
    QAction* act(AssetManager::ActionId id) const { return m_actions.at(id); }
    QList<int> tableIds() const;
    QList<int> selectedRows() const;
    void selectRows(const QList<int>& ids);
    void typeName(const QString& text);
    QString shownName() const;

    SqliteDatabase* m_db = nullptr;
    std::unique_ptr<AssetTreeFixture> m_tree;
    std::unique_ptr<AssetTreeView> m_treeView;
    std::unique_ptr<AssetQueryModel> m_tableModel;
    std::unique_ptr<AssetTableView> m_table;
    std::unique_ptr<AssetTabs> m_tabs;
    std::unique_ptr<AssetManager> m_manager;
    QList<QAction*> m_actions;
    std::unique_ptr<DialogAnswerer> m_answerer;
};

// Wired the way the main window wires a newly installed database.
void TestAssetManager::init()
{
    PagedQueryModel::listWaitMs = 10000; // the checks look at a list as soon as it is asked for
    m_db = newSeededDatabase();
    QVERIFY(m_db);
    m_tree = std::make_unique<AssetTreeFixture>(m_db);
    m_treeView = std::make_unique<AssetTreeView>();
    m_treeView->setModel(m_tree->model.get());
    m_tableModel = std::make_unique<AssetQueryModel>();
    m_table = std::make_unique<AssetTableView>();
    m_table->setup(m_tableModel.get());
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionModel(new QItemSelectionModel(m_tableModel.get(), m_table.get()));
    m_tabs = std::make_unique<AssetTabs>();
    m_tabs->setEnabled(false);
    for (int i = 0; i < AssetManager::ActionCount; ++i)
        m_actions.append(new QAction(QString("action %1").arg(i), m_tabs.get()));
    m_manager = std::make_unique<AssetManager>(nullptr, m_actions);
    AssetManager* manager = m_manager.get();

    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, manager,
            &AssetManager::tableSelectionChanged);
    connect(m_treeView->selectionModel(), &QItemSelectionModel::selectionChanged, manager,
            &AssetManager::treeItemSelected);
    connect(m_tabs->assetDetailsTab(), &AssetDetailsTab::updateAsset, m_treeView.get(), &AssetTreeView::assetUpdated);
    connect(m_tabs.get(), &AssetTabs::assetUpdated, m_treeView.get(), &AssetTreeView::assetUpdated);
    connect(m_tabs.get(), &AssetTabs::assetUpdated, m_table.get(), &AssetTableView::assetUpdated);
    connect(m_tabs.get(), &AssetTabs::assetModified, manager, &AssetManager::assetModified);
    connect(manager, &AssetManager::assetsRemoved, m_table.get(), &AssetTableView::assetsRemoved);
    connect(manager, &AssetManager::assetsRestored, m_table.get(), &AssetTableView::assetsRestored);
    connect(manager, &AssetManager::assetsRestored, m_treeView.get(), &AssetTreeView::assetsRestored);
    connect(manager, &AssetManager::selectAsset, m_table.get(), &AssetTableView::selectAsset);
    connect(manager, &AssetManager::assetSelected, m_tabs.get(), &AssetTabs::assetSelected);
    connect(manager, &AssetManager::saveAsset, m_tabs.get(), &AssetTabs::saveAsset);
    connect(manager, &AssetManager::revertAsset, m_tabs.get(), &AssetTabs::revertAsset);
    connect(manager, &AssetManager::selectDatabase, m_treeView.get(), &AssetTreeView::selectDatabase);
    connect(manager, &AssetManager::selectRecycled, m_treeView.get(), &AssetTreeView::selectRecycled);
    connect(manager, &AssetManager::selectClient, m_treeView.get(), &AssetTreeView::selectClient);
    connect(manager, &AssetManager::selectSite, m_treeView.get(), &AssetTreeView::selectSite);
    connect(manager, &AssetManager::selectLocation, m_treeView.get(), &AssetTreeView::selectLocation);
    connect(manager, &AssetManager::showLocationAssets, m_table.get(), &AssetTableView::showLocationAssets);
    connect(manager, &AssetManager::showSiteAssets, m_table.get(), &AssetTableView::showSiteAssets);
    connect(manager, &AssetManager::showClientAssets, m_table.get(), &AssetTableView::showClientAssets);
    connect(manager, &AssetManager::showAllAssets, m_table.get(), &AssetTableView::showAllAssets);
    connect(manager, &AssetManager::showRecycledAssets, m_table.get(), &AssetTableView::showRecycledAssets);
    connect(manager, &AssetManager::newAsset, m_tabs.get(), &AssetTabs::newAsset);
    connect(manager, &AssetManager::locationRemoved, m_tree->model.get(), &AssetTreeModel::removeLocation);
    connect(manager, &AssetManager::siteRemoved, m_tree->model.get(), &AssetTreeModel::removeSite);
    connect(manager, &AssetManager::clientRemoved, m_tree->model.get(), &AssetTreeModel::removeClient);
    connect(m_tree->model.get(), &AssetTreeModel::locationNameChanged, m_tabs.get(), &AssetTabs::locationNameChanged);

    m_answerer = std::make_unique<DialogAnswerer>();
    m_treeView->selectDatabase();
}

void TestAssetManager::cleanup()
{
    m_answerer.reset();
    m_manager.reset();
    m_table.reset();
    m_tableModel.reset();
    m_treeView.reset();
    m_tabs.reset();
    m_actions.clear();
    m_tree.reset();
    Database::setInstance(nullptr);
}

QList<int> TestAssetManager::tableIds() const
{
    QList<int> ids;
    for (int row = 0; row < m_tableModel->rowCount(); ++row)
        ids << m_tableModel->index(row, 0).data().toInt();
    std::sort(ids.begin(), ids.end());
    return ids;
}

QList<int> TestAssetManager::selectedRows() const
{
    QList<int> ids;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows(0))
        ids << index.data().toInt();
    std::sort(ids.begin(), ids.end());
    return ids;
}

void TestAssetManager::selectRows(const QList<int>& ids)
{
    m_table->selectionModel()->clearSelection();
    for (int row = 0; row < m_tableModel->rowCount(); ++row) {
        if (ids.contains(m_tableModel->index(row, 0).data().toInt()))
            m_table->selectionModel()->select(m_tableModel->index(row, 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

void TestAssetManager::typeName(const QString& text)
{
    auto* name = m_tabs->assetDetailsTab()->findChild<QLineEdit*>("assetId");
    name->selectAll();
    QTest::keyClicks(name, text);
}

QString TestAssetManager::shownName() const
{
    return m_tabs->assetDetailsTab()->findChild<QLineEdit*>("assetId")->text();
}

void TestAssetManager::selectingAnotherAssetAsksAboutUnappliedEdits()
{
    m_treeView->selectLocation(Ward1);
    QCOMPARE(tableIds(), (QList<int>{Pump1, Pump2}));
    m_table->selectAsset(Pump1);
    QCOMPARE(m_tabs->currentAssetId(), int(Pump1));
    QCOMPARE(shownName(), QString("Pump 1"));
    QVERIFY(m_tabs->isEnabled());

    // Yes applies the edits and moves on.
    typeName("Pump 1 (ward)");
    QCOMPARE(m_manager->modifiedAsset(), int(Pump1));
    m_answerer->pressNext("Yes");
    m_table->selectAsset(Pump2);
    QCOMPARE(m_answerer->count(), 1);
    QCOMPARE(m_answerer->last().text, QString("The asset has been modified. Would you like to apply the changes?"));
    QCOMPARE(scalar("SELECT Name FROM Asset WHERE Id=1").toString(), QString("Pump 1 (ward)"));
    QCOMPARE(m_manager->modifiedAsset(), 0);
    QCOMPARE(selectedRows(), (QList<int>{Pump2}));
    QCOMPARE(m_tabs->currentAssetId(), int(Pump2));

    // No discards them and moves on.
    typeName("Never stored");
    m_answerer->pressNext("No");
    m_table->selectAsset(Pump1);
    QCOMPARE(m_answerer->count(), 2);
    QCOMPARE(scalar("SELECT Name FROM Asset WHERE Id=2").toString(), QString("Pump 2"));
    QCOMPARE(m_tabs->currentAssetId(), int(Pump1));
    QCOMPARE(shownName(), QString("Pump 1 (ward)"));

    // Cancel keeps the edited asset selected and edited.
    typeName("Still editing");
    m_answerer->pressNext("Cancel");
    m_table->selectAsset(Pump2);
    QCOMPARE(m_answerer->count(), 3);
    QCOMPARE(selectedRows(), (QList<int>{Pump1}));
    QCOMPARE(m_manager->modifiedAsset(), int(Pump1));

    // Leaving for another tree node asks too; Cancel keeps the node.
    m_answerer->pressNext("Cancel");
    m_treeView->selectLocation(Ward2);
    QCOMPARE(m_answerer->count(), 4);
    QCOMPARE(m_manager->currentTreeNode(), AssetTreeItem::find(Ward1, AssetTreeLocation));
    QCOMPARE(tableIds(), (QList<int>{Pump1, Pump2}));

    // A refused save keeps the asset and its node.
    typeName(" ");
    m_answerer->pressNext("Yes");
    m_treeView->selectLocation(Ward2);
    QVERIFY(m_answerer->waitForCount(6));
    QCOMPARE(m_answerer->last().text, QString("Asset name required"));
    QCOMPARE(m_manager->currentTreeNode(), AssetTreeItem::find(Ward1, AssetTreeLocation));
    QCOMPARE(m_manager->modifiedAsset(), int(Pump1));
}

void TestAssetManager::actionStatesFollowTreeAndTable()
{
    QSignalSpy selected(m_manager.get(), &AssetManager::assetSelected);
    QVERIFY(act(AssetManager::AddAssetAction)->isEnabled());
    QVERIFY(!act(AssetManager::RestoreAssetsAction)->isVisible());
    QVERIFY(!act(AssetManager::DeleteAssetsAction)->isEnabled());

    m_treeView->selectClient(Acme);
    QVERIFY(act(AssetManager::DeleteClientAction)->isEnabled());
    QVERIFY(!act(AssetManager::DeleteSiteAction)->isEnabled());
    QCOMPARE(tableIds(), (QList<int>{Pump1, Pump2, MonitorA, MonitorB}));

    // Several rows: no asset in the editor, the asset actions stay on.
    selectRows({Pump1, MonitorA});
    QCOMPARE(selected.last().at(0).toInt(), 0);
    QVERIFY(!m_tabs->isEnabled());
    QVERIFY(act(AssetManager::DeleteAssetsAction)->isEnabled());
    QVERIFY(act(AssetManager::UploadAction)->isEnabled());
    QCOMPARE(m_manager->selectedIds(), (QList<int>{Pump1, MonitorA}));
    m_table->selectionModel()->clearSelection();
    QVERIFY(!act(AssetManager::DeleteAssetsAction)->isEnabled());
    QVERIFY(!act(AssetManager::UploadAction)->isEnabled());

    m_treeView->selectSite(North);
    QVERIFY(!act(AssetManager::DeleteClientAction)->isEnabled());
    QVERIFY(act(AssetManager::DeleteSiteAction)->isEnabled());

    m_treeView->selectRecycled();
    QVERIFY(m_manager->recycledShown());
    QVERIFY(!act(AssetManager::AddAssetAction)->isVisible());
    QVERIFY(act(AssetManager::RestoreAssetsAction)->isVisible());
    m_table->selectAsset(OldScale);
    QVERIFY(act(AssetManager::RestoreAssetsAction)->isEnabled());
    QVERIFY(act(AssetManager::DeleteAssetsAction)->isEnabled());
    QVERIFY(!act(AssetManager::UploadAction)->isEnabled());
}

void TestAssetManager::addedAssetIsWrittenUnderTheNode()
{
    m_treeView->selectLocation(Ward2);
    m_table->selectAsset(MonitorA);
    act(AssetManager::AddAssetAction)->trigger();
    QVERIFY(selectedRows().isEmpty());
    QCOMPARE(m_tabs->currentAssetId(), -1);
    QVERIFY(m_tabs->isEnabled());
    typeName("Ventilator");
    QVERIFY(m_tabs->apply());
    const int id = scalar("SELECT Id FROM Asset WHERE Name='Ventilator'").toInt();
    QVERIFY(id > 0);
    QCOMPARE(scalar(QString("SELECT LocationId FROM Asset WHERE Id=%1").arg(id)).toInt(), int(Ward2));
    // The table lists and selects it, and the editor shows it.
    QCOMPARE(selectedRows(), (QList<int>{id}));
    QCOMPARE(m_tabs->currentAssetId(), id);
    QCOMPARE(m_manager->modifiedAsset(), 0);
    QCOMPARE(m_answerer->count(), 0);
}

void TestAssetManager::recycleRestoreAndDeleteAssets()
{
    QSignalSpy removed(m_manager.get(), &AssetManager::assetsRemoved);
    m_treeView->selectLocation(Ward1);
    selectRows({Pump1, Pump2});
    act(AssetManager::DeleteAssetsAction)->trigger();
    QCOMPARE(m_answerer->count(), 0); // recycling asks nothing
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.at(0).at(0).value<QList<int>>(), (QList<int>{Pump1, Pump2}));
    QCOMPARE(scalar("SELECT DeletedLocation FROM Asset WHERE Id=1").toString(), QString("Acme Health / North / Ward 1"));
    QVERIFY(tableIds().isEmpty());

    m_treeView->selectRecycled();
    QCOMPARE(tableIds(), (QList<int>{Pump1, Pump2, OldScale}));
    m_table->selectAsset(Pump2);
    act(AssetManager::RestoreAssetsAction)->trigger();
    QVERIFY(scalar("SELECT DeletedLocation FROM Asset WHERE Id=2").isNull());
    QCOMPARE(scalar("SELECT LocationId FROM Asset WHERE Id=2").toInt(), int(Ward1));
    QCOMPARE(tableIds(), (QList<int>{Pump1, OldScale}));

    // Deleting for good asks first; No keeps the assets.
    selectRows({Pump1, OldScale});
    m_answerer->pressNext("No");
    act(AssetManager::DeleteAssetsAction)->trigger();
    QCOMPARE(m_answerer->last().text,
             QString("This operation will permanently remove the selected assets. Are you sure?"));
    QCOMPARE(scalar("SELECT COUNT(Id) FROM Asset WHERE Id IN (1,6)").toInt(), 2);
    m_answerer->pressNext("Yes");
    act(AssetManager::DeleteAssetsAction)->trigger();
    QCOMPARE(scalar("SELECT COUNT(Id) FROM Asset WHERE Id IN (1,6)").toInt(), 0);
    QVERIFY(tableIds().isEmpty());
    QVERIFY(!m_tabs->isEnabled());
}

void TestAssetManager::deletingARecycledAssetOpenInTheEditorRevertsFirst()
{
    m_treeView->selectRecycled();
    m_table->selectAsset(OldScale);
    QCOMPARE(m_tabs->currentAssetId(), int(OldScale));
    typeName("Edited while recycled");
    QSignalSpy reverted(m_manager.get(), &AssetManager::revertAsset);
    QSignalSpy removed(m_manager.get(), &AssetManager::assetsRemoved);
    connect(m_manager.get(), &AssetManager::revertAsset, this, [&] {
        // The row still exists while the editor reloads it.
        QCOMPARE(scalar("SELECT COUNT(Id) FROM Asset WHERE Id=6").toInt(), 1);
    });
    m_answerer->pressNext("Yes");
    act(AssetManager::DeleteAssetsAction)->trigger();
    QCOMPARE(reverted.count(), 1);
    QCOMPARE(removed.count(), 1);
    QCOMPARE(scalar("SELECT COUNT(Id) FROM Asset WHERE Id=6").toInt(), 0);
    QCOMPARE(m_manager->modifiedAsset(), 0);
    QCOMPARE(m_tabs->currentAssetId(), 0);
    QVERIFY(!m_tabs->isEnabled());
    // Turning tabs loads nothing of the deleted asset.
    m_tabs->assetDetailsTab()->apConfigViewButton()->click();
    QCOMPARE(m_answerer->count(), 1);
}

void TestAssetManager::removingLocationSiteAndClientRecyclesTheirAssets()
{
    QSignalSpy locationRemoved(m_manager.get(), &AssetManager::locationRemoved);
    m_treeView->selectLocation(Reception);
    act(AssetManager::DeleteLocationAction)->trigger();
    QCOMPARE(locationRemoved.count(), 1);
    QCOMPARE(locationRemoved.at(0).at(0).toInt(), int(Reception));
    QCOMPARE(scalar("SELECT COUNT(Id) FROM Location WHERE Id=4").toInt(), 0);
    QCOMPARE(scalar("SELECT DeletedLocation FROM Asset WHERE Id=5").toString(),
             QString("Borough Clinic / Main / Reception"));
    QVERIFY(!AssetTreeItem::find(Reception, AssetTreeLocation));
    // The selection moves to the parent node.
    QCOMPARE(m_manager->currentTreeNode(), AssetTreeItem::find(Main, AssetTreeSite));
    QVERIFY(act(AssetManager::DeleteSiteAction)->isEnabled());
    QCOMPARE(m_answerer->count(), 0);

    // A site without assets goes the same way.
    act(AssetManager::DeleteSiteAction)->trigger();
    QCOMPARE(scalar("SELECT COUNT(Id) FROM Site WHERE Id=3").toInt(), 0);
    QCOMPARE(m_manager->currentTreeNode(), AssetTreeItem::find(Borough, AssetTreeClient));
    act(AssetManager::DeleteClientAction)->trigger();
    QCOMPARE(scalar("SELECT COUNT(Id) FROM Client WHERE Id=2").toInt(), 0);
    QVERIFY(!AssetTreeItem::find(Borough, AssetTreeClient));
    QCOMPARE(m_manager->currentTreeNode()->type(), int(AssetTreeDatabase));

    // A client with assets at several levels.
    m_treeView->selectClient(Acme);
    act(AssetManager::DeleteClientAction)->trigger();
    QCOMPARE(scalar("SELECT COUNT(Id) FROM Asset WHERE DeletedLocation IS NULL").toInt(), 0);
    QCOMPARE(scalar("SELECT COUNT(Id) FROM Client").toInt(), 0);
    // The recycled assets can come back: their places are made again.
    m_treeView->selectRecycled();
    m_table->selectAsset(MonitorA);
    act(AssetManager::RestoreAssetsAction)->trigger();
    QVERIFY(AssetTreeItem::find(scalar("SELECT LocationId FROM Asset WHERE Id=3").toInt(), AssetTreeLocation));
}

void TestAssetManager::nodeMergedAwayMovesTheSelectionToTheTarget()
{
    m_treeView->selectLocation(Ward2);
    QCOMPARE(m_manager->currentTreeNode(), AssetTreeItem::find(Ward2, AssetTreeLocation));
    m_answerer->pressNext("Yes");
    QVERIFY(!m_tree->model->setData(m_tree->model->locationIndex(Ward2), "Ward 1"));
    QCOMPARE(m_answerer->count(), 1);
    QVERIFY(!AssetTreeItem::find(Ward2, AssetTreeLocation));
    QTRY_COMPARE(m_manager->currentTreeNode(), AssetTreeItem::find(Ward1, AssetTreeLocation));
    QCOMPARE(tableIds(), (QList<int>{Pump1, Pump2, MonitorA}));
    // Adding an asset now prepares it in the merged location, not the vanished one.
    act(AssetManager::AddAssetAction)->trigger();
    QCOMPARE(m_tabs->assetDetailsTab()->findChild<QComboBox*>("site")->currentText(), QString("North"));
    QCOMPARE(m_tabs->assetDetailsTab()->findChild<QComboBox*>("location")->currentText(), QString("Ward 1"));
}

void TestAssetManager::uploadAsksForThePortAndStopsOnCancel()
{
    m_treeView->selectLocation(Ward1);
    selectRows({Pump1, Pump2});
    QVERIFY(act(AssetManager::UploadAction)->isEnabled());
    act(AssetManager::UploadAction)->trigger();
    // The port dialog is refused, so no upload starts and no further dialog follows.
    QCOMPARE(m_answerer->count(), 1);
    QCOMPARE(m_answerer->last().className, QString("DialogTransfer"));
    QCOMPARE(m_answerer->last().title, QString("Upload Assets to Tester"));
}

void TestAssetManager::selectAllRows()
{
    while (m_tableModel->canFetchMore(QModelIndex()))
        m_tableModel->fetchMore(QModelIndex());
    const QModelIndex last = m_tableModel->index(m_tableModel->rowCount() - 1, 0);
    m_table->selectionModel()->select(QItemSelection(m_tableModel->index(0, 0), last),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// Each asset's read used to stay open while it was written: beside another
// writer SQLite refused the write at once, which ended the program with
// some of the assets recycled.
void TestAssetManager::recyclingBesideAnotherWriterIsWhole()
{
    QVERIFY(addAssets(3000, Reception));
    const QString stop = TestEnvironment::instance()->newFolder() + "/stop";
    QProcess child;
    startChildScenario(child, "writeAlongside", {m_db->filePath(), stop});
    QVERIFY(child.waitForReadyRead(30000));
    m_treeView->selectLocation(Reception);
    selectAllRows();
    QStringList shown; // what the window showed between the steps, while it painted
    QTimer beat;
    connect(&beat, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<DialogProgress*>(QApplication::activeModalWidget()))
            shown << dialog->detailedInfoText();
    });
    beat.start(0);
    act(AssetManager::DeleteAssetsAction)->trigger();
    beat.stop();
    QVERIFY2(!shown.isEmpty() && shown.first() == "50 asset(s) moved to the recycle bin.", qPrintable(shown.join('|')));
    QFile(stop).open(QIODevice::WriteOnly);
    const ChildResult other = finishChildScenario(child);
    QCOMPARE(other.exitCode, 0);
    QCOMPARE(scalar("SELECT COUNT(*) FROM Asset WHERE LocationId=4 AND DeletedLocation IS NULL").toInt(), 0);
    QCOMPARE(m_answerer->count(), 0);
}

// A download files assets into the client between every two steps of its delete: all recycled, none in no place.
void TestAssetManager::deletingAClientDuringADownloadLosesNoAsset()
{
    QVERIFY(addAssets(300, Ward1));
    int filed = 0;
    std::function<void()> download = [&] {
        Ux::TsqMedicalApplianceResult r = TsqRecordBuilder::asset(QString("Imported %1").arg(filed), "I");
        r.clientName = "Acme Health", r.locationName = "Ward 1"; // in North, as the builder's
        ImportTsq().import(TsqRecordBuilder::bytes(r));
        SteppedWrite::betweenSteps = ++filed < 10 ? download : nullptr;
    };
    SteppedWrite::betweenSteps = download;
    m_treeView->selectClient(Acme);
    act(AssetManager::DeleteClientAction)->trigger();
    SteppedWrite::betweenSteps = nullptr;
    QVERIFY(filed >= 1);
    QCOMPARE(scalar("SELECT COUNT(*) FROM Asset WHERE DeletedLocation IS NOT NULL AND Name LIKE 'Imported%'").toInt(), filed);
    QCOMPARE(scalar("SELECT COUNT(*) FROM Asset a WHERE DeletedLocation IS NULL AND NOT EXISTS "
                    "(SELECT 1 FROM Location l WHERE l.Id=a.LocationId)").toInt(), 0);
    QCOMPARE(scalar("SELECT COUNT(*) FROM Client WHERE Id=1").toInt(), 0);
    QCOMPARE(m_answerer->count(), 0);
}

// The assets used to be recycled before the lock was asked for: when it was
// not given, the user read "Nothing was saved" of assets already recycled.
void TestAssetManager::deletingAClientWhileTheFileIsHeldChangesNothing()
{
    QSqlDatabase other = otherProgram(m_db->filePath());
    QVERIFY(QSqlQuery(other).exec("BEGIN IMMEDIATE"));
    QSqlQuery(m_db->connection()).exec("PRAGMA busy_timeout=200");
    const int before = std::exchange(WriteLock::waitSeconds, 1);
    m_treeView->selectClient(Acme);
    act(AssetManager::DeleteClientAction)->trigger();
    WriteLock::waitSeconds = before;
    QVERIFY(QSqlQuery(other).exec("ROLLBACK"));
    QCOMPARE(m_answerer->count(), 1);
    QVERIFY2(m_answerer->last().text.contains("Nothing was saved"), qPrintable(m_answerer->last().text));
    QCOMPARE(scalar("SELECT COUNT(*) FROM Client WHERE Id=1").toInt(), 1);
    QCOMPARE(scalar("SELECT COUNT(*) FROM Asset WHERE DeletedLocation IS NOT NULL").toInt(), 1); // as seeded
}

void TestAssetManager::deletingAClientStoppedMidwaySaysWhatWasDone()
{
    QVERIFY(addAssets(120, Ward1) && QSqlQuery(m_db->connection()).exec("PRAGMA busy_timeout=200")); // 124 in Acme
    SteppedWrite::betweenSteps = [this] { QSqlQuery(otherProgram(m_db->filePath())).exec("BEGIN IMMEDIATE"); };
    m_treeView->selectClient(Acme);
    act(AssetManager::DeleteClientAction)->trigger();
    const int left = scalar("SELECT COUNT(*) FROM Asset WHERE DeletedLocation IS NULL AND LocationId<4").toInt();
    QCOMPARE(m_answerer->last().text.section("\n\n", 1, 1), QString("Done and saved: %1 asset(s) moved to the recycle bin."
             "\nNot done: %2 asset(s) still in their places, and the client itself not deleted.").arg(124 - left).arg(left));
    QCOMPARE(scalar("SELECT COUNT(*) FROM Asset WHERE DeletedLocation IS NULL AND LocationId IS NULL").toInt(), 0);
}

void TestAssetManager::actionsLeaveAssetsChangedElsewhere_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("elsewhere"); // what another workstation makes of asset 6 after the list was shown
    QTest::addColumn<QString>("told");
    QTest::newRow("delete for good") << int(AssetManager::DeleteAssetsAction) << "DeletedLocation IS NULL AND LocationId=4" << "restored";
    QTest::newRow("restore") << int(AssetManager::RestoreAssetsAction) << "DeletedLocation IS NULL AND LocationId=4" << "restored";
    QTest::newRow("recycle") << int(AssetManager::DeleteAssetsAction) << "DeletedLocation='Elsewhere' AND LocationId=4" << "recycled";
}

void TestAssetManager::actionsLeaveAssetsChangedElsewhere()
{
    QFETCH(int, action);
    QFETCH(QString, elsewhere);
    QFETCH(QString, told);
    const bool bin = QString(QTest::currentDataTag()) != "recycle";
    QVERIFY(SqlQuery().exec(bin ? "UPDATE Asset SET DeletedLocation='Acme Health / North / Ward 1' WHERE Id=2"
                                : "UPDATE Asset SET DeletedLocation=NULL,LocationId=1 WHERE Id=6"));
    bin ? m_treeView->selectRecycled() : m_treeView->selectLocation(Ward1);
    selectRows({Pump2, OldScale});
    QVERIFY(QSqlQuery(otherProgram(m_db->filePath()))
                .exec("UPDATE Asset SET " + QString(elsewhere).replace(" AND ", ",").replace(" IS ", "=") + " WHERE Id=6"));
    if (bin && action == AssetManager::DeleteAssetsAction)
        m_answerer->pressNext("Yes");
    act(AssetManager::ActionId(action))->trigger();
    QCOMPARE(scalar("SELECT COUNT(*) FROM Asset WHERE Id=6 AND " + elsewhere).toInt(), 1);
    QCOMPARE(m_answerer->last().text, QString("1 asset(s) left as they are: another workstation %1 or deleted them meanwhile.").arg(told));
}

// Deleted on another workstation: Apply stores nothing, says so, and the typed name stays.
void TestAssetManager::applyingAnAssetDeletedElsewhereKeepsTheEdit()
{
    m_treeView->selectLocation(Ward1);
    m_table->selectAsset(Pump1);
    typeName("Pump 1 (ward)");
    QVERIFY(QSqlQuery(otherProgram(m_db->filePath())).exec("DELETE FROM Asset WHERE Id=1"));
    QVERIFY(!m_tabs->apply());
    QVERIFY(m_answerer->last().text.startsWith("The asset Pump 1 (ward) was deleted on another workstation."));
    QCOMPARE(shownName(), QString("Pump 1 (ward)"));
    QCOMPARE(m_manager->modifiedAsset(), int(Pump1));
}

PELVANE_TEST_MAIN(TestAssetManager)
#include "TestAssetManager.moc"
