#include "../transfer/InstrumentRecords.h"
#include "assets/AssetTableView.h"
#include "assets/AssetTreeView.h"
#include "database/Database.h"
#include "database/DialogConnection.h"
#include "database/MySqlDatabase.h"
#include "database/SqliteDatabase.h"
#include "mainwindow/ApplicationLoop.h"
#include "mainwindow/DialogLanguage.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/TranslationEntry.h"
#include "support/DialogAnswerer.h"
#include "support/MariaDbServer.h"
#include "support/PermissionsEnforced.h"
#include "support/SeededDatabase.h"
#include "support/SimulatedInstrument.h"
#include "support/TestEnvironment.h"
#include "results/AlertThresholds.h"
#include "ux/TsqTestElementDetails.h"
#include "WindowTestHelpers.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDataStream>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSettings>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>
#include <QToolBar>
#include <QMenu>
#include <QtTest>
#include <cstdio>
#include <memory>

namespace {
const QString kEnglish = QStringLiteral("Translations/pelvane_en.qm");

QAction* findAction(QWidget* window, const char* name)
{
    return window->findChild<QAction*>(QLatin1String(name));
}

// Presses a button of a dialog once the answerer has returned, so that the
// dialogs the button opens are answered by the handlers queued after it.
void pressLater(QWidget* dialog, const char* buttonName)
{
    auto* button = dialog->findChild<QPushButton*>(QLatin1String(buttonName));
    QVERIFY(button);
    QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
}

DialogAnswerer::Handler chooseFile(const QString& path, QString* startFolder = nullptr)
{
    return [path, startFolder](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        if (!dialog) {
            qWarning("expected a file dialog, got %s", w->metaObject()->className());
            return;
        }
        if (startFolder)
            *startFolder = dialog->directory().absolutePath();
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        DialogAnswerer::enterFileName(dialog, path);
        static_cast<QDialog*>(dialog)->accept();
    };
}

// Stands in for the catalogue's texts in another language.
class MarkingTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (qstrcmp(context, "Ux::TsqTestElementDetails") != 0)
            return QString();
        return QStringLiteral("Neu: ") + QString::fromUtf8(source);
    }
};

QStringList menuTitles(QMenuBar* bar)
{
    QStringList titles;
    for (QAction* a : bar->actions())
        titles << a->text();
    return titles;
}
} // namespace

// Writes a populated database for the screenshot helper (scripts/screenshot).
PELVANE_CHILD_SCENARIO(seedDatabase)
{
    if (args.isEmpty())
        return 2;
    QFile::remove(args.first());
    SqliteDatabase* db = SeededDatabase::createSeeded(args.first());
    Database::setInstance(nullptr);
    return db ? 0 : 1;
}

// The window as a first start opens it (args: the database file): at least
// its designed size and its layout's size hint, every field of the asset
// editor whole, the asset list at least half as high as the room beside the
// browser, no column of the asset list narrower than its title.
// Prints what is wrong and returns 1. A second argument names a PNG of the
// screen to write (run under X, for a person to look at).
PELVANE_CHILD_SCENARIO(firstStart)
{
    QSettings settings;
    settings.setValue(QStringLiteral("language/translation"), kEnglish);
    settings.setValue(QStringLiteral("db/current/type"), 0);
    settings.setValue(QStringLiteral("db/current/fileName"), args.value(0));
    MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window) || !Database::instance())
        return 2;
    // A window manager's frame comes round the window after it is shown.
    QTest::qWait(300);
    QStringList faults;
    // The whole window, frame and title bar too, is on the screen; within
    // that room it is as large as it wants.
    const QRect available = window.screen()->availableGeometry();
    const QRect frame = window.frameGeometry();
    if (!available.contains(frame))
        faults << QStringLiteral("frame %1,%2 %3x%4 outside %5x%6")
                      .arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height())
                      .arg(available.width()).arg(available.height());
    const QSize room = available.size() - (frame.size() - window.size());
    const QSize hint = window.sizeHint();
    if (window.width() < qMin(qMax(743, hint.width()), room.width())
        || window.height() < qMin(qMax(535, hint.height()), room.height()))
        faults << QStringLiteral("window %1x%2, hint %3x%4")
                      .arg(window.width()).arg(window.height()).arg(hint.width()).arg(hint.height());

    auto* table = window.findChild<AssetTableView*>(QStringLiteral("assetTableView"));
    table->selectRow(0);
    QTest::qWait(50);
    QWidget* details = window.findChild<QWidget*>(QStringLiteral("assetDetailsTab"));
    if (!details || !details->isVisible())
        return 3;
    for (QWidget* field : details->findChildren<QWidget*>()) {
        // Parts of a widget (a spin box's text) are sized by the widget.
        if (!field->isVisible() || field->objectName().startsWith(QLatin1String("qt_")))
            continue;
        if (!(qobject_cast<QLineEdit*>(field) || qobject_cast<QComboBox*>(field) || qobject_cast<QLabel*>(field)
              || qobject_cast<QPushButton*>(field) || qobject_cast<QAbstractSpinBox*>(field)))
            continue;
        if (field->width() < field->minimumSizeHint().width())
            faults << QStringLiteral("%1 %2 wide, needs %3").arg(field->objectName()).arg(field->width())
                          .arg(field->minimumSizeHint().width());
    }
    // However low the editor, Apply and Reset stay in sight.
    for (const char* name : {"applyButton", "resetButton"}) {
        auto* button = window.findChild<QPushButton*>(QLatin1String(name));
        if (button->visibleRegion().boundingRect() != button->rect())
            faults << QStringLiteral("%1 out of sight").arg(QLatin1String(name));
    }
    // So are the sequence tab's buttons, the last of them too.
    auto* editor = window.findChild<QWidget*>(QStringLiteral("assetTabs"))->findChild<QTabWidget*>();
    auto* down = window.findChild<QPushButton*>(QStringLiteral("moveElementDownBtn"));
    for (int tab = 0; tab < editor->count(); ++tab)
        editor->setCurrentIndex(editor->widget(tab)->isAncestorOf(down) ? tab : editor->currentIndex());
    QTest::qWait(50);
    if (down->visibleRegion().boundingRect() != down->rect())
        faults << QStringLiteral("Move Down out of sight");
    // The list has at least half the height beside the browser: rows to
    // choose from, not the editor's empty room.
    const int beside = window.centralWidget()->height()
                       + window.findChild<QDockWidget*>(QStringLiteral("assetDetailsDock"))->height();
    if (table->height() * 2 < beside)
        faults << QStringLiteral("list %1 high of %2").arg(table->height()).arg(beside);
    QHeaderView* header = table->horizontalHeader();
    for (int column = 0; column < header->count(); ++column) {
        if (!header->isSectionHidden(column) && header->sectionSize(column) < header->sectionSizeHint(column))
            faults << QStringLiteral("column %1 %2 wide, title needs %3")
                          .arg(table->model()->headerData(column, Qt::Horizontal).toString())
                          .arg(header->sectionSize(column)).arg(header->sectionSizeHint(column));
    }
    std::printf("%s\n", qPrintable(faults.join(QLatin1Char('\n'))));
    if (args.size() > 1 && !window.screen()->grabWindow(0).save(args.at(1)))
        return 4;
    return faults.isEmpty() ? 0 : 1;
}

