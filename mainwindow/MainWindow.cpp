#include "mainwindow/MainWindow.h"

#include "assets/AssetDetailsTab.h"
#include "assets/AssetManager.h"
#include "assets/AssetQueryModel.h"
#include "assets/AssetSearch.h"
#include "assets/AssetTableView.h"
#include "assets/AssetTabs.h"
#include "assets/AssetTreeItem.h"
#include "assets/AssetTreeModel.h"
#include "assets/AssetTreeView.h"
#include "assets/DateTimeDelegate.h"
#include "assets/StatusDelegate.h"
#include "certificates/DialogCertificateGenerator.h"
#include "core/AppPaths.h"
#include "core/Error.h"
#include "core/Translator.h"
#include "database/ConnectionLoss.h"
#include "database/Database.h"
#include "database/DatabaseAction.h"
#include "database/DialogConnection.h"
#include "database/DialogImportV1Database.h"
#include "database/ExportDatabaseThread.h"
#include "database/ImportDatabaseThread.h"
#include "database/ImportOptions.h"
#include "database/MsSqlDatabase.h"
#include "database/PendingWrite.h"
#include "database/ServerDatabase.h"
#include "database/SqliteDatabase.h"
#include "mainwindow/DialogAbout.h"
#include "mainwindow/DialogLanguage.h"
#include "mainwindow/TranslationEntry.h"
#include "results/AlertThresholds.h"
#include "results/DialogComparisonAlerts.h"
#include "results/DialogTestInstruments.h"
#include "results/TestResultsTab.h"
#include "sequences/DialogGlobalTestSequences.h"
#include "sequences/TestSequenceTab.h"
#include "transfer/DialogDownloadReport.h"
#include "transfer/DialogTransfer.h"
#include "transfer/Download.h"
#include "transfer/DownloadStats.h"

#include "ui_MainWindow.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QTranslator>

namespace {
MainWindow* g_instance = nullptr;

const QString kTranslationKey = QStringLiteral("language/translation");
const QString kGeometryKey = QStringLiteral("win/MainWindowGeometry");
const QString kStateKey = QStringLiteral("win/MainWindowState");
const QString kTableKey = QStringLiteral("win/AssetTableView");
const QString kTabsKey = QStringLiteral("win/AssetTabs");
const QString kAlertsKey = QStringLiteral("settings/alerts");
const QString kDefaultTranslation = QStringLiteral("Translations/pelvane_en.qm");

// Where the program's own files lie, beside it or in an installed tree; a
// missing manual is reported where it would lie beside the program.
QString userManualPath()
{
    const QString name = QStringLiteral("Docs/Pelvane User Manual.pdf");
    const QString found = programFilePath(name);
    return found.isEmpty() ? QCoreApplication::applicationDirPath() + QLatin1Char('/') + name : found;
}

bool usable(const QVariant& value)
{
    return value.isValid() && !value.isNull();
}

// A window that reads the database as it opens: one that the database does
// not answer stays closed, and the user is told so.
template<typename Dialog, typename... Args>
std::unique_ptr<Dialog> opened(const QString& notDone, QWidget* parent, const Args&... args)
{
    std::unique_ptr<Dialog> dialog;
    DatabaseAction::run(parent, notDone, [&] { dialog = std::make_unique<Dialog>(args..., parent); });
    return dialog;
}
} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), ui(std::make_unique<Ui::MainWindow>())
{
    g_instance = this;
    // The lower layers reach the window through these, never by linking to it.
    Error::setDialogParentProvider([] { return static_cast<QWidget*>(MainWindow::instance()); });
    Database::setDatabaseActionsHook([](bool enabled) {
        if (MainWindow* window = MainWindow::instance())
            window->setDatabaseActionsEnabled(enabled);
    });
    ConnectionLoss::setLostHook([] {
        if (MainWindow* window = MainWindow::instance())
            window->closeLostDatabase();
    });
    AssetManager::setCertificateGeneratorHook([](const QList<int>& assetIds) {
        // The preview reads the first asset as the window opens.
        if (auto generator = opened<DialogCertificateGenerator>(tr("The certificates window was not opened."),
                                                                 MainWindow::instance(), assetIds))
            generator->exec();
    });

    AssetTabs::setSequenceTabFactory(&TestSequenceTab::create);

    AssetTabs::setResultsTabFactory(
        [](AssetDetailsTab*, QWidget* parent) -> AssetTabBase* { return new TestResultsTab(parent); });

    loadTranslation();
    ui->setupUi(this);
    m_plainTitle = windowTitle();
    setDatabaseActionsEnabled(false);

    ui->assetTableView->setItemDelegateForColumn(AssetTableView::StatusColumn,
                                                 new StatusDelegate(ui->assetTableView));
    auto* dates = new DateTimeDelegate(ui->assetTableView);
    ui->assetTableView->setItemDelegateForColumn(AssetTableView::LastTestColumn, dates);
    ui->assetTableView->setItemDelegateForColumn(AssetTableView::RetestDateColumn, dates);
    // The search form and the table live as long as the window: joined once.
    connect(ui->assetSearch, &AssetSearch::searchAssets, ui->assetTableView, &AssetTableView::showSearchResults);
    connect(this, &MainWindow::updateTranslations, ui->assetTableView, &AssetTableView::onUpdateTranslations);
    connectEditor();

    buildLanguageMenu();
    restoreWindowSettings();
    // A copy of a whole database that a killed export left stays hidden from the user.
    ExportDatabaseThread::removeLeftoversOfKilledExports();

    setCorner(Qt::TopLeftCorner, Qt::LeftDockWidgetArea);
    setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
    setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);

    if (Database* db = Database::openFromSettings())
        setDatabase(db);

    connectActions();
    if (m_firstStart)
        fitFirstStart();
    qDebug() << "Starting Pelvane";
}