// Shows the window on the demo database (args: the database file, the PNG to
// write) as a user would leave it: the tree open, a client's assets listed
// and one of them in the editor; then saves the screen (run under X).
PELVANE_CHILD_SCENARIO(showRegister)
{
    if (args.size() < 2 || !QGuiApplication::primaryScreen())
        return 2;
    QSettings settings;
    settings.setValue(QStringLiteral("language/translation"), kEnglish);
    settings.setValue(QStringLiteral("db/current/type"), 0);
    settings.setValue(QStringLiteral("db/current/fileName"), args.at(0));
    MainWindow window;
    if (!Database::instance())
        return 1;
    window.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    auto* tree = window.findChild<AssetTreeView*>(QStringLiteral("assetTreeView"));
    auto* table = window.findChild<AssetTableView*>(QStringLiteral("assetTableView"));
    tree->expandAll();
    tree->selectClient(1);
    table->selectAsset(3);
    // A third argument names a menu to show open, as the user opens it, or
    // an action to trigger.
    if (args.size() > 2) {
        auto* menu = window.findChild<QMenu*>(args.at(2));
        if (QAction* action = menu ? nullptr : window.findChild<QAction*>(args.at(2)))
            action->trigger();
        else if (menu)
            window.menuBar()->setActiveAction(menu->menuAction());
        else
            return 2;
    }
    QTest::qWait(500);
    return QGuiApplication::primaryScreen()->grabWindow(0).save(args.at(1), "PNG") ? 0 : 1;
}

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void firstStartAsksForLanguage();
    void languageListFollowsTheTranslationsFolder();
    void formHasTitleMenusToolBarsAndDocks();
    void actionStatesWithAndWithoutDatabase();
    void createDatabaseFromConnectDialog();
    void openExistingDatabaseAndCancelledFileDialog();
    void exportAddsTheScriptSuffixToANameWithoutOne();
    void connectToMariaDbThroughDialog();
    void downloadFillsTheTree();
    void dialogRemembersEntriesButNeverPasswords();
    void windowStateAndDatabaseRestoredAtNextStart();
    void foreignDatabaseIsRefusedAtStart();
    void languageChangeRestartsTheWindow();
    void restartRebuildsTheElementCatalogue();
    void firstStartShowsEveryFieldWhole_data();
    void firstStartShowsEveryFieldWhole();
    void aboutBoxShowsVersion();

private:
    std::unique_ptr<MainWindow> newWindow();
    QString seededFile();

    DialogAnswerer* m_answerer = nullptr;
};

void TestMainWindow::init()
{
    TestEnvironment::clearSettings();
    QSettings().setValue(QStringLiteral("language/translation"), kEnglish);
    m_answerer = new DialogAnswerer(this);
}

void TestMainWindow::cleanup()
{
    delete m_answerer;
    m_answerer = nullptr;
    Database::setInstance(nullptr);
}