// The designed size may be too small for the platform's fonts: at the first
// start the layout's wish wins, as far as the screen allows. Asked once the
// docks and the database are in place, since they make the wish.
void MainWindow::fitFirstStart()
{
    ensurePolished();
    if (layout())
        layout()->activate();
    // High enough that half of it beside the browser holds the whole editor,
    // and wide enough for the editor's wish, which its scroll area does not
    // pass on.
    const int beside = centralWidget()->height() + ui->assetDetailsDock->height();
    const int editorWidth = ui->assetTabs->unscrolledSize(false).width();
    const QSize wished =
        sizeHint().expandedTo(QSize(0, height() - beside + 2 * editorHeightNeeded()))
        + QSize(qMax(0, editorWidth - ui->assetTabs->sizeHint().width()), 0);
    resize(size().expandedTo(wished));
    // The platform window tells the frame where it is known before showing.
    create();
    fitFrameToScreen();
    m_fitWhenFramed = frameGeometry().size() == size();
    m_shareHeightWhenShown = true;
}

// The whole window, frame and title bar included, goes on the screen's free
// area, centred; Apply and the tabs at its bottom would be out of reach.
void MainWindow::fitFrameToScreen()
{
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QSize frame = frameGeometry().size() - size();
    const QSize inner = size().boundedTo(available.size() - frame);
    resize(inner);
    QRect framed(QPoint(), inner + frame);
    framed.moveCenter(available.center());
    // A top-level window's position is that of its frame.
    move(framed.topLeft());
    if (isVisible())
        shareHeightWithEditor();
}

// The editor's dock with the whole asset editor in it.
int MainWindow::editorHeightNeeded() const
{
    return ui->assetTabs->unscrolledSize(true).height() + ui->assetDetailsDock->minimumSizeHint().height()
           - ui->assetTabs->minimumSizeHint().height();
}

// The editor's dock would take all the height its tabs wish for and leave
// the list a few rows: at the first start the list gets half the height
// beside the browser, or more where the editor needs less. On a low screen
// the editor then scrolls. Sizes are known once the window is shown.
void MainWindow::shareHeightWithEditor()
{
    if (layout())
        layout()->activate();
    if (centralWidget()->layout())
        centralWidget()->layout()->activate();
    QDockWidget* editor = ui->assetDetailsDock;
    const int beside = centralWidget()->height() + editor->height();
    const int aroundList = centralWidget()->height() - ui->assetTableView->height();
    const int wanted = qMin(beside - (beside + 1) / 2 - aroundList, editorHeightNeeded());
    resizeDocks({editor}, {wanted}, Qt::Vertical);
}

bool MainWindow::event(QEvent* event)
{
    // A window manager puts its frame round the window only once it is
    // shown; the fit waits for the event at hand to end.
    if (m_shareHeightWhenShown && event->type() == QEvent::Show) {
        m_shareHeightWhenShown = false;
        QMetaObject::invokeMethod(this, &MainWindow::shareHeightWithEditor, Qt::QueuedConnection);
    }
    if (m_fitWhenFramed && frameGeometry().size() != size()) {
        m_fitWhenFramed = false;
        QMetaObject::invokeMethod(this, &MainWindow::fitFrameToScreen, Qt::QueuedConnection);
    }
    return QMainWindow::event(event);
}

MainWindow::~MainWindow()
{
    if (m_database && Database::instance() == m_database)
        Database::setInstance(nullptr);
    m_assetManager.reset();
    releaseAssetTree();
    if (g_instance == this)
        g_instance = nullptr;
}

MainWindow* MainWindow::instance()
{
    return g_instance;
}

QString MainWindow::languageCode(const QString& translationPath)
{
    if (translationPath.size() < 5)
        return QString();
    return translationPath.mid(translationPath.size() - 5, 2);
}

void MainWindow::loadTranslation()
{
    QSettings settings;
    m_translationPath = settings.value(kTranslationKey).toString();
    if (m_translationPath.isEmpty()) {
        DialogLanguage dialog(this);
        const bool chosen = dialog.exec() == QDialog::Accepted;
        m_translationPath = chosen ? dialog.selectedFile() : kDefaultTranslation;
        // Kept at once: a program that is ended before it closes asks again otherwise.
        if (chosen)
            settings.setValue(kTranslationKey, m_translationPath);
    }
    // A file that is missing leaves the texts untranslated.
    if (!translator()->load(shippedPath(m_translationPath)))
        qDebug() << "No translation loaded from" << m_translationPath;
    QLocale::setDefault(QLocale(languageCode(m_translationPath)));
}

void MainWindow::buildLanguageMenu()
{
    m_languageGroup = new QActionGroup(this);
    m_languageGroup->setExclusive(true);
    for (const auto& entry : listTranslations(translationsFolder())) {
        QAction* action = ui->menuLanguage_Settings->addAction(entry->languageName());
        action->setCheckable(true);
        action->setData(entry->path);
        m_languageGroup->addAction(action);
        if (entry->path == m_translationPath)
            action->setChecked(true);
    }
    connect(m_languageGroup, &QActionGroup::triggered, this, &MainWindow::languageChanged);
}

void MainWindow::restoreWindowSettings()
{
    QSettings settings;
    const QVariant geometry = settings.value(kGeometryKey);
    if (usable(geometry))
        restoreGeometry(geometry.toByteArray());
    else
        m_firstStart = true;
    const QVariant state = settings.value(kStateKey);
    if (usable(state))
        restoreState(state.toByteArray(), 0);
    const QVariant table = settings.value(kTableKey);
    if (usable(table))
        ui->assetTableView->restoreState(table.toByteArray());
    const QVariant tabs = settings.value(kTabsKey);
    if (usable(tabs))
        ui->assetTabs->restoreState(tabs.toByteArray());
    const QVariant alerts = settings.value(kAlertsKey);
    if (usable(alerts))
        AlertThresholds::load(alerts.toByteArray());
}

void MainWindow::connectActions()
{
    connect(ui->actionImport, &QAction::triggered, this, &MainWindow::onImportV1Database);
    connect(ui->actionExportDatabase, &QAction::triggered, this, &MainWindow::onExportDatabase);
    connect(ui->actionAbout, &QAction::triggered, this, &MainWindow::onAbout);
    connect(ui->actionSchedule, &QAction::triggered, this, &MainWindow::onSearch);
    connect(ui->actionTestInstruments, &QAction::triggered, this, &MainWindow::onTestInstruments);
    connect(ui->actionDownload, &QAction::triggered, this, &MainWindow::onDownload);
    connect(ui->actionComparisonAlerts, &QAction::triggered, this, &MainWindow::onComparisonAlerts);
    connect(ui->actionGlobalTestSequences, &QAction::triggered, this, &MainWindow::onGlobalTestSequences);
    connect(ui->actionDatabaseConnect, &QAction::triggered, this, &MainWindow::onDatabaseConnect);
    connect(ui->actionUserManual, &QAction::triggered, this, &MainWindow::onOpenUserManual);
}