std::unique_ptr<MainWindow> TestMainWindow::newWindow()
{
    auto window = std::make_unique<MainWindow>();
    window->show();
    return window;
}

QString TestMainWindow::seededFile()
{
    const QString path = TestEnvironment::instance()->newFolder(QStringLiteral("db")) + QStringLiteral("/site.db");
    if (!SeededDatabase::createSeeded(path))
        return QString();
    Database::setInstance(nullptr);
    return path;
}

void TestMainWindow::firstStartAsksForLanguage()
{
    TestEnvironment::clearSettings();
    QStringList offered;
    m_answerer->answerNext([&offered](QWidget* w) {
        auto* combo = w->findChild<QComboBox*>(QStringLiteral("languageCombo"));
        for (int i = 0; combo && i < combo->count(); ++i)
            offered << combo->itemText(i);
        qobject_cast<QDialog*>(w)->accept();
    });
    auto window = newWindow();
    QCOMPARE(m_answerer->count(), 1);
    QCOMPARE(m_answerer->seen().first().className, QStringLiteral("DialogLanguage"));
    QCOMPARE(m_answerer->seen().first().title, QStringLiteral("Please Select a Language"));
    QCOMPARE(offered, QStringList{QStringLiteral("English")});

    QMenu* languages = window->findChild<QMenu*>(QStringLiteral("menuLanguage_Settings"));
    QCOMPARE(languages->actions().size(), 1);
    QVERIFY(languages->actions().first()->isChecked());
    // Kept at once: a program ended without closing does not ask again.
    QCOMPARE(QSettings().value(QStringLiteral("language/translation")).toString(), kEnglish);
    window->close();

    // The answer sticks: the next window does not ask again.
    m_answerer->clear();
    newWindow()->close();
    QCOMPARE(m_answerer->count(), 0);

    // A cancelled question falls back to English.
    TestEnvironment::clearSettings();
    QLocale::setDefault(QLocale(QLocale::German));
    newWindow();  // the answerer rejects the question
    QCOMPARE(m_answerer->count(), 1);
    QCOMPARE(QLocale().language(), QLocale::English);
}

void TestMainWindow::languageListFollowsTheTranslationsFolder()
{
    const QString work = TestEnvironment::instance()->newFolder(QStringLiteral("cwd"));
    QDir().mkpath(work + QStringLiteral("/Translations"));
    QVERIFY(QFile::copy(kEnglish, work + QStringLiteral("/Translations/pelvane_en.qm")));
    QVERIFY(QFile::copy(kEnglish, work + QStringLiteral("/Translations/pelvane_de.qm")));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(work);
    auto restore = qScopeGuard([&previous] { QDir::setCurrent(previous); });

    const auto entries = listTranslations(translationsFolder());
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries.at(0)->path, QStringLiteral("Translations/pelvane_de.qm"));
    QCOMPARE(entries.at(0)->languageName(), QStringLiteral("German"));

    DialogLanguage dialog;
    auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("languageCombo"));
    QCOMPARE(combo->itemText(0), QStringLiteral("German"));
    combo->setCurrentIndex(0);
    QCOMPARE(dialog.selectedFile(), QStringLiteral("Translations/pelvane_de.qm"));

    // A stored language whose file is gone: nothing is checked and the
    // stored value survives the close.
    QSettings().setValue(QStringLiteral("language/translation"), QStringLiteral("Translations/pelvane_fr.qm"));
    auto window = newWindow();
    QMenu* languages = window->findChild<QMenu*>(QStringLiteral("menuLanguage_Settings"));
    QCOMPARE(languages->actions().size(), 2);
    for (QAction* a : languages->actions())
        QVERIFY(!a->isChecked());
    QCOMPARE(QLocale().language(), QLocale::French);
    window->close();
    QCOMPARE(QSettings().value(QStringLiteral("language/translation")).toString(),
             QStringLiteral("Translations/pelvane_fr.qm"));
}