QAction* MainWindow::action(int id) const
{
    switch (id) {
    case 0: return ui->actionAddAsset;
    case 1: return ui->actionDeleteAssets;
    case 2: return ui->actionRestoreAssets;
    case 3: return ui->actionUpload;
    case 4: return ui->actionGenerateCertificates;
    case 5: return ui->actionDeleteClient;
    case 6: return ui->actionDeleteSite;
    case 7: return ui->actionDeleteLocation;
    default: return nullptr;
    }
}

bool MainWindow::setDatabase(Database* db)
{
    // Unapplied edits of the previous database's asset are dropped with it.
    ui->assetTabs->clearTabs();
    emit disconnectOldDatabase();
    Database::setInstance(db);
    // The next start opens it, however this run ends.
    Database::saveSettings(db);
    emit connectNewDatabase();

    switch (db ? db->type() : -1) {
    case DatabaseSqlite:
        setWindowTitle(tr("Tavisk Pelvane - %1",
                          "The title shown at top of the main window after openinga SQLITE database. "
                          "%%1 represents the file path of the database.")
                           .arg(static_cast<SqliteDatabase*>(db)->filePath()));
        break;
    case DatabaseMySql:
        setWindowTitle(tr("Tavisk Pelvane - %1 (MySQL) on %2",
                          "The title shown at top of the main window after openinga MySQL database. "
                          "%%1 represents the name of the database and %%2 is the host name")
                           .arg(db->databaseName(),
                                static_cast<ServerDatabase*>(db)->connectionSettings().host));
        break;
    case DatabaseMsSql:
        setWindowTitle(tr("Tavisk Pelvane - %1 (Microsoft SQL Server)",
                          "The title shown at top of the main window after openinga SQL Server "
                          "database. %%1 represents the name of the database.")
                           .arg(db->databaseName()));
        break;
    default:
        break;
    }

    installAssetTable();
    installAssetTree(db);
    installAssetManager();
    db->setAssetTreeModel(m_treeModel);

    m_database = db;
    setDatabaseActionsEnabled(true);
    ui->assetTreeView->selectDatabase();
    return true;
}

void MainWindow::closeLostDatabase()
{
    Database* db = Database::instance();
    if (!db || !db->connectionLost())
        return;
    // The action that met the loss may still be below a nested event loop (a
    // progress dialog, a message box) and hold on to the database.
    if (PendingWrite::active() || QThread::currentThread()->loopLevel() > 1 || QApplication::activeModalWidget()) {
        QTimer::singleShot(50, this, &MainWindow::closeLostDatabase);
        return;
    }
    ui->assetTabs->clearTabs();
    emit disconnectOldDatabase();
    m_assetManager.reset();
    ui->assetTableView->setModel(nullptr);
    delete m_tableModel;
    m_tableModel = nullptr;
    ui->assetTreeView->setModel(nullptr);
    releaseAssetTree();
    m_database = nullptr;
    Database::setInstance(nullptr);
    setWindowTitle(m_plainTitle);
    setDatabaseActionsEnabled(false);
    for (int id = 0; id < AssetManager::ActionCount; ++id)
        action(id)->setEnabled(false);
}

void MainWindow::installAssetTable()
{
    AssetQueryModel* old = m_tableModel;
    m_tableModel = new AssetQueryModel;
    m_tableModel->setParent(this);
    ui->assetTableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui->assetTableView->setup(m_tableModel);
    // setup() gave the view a selection model of its own; ours replaces it.
    QItemSelectionModel* internal = ui->assetTableView->selectionModel();
    ui->assetTableView->setSelectionModel(new QItemSelectionModel(m_tableModel, m_tableModel));
    delete internal;
    ui->assetTableView->show();
    delete old;
}

void MainWindow::installAssetTree(Database* db)
{
    AssetTreeModel* oldModel = m_treeModel;
    AssetTreeItem* oldRoot = m_treeRoot;

    AssetTreeItem::initIcons();
    m_treeRoot = new AssetTreeItem(0, QStringLiteral("root"), AssetTreeRoot, nullptr);
    auto* databaseNode = new AssetTreeItem(0, db->databaseName(), AssetTreeDatabase, m_treeRoot);
    m_treeRoot->appendChild(databaseNode);
    databaseNode->appendChild(new AssetTreeItem(
        0, QCoreApplication::translate("AssetTreeView", "Recycled", "The recycled item is where the deleted assets go"),
        AssetTreeRecycled, databaseNode));
    m_treeModel = new AssetTreeModel(m_treeRoot);
    ui->assetTreeView->setModel(m_treeModel);
    QItemSelectionModel* internal = ui->assetTreeView->selectionModel();
    ui->assetTreeView->setSelectionModel(new QItemSelectionModel(m_treeModel, m_treeModel));
    delete internal;
    ui->assetTreeView->header()->hide();
    connect(this, &MainWindow::updateTranslations, m_treeModel, &AssetTreeModel::onUpdateTranslations);

    // The model goes before its nodes, so nothing refers to them any more.
    delete oldModel;
    delete oldRoot;
}

// The editor, the table and the tree live as long as the window, so they are
// joined once here rather than again for every database.
void MainWindow::connectEditor()
{
    AssetTabs* tabs = ui->assetTabs;
    AssetTableView* table = ui->assetTableView;
    AssetTreeView* tree = ui->assetTreeView;
    connect(tabs->assetDetailsTab(), &AssetDetailsTab::updateAsset, tree, &AssetTreeView::assetUpdated);
    connect(tabs, &AssetTabs::assetUpdated, tree, &AssetTreeView::assetUpdated);
    connect(tabs, &AssetTabs::assetUpdated, table, &AssetTableView::assetUpdated);
    connect(tabs, &AssetTabs::refreshTableView, table, &AssetTableView::refresh);
    // The results tab keeps a query on the database; it lets go before each switch.
    auto* results = static_cast<TestResultsTab*>(tabs->testResultsTab());
    connect(this, &MainWindow::connectNewDatabase, results, &TestResultsTab::connectNewDatabase);
    connect(this, &MainWindow::disconnectOldDatabase, results, &TestResultsTab::releaseOldDatabase);
    // Its updateAsset is left unheard: the list is refreshed by the editor's
    // assetUpdated once Apply has ended. Refreshing it for each deleted set
    // reselected the asset and reloaded the tab in the middle of its Apply,
    // which showed the other marked rows again and so kept those sets.
}