void TestMainWindow::formHasTitleMenusToolBarsAndDocks()
{
    auto window = newWindow();
    QCOMPARE(window->windowTitle(), QStringLiteral("Tavisk Pelvane"));
    QVERIFY(!window->windowIcon().isNull());
    QCOMPARE(menuTitles(window->menuBar()),
             (QStringList{QStringLiteral("File"), QStringLiteral("Edit"), QStringLiteral("Tools"),
                          QStringLiteral("Help")}));

    auto* top = window->findChild<QToolBar*>(QStringLiteral("toolBar"));
    auto* side = window->findChild<QToolBar*>(QStringLiteral("toolBar2"));
    QVERIFY(top && side);
    for (QAction* a : top->actions() + side->actions()) {
        if (!a->isSeparator())
            QVERIFY2(!a->icon().pixmap(20, 20).isNull(), qPrintable(a->objectName()));
    }
    // The pictures that other parts of the program name are all there.
    for (const char* name : {"database", "recycled", "client", "building", "door_open", "exclamation",
                             "error_large", "sequences", "comparison_alerts", "tester"})
        QVERIFY2(QFile::exists(QStringLiteral(":/icons/icons/%1.png").arg(QLatin1String(name))), name);
    QVERIFY(!QPixmap(QStringLiteral(":/images/images/splash.jpg")).isNull());

    auto* browse = window->findChild<QDockWidget*>(QStringLiteral("browseSearchDock"));
    auto* details = window->findChild<QDockWidget*>(QStringLiteral("assetDetailsDock"));
    QCOMPARE(window->dockWidgetArea(browse), Qt::LeftDockWidgetArea);
    QCOMPARE(window->dockWidgetArea(details), Qt::BottomDockWidgetArea);
    QCOMPARE(browse->windowTitle(), QStringLiteral("Browse Assets"));

    // The Tools menu as the user reads it; "-" is a separator.
    auto* tools = window->findChild<QMenu*>(QStringLiteral("menuTools"));
    QVERIFY(tools);
    QStringList toolsEntries;
    for (QAction* a : tools->actions())
        toolsEntries << (a->isSeparator() ? QStringLiteral("-")
                         : a->menu()      ? a->menu()->objectName()
                                          : a->objectName());
    // The instrument register is edited nowhere else, so it must be reachable
    // from the menu and from the tool bar.
    QCOMPARE(toolsEntries, QStringList({"menuLanguage_Settings", "-", "actionGenerateCertificates", "-",
                                        "actionComparisonAlerts", "actionTestInstruments",
                                        "actionGlobalTestSequences", "-", "actionDownload", "actionUpload"}));
    QStringList topEntries;
    for (QAction* a : top->actions())
        topEntries << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    QCOMPARE(topEntries, QStringList({"actionDatabaseConnect", "actionImport", "actionExportDatabase", "-",
                                      "actionSchedule", "-", "actionComparisonAlerts", "actionTestInstruments",
                                      "actionGlobalTestSequences", "-", "actionDownload"}));
}

void TestMainWindow::actionStatesWithAndWithoutDatabase()
{
    auto window = newWindow();
    QAction* connectAction = findAction(window.get(), "actionDatabaseConnect");
    QAction* exportAction = findAction(window.get(), "actionExportDatabase");
    QAction* search = findAction(window.get(), "actionSchedule");
    auto* searchForm = window->findChild<QWidget*>(QStringLiteral("assetSearch"));
    QVERIFY(connectAction->isEnabled());
    QVERIFY(!exportAction->isEnabled());
    QVERIFY(!search->isEnabled());
    QVERIFY(!searchForm->isEnabled());

    const QString path = seededFile();
    QVERIFY(!path.isEmpty());
    const QString otherPath = QFileInfo(path).absolutePath() + QStringLiteral("/other.db");
    QVERIFY(SeededDatabase::createEmpty(otherPath));
    Database::setInstance(nullptr);
    auto* db = new SqliteDatabase;
    QCOMPARE(db->open(path, false), 0);
    QVERIFY(window->setDatabase(db));
    QCOMPARE(Database::instance(), db);
    QCOMPARE(window->windowTitle(), QStringLiteral("Tavisk Pelvane - %1").arg(path));
    QVERIFY(exportAction->isEnabled());
    QVERIFY(search->isEnabled());
    QVERIFY(searchForm->isEnabled());

    // The browser shows the new database: its node selected, the clients under it.
    auto* tree = window->findChild<QTreeView*>(QStringLiteral("assetTreeView"));
    QVERIFY(tree->isHeaderHidden());
    const QModelIndex databaseNode = tree->model()->index(0, 0);
    QCOMPARE(databaseNode.data().toString(), QStringLiteral("site.db"));
    QStringList children;
    for (int row = 0; row < tree->model()->rowCount(databaseNode); ++row)
        children << tree->model()->index(row, 0, databaseNode).data().toString();
    QVERIFY2(children.contains(QStringLiteral("Acme Health")), qPrintable(children.join(',')));
    QVERIFY(children.contains(QStringLiteral("Recycled")));
    QCOMPARE(tree->selectionModel()->selectedIndexes().value(0), databaseNode);

    // Search turns to the search tab.
    search->trigger();
    auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("assetTabWidget"));
    QCOMPARE(tabs->currentWidget()->objectName(), QStringLiteral("searchTab"));

    // A second database replaces the first as a whole.
    QPointer<Database> first(db);
    QPointer<QAbstractItemModel> firstTree(tree->model());
    auto* second = new SqliteDatabase;
    QCOMPARE(second->open(otherPath, false), 0);
    window->setDatabase(second);
    QVERIFY(first.isNull());
    QVERIFY(firstTree.isNull());
    QCOMPARE(tree->model()->index(0, 0).data().toString(), QStringLiteral("other.db"));
    QCOMPARE(tree->model()->rowCount(tree->model()->index(0, 0)), 1);  // only Recycled
    QCOMPARE(window->windowTitle(), QStringLiteral("Tavisk Pelvane - %1").arg(otherPath));

    // A lower layer turns the actions off through the registered hook.
    TestEnvironment::clearSettings();
    QVERIFY(Database::openFromSettings() == nullptr);  // nothing stored
    QVERIFY(!exportAction->isEnabled());
    QVERIFY(!search->isEnabled());
    QVERIFY(!searchForm->isEnabled());
}