void MainWindow::installAssetManager()
{
    m_assetManager.reset();
    QList<QAction*> actions;
    for (int id = 0; id < AssetManager::ActionCount; ++id)
        actions.append(action(id));
    m_assetManager = std::make_unique<AssetManager>(this, actions);
    AssetManager* manager = m_assetManager.get();
    AssetTabs* tabs = ui->assetTabs;
    AssetTableView* table = ui->assetTableView;
    AssetTreeView* tree = ui->assetTreeView;

    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, manager,
            &AssetManager::tableSelectionChanged);
    connect(table, &AssetTableView::selectionDropped, manager, &AssetManager::tableSelectionDropped);
    connect(tree->selectionModel(), &QItemSelectionModel::selectionChanged, manager,
            &AssetManager::treeItemSelected);
    connect(tree, &QAbstractItemView::clicked, manager, &AssetManager::treeNodeClicked);
    connect(ui->assetSearch, &AssetSearch::searchAssets, manager, &AssetManager::searchShown);
    connect(tabs, &AssetTabs::assetModified, manager, &AssetManager::assetModified);
    connect(manager, &AssetManager::assetAdded, table, &AssetTableView::assetAdded);
    connect(manager, &AssetManager::assetsRemoved, table, &AssetTableView::assetsRemoved);
    connect(manager, &AssetManager::assetsRestored, table, &AssetTableView::assetsRestored);
    connect(manager, &AssetManager::assetsRestored, tree, &AssetTreeView::assetsRestored);
    connect(manager, &AssetManager::selectAsset, table, &AssetTableView::selectAsset);
    connect(manager, &AssetManager::assetSelected, tabs, &AssetTabs::assetSelected);
    connect(manager, &AssetManager::saveAsset, tabs, &AssetTabs::saveAsset);
    connect(manager, &AssetManager::revertAsset, tabs, &AssetTabs::revertAsset);
    connect(manager, &AssetManager::selectDatabase, tree, &AssetTreeView::selectDatabase);
    connect(manager, &AssetManager::selectRecycled, tree, &AssetTreeView::selectRecycled);
    connect(manager, &AssetManager::selectClient, tree, &AssetTreeView::selectClient);
    connect(manager, &AssetManager::selectSite, tree, &AssetTreeView::selectSite);
    connect(manager, &AssetManager::selectLocation, tree, &AssetTreeView::selectLocation);
    connect(manager, &AssetManager::showLocationAssets, table, &AssetTableView::showLocationAssets);
    connect(manager, &AssetManager::showSiteAssets, table, &AssetTableView::showSiteAssets);
    connect(manager, &AssetManager::showClientAssets, table, &AssetTableView::showClientAssets);
    connect(manager, &AssetManager::showAllAssets, table, &AssetTableView::showAllAssets);
    connect(manager, &AssetManager::showRecycledAssets, table, &AssetTableView::showRecycledAssets);
    connect(manager, &AssetManager::newAsset, tabs, &AssetTabs::newAsset);
    connect(manager, &AssetManager::locationRemoved, m_treeModel, &AssetTreeModel::removeLocation);
    connect(manager, &AssetManager::siteRemoved, m_treeModel, &AssetTreeModel::removeSite);
    connect(manager, &AssetManager::clientRemoved, m_treeModel, &AssetTreeModel::removeClient);
    connect(table, &AssetTableView::requestShowContextMenu, manager, &AssetManager::showAssetContextMenu);
    connect(tree, &AssetTreeView::requestShowContextMenu, manager, &AssetManager::showTreeContextMenu);
    connect(m_treeModel, &AssetTreeModel::clientNameChanged, tabs, &AssetTabs::clientNameChanged);
    connect(m_treeModel, &AssetTreeModel::siteNameChanged, tabs, &AssetTabs::siteNameChanged);
    connect(m_treeModel, &AssetTreeModel::locationNameChanged, tabs, &AssetTabs::locationNameChanged);
}

void MainWindow::releaseAssetTree()
{
    delete m_treeModel;
    m_treeModel = nullptr;
    delete m_treeRoot;
    m_treeRoot = nullptr;
}

void MainWindow::setDatabaseActionsEnabled(bool enabled)
{
    for (QAction* action : {ui->actionComparisonAlerts, ui->actionExportDatabase, ui->actionTestInstruments,
                            ui->actionSchedule, ui->actionDownload, ui->actionAddAsset,
                            ui->actionGlobalTestSequences})
        action->setEnabled(enabled);
    ui->actionImport->setEnabled(enabled);
    ui->assetSearch->setEnabled(enabled);
}

// Typed edits are asked about on closing as when another asset is chosen;
// Cancel, or an Apply that was refused, keeps the window open.
bool MainWindow::resolveUnappliedEdits()
{
    AssetTabs* tabs = ui->assetTabs;
    if (tabs->pendingFlags() == ModifiedNone)
        return true;
    switch (AssetManager::askApplyChanges()) {
    case QMessageBox::Yes:
        return tabs->apply();
    case QMessageBox::No:
        tabs->reset();
        return true;
    default:
        return false;
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!resolveUnappliedEdits()) {
        event->ignore();
        return;
    }
    if (Database* db = Database::instance()) {
        Database::saveSettings(db);
        Database::setInstance(nullptr);
    }

    QSettings settings;
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kStateKey, saveState(0));
    // Without a database the table has no columns whose widths could be kept.
    if (ui->assetTableView->model())
        settings.setValue(kTableKey, ui->assetTableView->saveState());
    settings.setValue(kTabsKey, ui->assetTabs->saveState());
    settings.setValue(kAlertsKey, AlertThresholds::save());
    if (QAction* checked = m_languageGroup->checkedAction())
        settings.setValue(kTranslationKey, checked->data().toString());

    QMainWindow::closeEvent(event);
}