void TestMainWindow::createDatabaseFromConnectDialog()
{
    auto window = newWindow();
    const QString path = TestEnvironment::instance()->newFolder(QStringLiteral("new")) + QStringLiteral("/fresh.db");
    QString startFolder;
    m_answerer->answerNext([](QWidget* w) { pressLater(w, "createSQLiteBtn"); });
    // The user types the name without a suffix; the file gets the one that
    // "Open" looks for.
    m_answerer->answerNext(chooseFile(path.chopped(3), &startFolder));
    findAction(window.get(), "actionDatabaseConnect")->trigger();

    QCOMPARE(m_answerer->seen().at(0).className, QStringLiteral("DialogConnection"));
    QCOMPARE(m_answerer->seen().at(0).title, QStringLiteral("Connect to Database"));
    QCOMPARE(m_answerer->seen().at(1).title, QStringLiteral("Save SQLite Database"));
    QCOMPARE(startFolder, QStringLiteral("%1/Tavisk/Pelvane V2/Databases").arg(
                              QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)));
    QVERIFY(QFile::exists(path));
    QVERIFY(Database::instance());
    QVERIFY(Database::instance()->checkSchema());
    QCOMPARE(window->windowTitle(), QStringLiteral("Tavisk Pelvane - %1").arg(path));
    QVERIFY(findAction(window.get(), "actionExportDatabase")->isEnabled());
    // Success stored the dialog's entries, the chosen file among them.
    QVERIFY(QSettings().contains(DialogConnection::settingsKey));

    window->close();
    QSettings settings;
    QCOMPARE(settings.value(QStringLiteral("db/current/type")).toInt(), 0);
    QCOMPARE(settings.value(QStringLiteral("db/current/fileName")).toString(), path);
    QVERIFY(!settings.contains(QStringLiteral("db/current/host")));
}

void TestMainWindow::openExistingDatabaseAndCancelledFileDialog()
{
    auto window = newWindow();
    const QString path = seededFile();

    // A cancelled file dialog leaves the dialog open; Escape then closes it
    // without storing anything.
    m_answerer->answerNext([](QWidget* w) { pressLater(w, "openSQLiteBtn"); });
    m_answerer->answerNext([](QWidget* w) {
        chooseFile(QString())(w);
        QWidget* connection = w->parentWidget();
        QTimer::singleShot(0, connection, [connection] { QTest::keyClick(connection, Qt::Key_Escape); });
    });
    findAction(window.get(), "actionDatabaseConnect")->trigger();
    QCOMPARE(m_answerer->count(), 2);
    QVERIFY(!Database::instance());
    QVERIFY(!QSettings().contains(DialogConnection::settingsKey));

    m_answerer->clear();
    m_answerer->answerNext([](QWidget* w) { pressLater(w, "openSQLiteBtn"); });
    m_answerer->answerNext(chooseFile(path));
    findAction(window.get(), "actionDatabaseConnect")->trigger();
    QCOMPARE(m_answerer->count(), 2);
    QVERIFY(Database::instance());
    QCOMPARE(window->windowTitle(), QStringLiteral("Tavisk Pelvane - %1").arg(path));
}

void TestMainWindow::exportAddsTheScriptSuffixToANameWithoutOne()
{
    const QString path = seededFile();
    QSettings().setValue(QStringLiteral("db/current/type"), 0);
    QSettings().setValue(QStringLiteral("db/current/fileName"), path);
    auto window = newWindow();
    QVERIFY(Database::instance());
    const QString folder = TestEnvironment::instance()->newFolder(QStringLiteral("export"));

    // As typed, "export" was written without a suffix, where New adds ".db".
    m_answerer->answerNext(chooseFile(folder + QStringLiteral("/export")));
    findAction(window.get(), "actionExportDatabase")->trigger();
    QCOMPARE(m_answerer->last().title, QStringLiteral("Export Database"));
    QVERIFY(!QFile::exists(folder + QStringLiteral("/export")));
    QVERIFY(QFileInfo(folder + QStringLiteral("/export.sql")).size() > 0);

    // A suffix the user typed is kept.
    m_answerer->answerNext(chooseFile(folder + QStringLiteral("/notes.txt")));
    findAction(window.get(), "actionExportDatabase")->trigger();
    QVERIFY(QFileInfo(folder + QStringLiteral("/notes.txt")).size() > 0);
    QVERIFY(!QFile::exists(folder + QStringLiteral("/notes.txt.sql")));

    PermissionsEnforced enforced; // a folder the user may not write to is told at once
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    m_answerer->answerNext(chooseFile(folder + QStringLiteral("/locked.sql")));
    findAction(window.get(), "actionExportDatabase")->trigger();
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(m_answerer->last().icon, int(QMessageBox::Warning));
    QVERIFY(m_answerer->last().text.contains(folder + QStringLiteral("/locked.sql")));
}

void TestMainWindow::connectToMariaDbThroughDialog()
{
    PELVANE_REQUIRE_MARIADB();
    const ConnectionSettings server = MariaDbServer::settings(MariaDbServer::uniqueName(QStringLiteral("window")));
    auto dropLater = qScopeGuard([&server] { MariaDbServer::dropDatabase(server.databaseName); });

    auto window = newWindow();
    m_answerer->answerNext([&server](QWidget* w) {
        fillMySqlTab(w, server, true);
        pressLater(w, "mySqlConnectBtn");
    });
    findAction(window.get(), "actionDatabaseConnect")->trigger();

    QVERIFY2(Database::instance(), "the connection failed");
    QCOMPARE(Database::instance()->type(), int(DatabaseMySql));
    QCOMPARE(window->windowTitle(),
             QStringLiteral("Tavisk Pelvane - %1 (MySQL) on %2").arg(server.databaseName, server.host));

    window->close();
    QSettings settings;
    QCOMPARE(settings.value(QStringLiteral("db/current/type")).toInt(), 2);
    QCOMPARE(settings.value(QStringLiteral("db/current/dbName")).toString(), server.databaseName);
    QVERIFY(!Database::instance());
}

void TestMainWindow::downloadFillsTheTree()
{
    SimulatedInstrument instrument;
    QVERIFY(instrument.isValid());
    SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder(QStringLiteral("dl")) + QStringLiteral("/dl.db"));
    Database* db = Database::instance();
    QVERIFY(db);
    auto window = newWindow();
    QAction* download = findAction(window.get(), "actionDownload");
    QVERIFY(download->isVisible());
    QVERIFY(!download->isEnabled());
    window->setDatabase(db);
    QVERIFY(download->isEnabled());

    // From a port that cannot be opened the port's message is the whole
    // outcome: a report of zeros would read as an empty download that worked.
    m_answerer->answerNext([](QWidget* w) {
        auto* ports = w->findChild<QComboBox*>(QStringLiteral("comPorts"));
        ports->addItem(QStringLiteral("/dev/pelvane-no-such-port"), QStringLiteral("/dev/pelvane-no-such-port"));
        ports->setCurrentIndex(ports->count() - 1);
        qobject_cast<QDialog*>(w)->accept();
    });
    download->trigger();
    QCOMPARE(m_answerer->count(), 2);
    QVERIFY(m_answerer->last().text.startsWith(QStringLiteral("The serial port /dev/pelvane-no-such-port ")));
    m_answerer->clear();
    // So is the lost line's when it went before anything came.
    auto lost = std::make_unique<SimulatedInstrument>();
    m_answerer->answerNext([&](QWidget* w) { choosePortThenSend(w, lost->portName(), window.get(), [&] { lost.reset(); }); });
    download->trigger();
    QCOMPARE(m_answerer->count(), 2);
    QVERIFY(m_answerer->last().text.startsWith(QStringLiteral("The connection to the tester on ")));
    m_answerer->clear();

    const QDateTime tested(QDate(2026, 1, 10), QTime(9, 30));
    const QList<QByteArray> records = {InstrumentRecords::header(2),
                                       InstrumentRecords::asset(QStringLiteral("Pump"), tested, 1, {{1, 0.10f}}),
                                       InstrumentRecords::asset(QStringLiteral("Lamp"), tested, 2, {{2, 0.90f}}),
                                       InstrumentRecords::end()};
    int acked = 0;
    QString title;
    m_answerer->answerNext([&](QWidget* w) {
        title = w->windowTitle();
        choosePortThenSend(w, instrument.portName(), window.get(),
                           [&] { acked = sendAcknowledged(instrument, records); });
    });
    QStringList report;
    m_answerer->answerNext([&report](QWidget* w) {
        for (QLabel* label : w->findChildren<QLabel*>())
            report << label->text();
        qobject_cast<QDialog*>(w)->accept();
    });
    download->trigger();

    QCOMPARE(title, QStringLiteral("Download from Tester"));
    QCOMPARE(acked, records.size());
    QCOMPARE(m_answerer->count(), 2);
    QCOMPARE(m_answerer->last().className, QStringLiteral("DialogDownloadReport"));
    QVERIFY(!report.isEmpty());

    // The new client, site and location appear in the tree.
    auto* tree = window->findChild<QTreeView*>(QStringLiteral("assetTreeView"));
    const QModelIndex databaseNode = tree->model()->index(0, 0);
    QModelIndex client;
    for (int row = 0; row < tree->model()->rowCount(databaseNode); ++row) {
        const QModelIndex child = tree->model()->index(row, 0, databaseNode);
        if (child.data().toString() == QStringLiteral("Harbour Hospital"))
            client = child;
    }
    QVERIFY(client.isValid());
    const QModelIndex site = tree->model()->index(0, 0, client);
    QCOMPARE(site.data().toString(), QStringLiteral("East Wing"));
    QCOMPARE(tree->model()->index(0, 0, site).data().toString(), QStringLiteral("Ward 7"));
}