void MainWindow::languageChanged(QAction* action)
{
    QSettings().setValue(kTranslationKey, action->data().toString());
    QMessageBox box(QMessageBox::Question, QString(),
                    tr("The language will be changed next time Pelvane is started. Would you like "
                       "to restart now?"),
                    QMessageBox::Yes | QMessageBox::No);
    if (box.exec() != QMessageBox::Yes)
        return;
    m_restartRequested = true;
    // Kept open for unapplied edits: no restart either.
    if (!close())
        m_restartRequested = false;
}

void MainWindow::onImportV1Database()
{
    DialogImportV1Database dialog(this);
    if (dialog.exec() != QDialog::Accepted || !Database::instance())
        return;
    MsSqlDatabase legacy;
    if (legacy.open(dialog.fileName()) != 0)
        return;
    importLegacyDatabase(&legacy, dialog.importAssets(), dialog.importResults());
    legacy.detachLegacy();
}

void MainWindow::importLegacyDatabase(Database* legacy, bool assets, bool results)
{
    Database* target = Database::instance();
    if (!target)
        return;
    ImportOptions options;
    options.owner = this;
    options.legacyDatabase = legacy;
    options.targetDatabase = target;
    options.importAssets = assets;
    options.importResults = results;
    options.importTestSequences = false;
    // The worker inserts assets from its own thread; the tree must not be
    // told of them while it runs, so it is built anew afterwards.
    target->setAssetTreeModel(nullptr);
    {
        PendingWrite pending(tr("the rest of the import from the first-version database (what was copied "
                                "before is stored)"));
        ImportDatabaseThread thread(&options, this);
        thread.exec();
    }
    // A lost connection closes the database instead.
    if (!target->connectionLost())
        setDatabase(target);
}