void TestMainWindow::dialogRemembersEntriesButNeverPasswords()
{
    {
        DialogConnection first;
        first.findChild<QTabWidget*>(QStringLiteral("tabWidget"))->setCurrentIndex(1);
        first.findChild<QComboBox*>(QStringLiteral("msHostName"))->setEditText(QStringLiteral("SERVER\\SQLEXPRESS"));
        first.findChild<QComboBox*>(QStringLiteral("msDatabaseName"))->setEditText(QStringLiteral("assets"));
        first.findChild<QComboBox*>(QStringLiteral("msUserName"))->setEditText(QStringLiteral("tester"));
        first.findChild<QLineEdit*>(QStringLiteral("msPassword"))->setText(QStringLiteral("s3cret-ms"));
        first.findChild<QCheckBox*>(QStringLiteral("useNtSecurity"))->setChecked(true);
        first.findChild<QComboBox*>(QStringLiteral("myHostName"))->setEditText(QStringLiteral("db.example"));
        first.findChild<QLineEdit*>(QStringLiteral("myPassword"))->setText(QStringLiteral("s3cret-my"));
        first.accept();
    }
    const QByteArray blob = QSettings().value(DialogConnection::settingsKey).toByteArray();
    QVERIFY(!blob.isEmpty());
    for (const QString& secret : {QStringLiteral("s3cret-ms"), QStringLiteral("s3cret-my")}) {
        QByteArray utf16;
        {
            QDataStream out(&utf16, QIODevice::WriteOnly);
            out << secret;
        }
        QVERIFY(!blob.contains(utf16.mid(4)));
        QVERIFY(!blob.contains(secret.toUtf8()));
    }

    {
        DialogConnection second;
        QCOMPARE(second.findChild<QTabWidget*>(QStringLiteral("tabWidget"))->currentIndex(), 1);
        auto* host = second.findChild<QComboBox*>(QStringLiteral("msHostName"));
        QCOMPARE(host->currentText(), QStringLiteral("SERVER\\SQLEXPRESS"));
        QVERIFY(second.findChild<QCheckBox*>(QStringLiteral("useNtSecurity"))->isChecked());
        QVERIFY(second.findChild<QLineEdit*>(QStringLiteral("msPassword"))->text().isEmpty());
        QCOMPARE(second.findChild<QComboBox*>(QStringLiteral("myHostName"))->currentText(),
                 QStringLiteral("db.example"));

        // A new host joins the history; the one used before is not added twice.
        host->setEditText(QStringLiteral("OTHER"));
        second.accept();
    }
    DialogConnection third;
    auto* host = third.findChild<QComboBox*>(QStringLiteral("msHostName"));
    QCOMPARE(host->currentText(), QStringLiteral("OTHER"));
    QStringList items;
    for (int i = 0; i < host->count(); ++i)
        items << host->itemText(i);
    QCOMPARE(items, (QStringList{QStringLiteral("SERVER\\SQLEXPRESS"), QStringLiteral("OTHER")}));
}

void TestMainWindow::windowStateAndDatabaseRestoredAtNextStart()
{
    const QString path = seededFile();
    for (double& value : AlertThresholds::values)
        value = 0;
    AlertThresholds::values[AlertThresholds::LeakageRelative] = 0.25;
    QByteArray geometry;
    {
        auto window = newWindow();
        auto* db = new SqliteDatabase;
        QCOMPARE(db->open(path, false), 0);
        window->setDatabase(db);
        // Kept at once, as the language is.
        QCOMPARE(QSettings().value(QStringLiteral("db/current/fileName")).toString(), path);
        window->resize(900, 640);
        auto* details = window->findChild<QDockWidget*>(QStringLiteral("assetDetailsDock"));
        window->addDockWidget(Qt::TopDockWidgetArea, details);
        geometry = window->saveGeometry();
        window->close();
        QVERIFY(!Database::instance());
    }
    AlertThresholds::values[AlertThresholds::LeakageRelative] = 0;
    QSettings settings;
    QCOMPARE(settings.value(QStringLiteral("db/current/fileName")).toString(), path);
    QCOMPARE(settings.value(QStringLiteral("win/MainWindowGeometry")).toByteArray(), geometry);

    auto window = newWindow();
    QVERIFY(Database::instance());
    QCOMPARE(window->windowTitle(), QStringLiteral("Tavisk Pelvane - %1").arg(path));
    QCOMPARE(window->size(), QSize(900, 640));
    QCOMPARE(window->dockWidgetArea(window->findChild<QDockWidget*>(QStringLiteral("assetDetailsDock"))),
             Qt::TopDockWidgetArea);
    QVERIFY(findAction(window.get(), "actionExportDatabase")->isEnabled());
    QCOMPARE(AlertThresholds::values[AlertThresholds::LeakageRelative], 0.25);
    QCOMPARE(m_answerer->count(), 0);
}

void TestMainWindow::foreignDatabaseIsRefusedAtStart()
{
    const QString path = TestEnvironment::instance()->newFolder(QStringLiteral("foreign")) + QStringLiteral("/other.db");
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
        other.setDatabaseName(path);
        QVERIFY(other.open());
        QVERIFY(other.exec(QStringLiteral("CREATE TABLE Client (Id INTEGER)")).lastError().type() == QSqlError::NoError);
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
    QSettings().setValue(QStringLiteral("db/current/type"), 0);
    QSettings().setValue(QStringLiteral("db/current/fileName"), path);

    auto window = newWindow();
    QCOMPARE(m_answerer->count(), 1);
    QCOMPARE(m_answerer->last().className, QStringLiteral("DialogErrorMessage"));
    QVERIFY(m_answerer->last().text.contains(QStringLiteral("not a Pelvane database")));
    QVERIFY(!Database::instance());
    QCOMPARE(window->windowTitle(), QStringLiteral("Tavisk Pelvane"));
}

void TestMainWindow::languageChangeRestartsTheWindow()
{
    QList<QPointer<MainWindow>> windows;
    const int built = runApplicationLoop([this, &windows](MainWindow* window) {
        windows.append(window);
        if (windows.size() == 1) {
            m_answerer->pressNext(QStringLiteral("Yes"));
            QTimer::singleShot(0, window, [window] {
                window->findChild<QMenu*>(QStringLiteral("menuLanguage_Settings"))->actions().first()->trigger();
            });
        } else {
            QTimer::singleShot(0, window, [window] { window->close(); });
        }
    });
    QCOMPARE(built, 2);
    QCOMPARE(m_answerer->count(), 1);
    QCOMPARE(m_answerer->last().text,
             QStringLiteral("The language will be changed next time Pelvane is started. Would you like to restart now?"));
    QCOMPARE(m_answerer->last().icon, int(QMessageBox::Question));
    // Each window was released before the next pass, and the last one too.
    QVERIFY(windows.at(0).isNull());
    QVERIFY(windows.at(1).isNull());
    QVERIFY(!MainWindow::instance());
    QCOMPARE(QSettings().value(QStringLiteral("language/translation")).toString(), kEnglish);

    // No keeps the window as it is.
    auto window = newWindow();
    m_answerer->pressNext(QStringLiteral("No"));
    window->findChild<QMenu*>(QStringLiteral("menuLanguage_Settings"))->actions().first()->trigger();
    QVERIFY(window->isVisible());
    QVERIFY(!window->restartRequested());
}

void TestMainWindow::restartRebuildsTheElementCatalogue()
{
    QCOMPARE(Ux::TsqTestElementDetails::testName(17), QStringLiteral("Earth Bond"));
    // The language of the next window.
    MarkingTranslator german;
    QCoreApplication::installTranslator(&german);
    const int built = runApplicationLoop([](MainWindow* window) {
        QTimer::singleShot(0, window, [window] { window->close(); });
    });
    QCOMPARE(built, 1);
    const QString name = Ux::TsqTestElementDetails::testName(17);
    QCoreApplication::removeTranslator(&german);
    QCOMPARE(name, QStringLiteral("Neu: Earth Bond"));
}

void TestMainWindow::firstStartShowsEveryFieldWhole_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::newRow("larger than the window needs") << QSize(1600, 1200);
    QTest::newRow("laptop") << QSize(1280, 800);
    QTest::newRow("small") << QSize(1024, 768);
}

void TestMainWindow::firstStartShowsEveryFieldWhole()
{
    QFETCH(QSize, screen);
    // A first start: nothing stored but the database (and the language).
    // The platform gives the window a frame.
    const QString folder = TestEnvironment::instance()->newFolder(QStringLiteral("screen"));
    QFile config(folder + QStringLiteral("/screen.json"));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(QStringLiteral(R"({"windowFrameMargins": true, "screens": [{"name": "s", "x": 0, "y": 0, )"
                                R"("width": %1, "height": %2, "dpi": 96, "dpr": 1}]})")
                     .arg(screen.width())
                     .arg(screen.height())
                     .toUtf8());
    config.close();
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config.fileName()));
    const ChildResult r = runChildScenario(QStringLiteral("firstStart"), {seededFile()});
    qputenv("QT_QPA_PLATFORM", platform);
    QVERIFY(!r.crashed);
    QVERIFY2(r.exitCode == 0, r.output.right(2000).constData());
}

void TestMainWindow::aboutBoxShowsVersion()
{
    auto window = newWindow();
    QString text;
    QString credit;
    m_answerer->answerNext([&text, &credit](QWidget* w) {
        text = w->findChild<QLabel*>(QStringLiteral("labelAbout"))->text();
        credit = w->findChild<QLabel*>(QStringLiteral("label"))->text();
        qobject_cast<QDialog*>(w)->accept();
    });
    findAction(window.get(), "actionAbout")->trigger();
    QCOMPARE(m_answerer->last().title, QStringLiteral("About Pelvane"));
    // The release, then the commit count of a build made with its history (in the build folder).
    QProcess git;
    git.start("git", {"rev-list", "--count", "HEAD"});
    const QString count = git.waitForFinished() && git.exitCode() == 0 ? git.readAll().trimmed() : QString();
    QVERIFY2(text.startsWith("Pelvane version 2.0.038" + (count.isEmpty() ? "" : "." + count) + "\n"), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Copyright")));
    QVERIFY(!credit.isEmpty());
}

PELVANE_TEST_MAIN(TestMainWindow)
#include "TestMainWindow.moc"