void MainWindow::onExportDatabase()
{
    if (!Database::instance())
        return;
    QFileDialog dialog(this, tr("Export Database", "Title in save file dialog when exporting a database"), QString(),
                       tr("SQL files (*.sql);;Text files (*.txt)",
                          "The types of files to show when exporting a database"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name typed without a suffix gets the script's, as a new database gets
    // ".db", before the dialog checks for a file it would overwrite.
    dialog.setDefaultSuffix(QStringLiteral("sql"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString fileName = dialog.selectedFiles().value(0);
    if (fileName.isEmpty())
        return;
    // The file is replaced only once the script is whole: a lost connection
    // leaves it as it was.
    PendingWrite pending(tr("the export to %1, which was not written",
                            "what a lost connection did not save; %1 is the export's file")
                             .arg(QDir::toNativeSeparators(fileName)));
    ExportDatabaseThread::exportCurrentDatabase(fileName, this);
}

void MainWindow::onDatabaseConnect()
{
    DialogConnection dialog(this);
    connect(&dialog, &DialogConnection::databaseOpened, this, &MainWindow::setDatabase);
    dialog.exec();
}

void MainWindow::onTestInstruments()
{
    if (auto dialog = opened<DialogTestInstruments>(tr("The test instruments window was not opened."), this))
        dialog->exec();
}

void MainWindow::onComparisonAlerts()
{
    bool showAlertAssets = false;
    {
        DialogComparisonAlerts dialog(this);
        connect(&dialog, &DialogComparisonAlerts::updateAssetDetails, ui->assetTabs, &AssetTabs::reset);
        connect(&dialog, &DialogComparisonAlerts::updateAssetTableView, ui->assetTableView, &AssetTableView::refresh);
        dialog.setWindowIcon(QIcon(QStringLiteral(":/icons/icons/comparison_alerts.png")));
        showAlertAssets = dialog.exec() == QDialog::Accepted && dialog.showAlertAssets;
    }
    // The dialog has stored the field it closed on as it went.
    QSettings().setValue(kAlertsKey, AlertThresholds::save());
    if (showAlertAssets) {
        ui->assetSearch->reset();
        ui->assetSearch->searchByStatus();
        ui->assetTabWidget->setCurrentWidget(ui->searchTab);
    }
}

void MainWindow::onDownload()
{
    DialogTransfer dialog(this, 0);
    dialog.setWindowIcon(QIcon(QStringLiteral(":/icons/icons/download.png")));
    dialog.setWindowTitle(tr("Download from Tester", "This is the title in the download from tester dialog"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    DownloadStats stats;
    {
        Download download(dialog.portName(), dialog.baudRate(), &stats);
        // The port's message, or the lost line's when nothing came, is the
        // whole outcome: a report of zeros would read as an empty download
        // that worked.
        if (!download.start())
            return;
    }
    // The user has been told what the lost connection kept from being
    // stored, and the database closes: nothing to report or show anew.
    if (ConnectionLoss::happened())
        return;
    DialogDownloadReport report(&stats, this);
    report.exec();

    // The records replace an asset's sequence and applied parts and add its
    // results, the shown asset's too: the list and the editor read the
    // register again. Edits not yet applied are kept for the user to apply
    // or reset; the tabs read the register again after that.
    if (ui->assetTabs->pendingFlags() == ModifiedNone)
        ui->assetTabs->reset();
    const int shown = ui->assetTabs->currentAssetId();
    if (shown > 0)
        ui->assetTableView->assetUpdated(shown);
    else
        ui->assetTableView->refresh();
}

void MainWindow::onGlobalTestSequences()
{
    auto dialog =
        opened<DialogGlobalTestSequences>(tr("The global test sequences window was not opened."), this, false);
    if (!dialog)
        return;
    dialog->setWindowIcon(QIcon(QStringLiteral(":/icons/icons/sequences.png")));
    dialog->exec();
}

void MainWindow::onSearch()
{
    ui->assetTabWidget->setCurrentWidget(ui->searchTab);
}

void MainWindow::onAbout()
{
    DialogAbout dialog(this);
    dialog.exec();
}

void MainWindow::onOpenUserManual()
{
    const QString path = userManualPath();
    if (!QFileInfo::exists(path)) {
        QMessageBox::information(this, QString(),
                                 tr("The user manual could not be found. It should be at:\n%1",
                                    "Shown when the manual's PDF file is missing. %%1 is its path")
                                     .arg(QDir::toNativeSeparators(path)));
        return;
    }
    // xdg-open hands the file to the desktop's PDF viewer; while the viewer
    // shows the manual it may still run. It outlives the window, as the
    // viewer does. Its exit code 3 says that no program takes the file (a
    // tool it needs is missing); any other failure, or an end by a signal,
    // is the viewer's or xdg-open's own.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        reportNoPdfViewer(path, false);
        return;
    }
    auto* process = new QProcess(qApp);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    const QPointer<MainWindow> window(this);
    enum { Opened = 0, NoProgram = 3, Failed = -1 };
    auto ended = [process, window, path](int code) {
        process->deleteLater();
        if (code != Opened && window)
            window->reportNoPdfViewer(path, code != NoProgram);
    };
    connect(process, &QProcess::finished, process, [ended](int code, QProcess::ExitStatus status) {
        ended(status == QProcess::NormalExit ? code : int(Failed));
    });
    connect(process, &QProcess::errorOccurred, process, [ended](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            ended(NoProgram);
    });
    process->start(opener, {path});
}

void MainWindow::reportNoPdfViewer(const QString& manualPath, bool viewerFailed)
{
    const QString where = QDir::toNativeSeparators(manualPath);
    QMessageBox::information(
        this, QString(),
        viewerFailed ? tr("The PDF viewer failed to open the user manual. The user manual is at:\n%1",
                          "Shown when the desktop's PDF viewer failed or was ended. %%1 is the manual's path")
                           .arg(where)
                     : tr("No program to open PDF files was found on this computer. The user manual is at:\n%1",
                          "Shown when the desktop has no PDF viewer. %%1 is the manual's path")
                           .arg(where));
}
