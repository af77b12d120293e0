#include "AssetFixture.h"
#include "assets/AssetQueryModel.h"
#include "assets/AssetManager.h"
#include "assets/AssetTableView.h"
#include "database/MySqlDatabase.h"
#include "core/DateFormat.h"
#include "database/PagedQueryModel.h"
#include "support/MariaDbServer.h"

#include <QAction>
#include <QDataStream>
#include <QProcess>
#include <QHeaderView>
#include <QSettings>
#include <QtTest>
#include <functional>

using Criteria = std::function<void(SearchFields&)>;
Q_DECLARE_METATYPE(Criteria)
using Show = std::function<void(AssetTableView&)>;
Q_DECLARE_METATYPE(Show)

namespace {
QSqlDatabase otherWorkstation(const QString& backEnd, const QString& name)
{
    if (backEnd == "mysql") {
        QString why;
        MariaDbServer::reachable(&why);
        return MariaDbServer::connection("other workstation", name);
    }
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other workstation");
    db.setDatabaseName(name);
    db.open();
    return db;
}
} // namespace

// Another workstation adds args[2] assets whose names sort before every
// listed one, into the listed location 90. Arguments: "sqlite" or "mysql",
// file or database name, count.
PELVANE_CHILD_SCENARIO(addAssetsFirst)
{
    QSqlQuery insert(otherWorkstation(args.value(0), args.value(1)));
    for (int i = 0; i < args.value(2).toInt(); ++i) {
        if (!insert.exec(QString("INSERT INTO Asset (Name,LocationId) VALUES ('A first %1',90)").arg(i)))
            return 2;
    }
    return 0;
}

// Another program holds the file for writing until args[1] appears.
PELVANE_CHILD_SCENARIO(holdFile)
{
    QSqlQuery hold(otherWorkstation("sqlite", args.value(0)));
    if (!hold.exec("BEGIN EXCLUSIVE"))
        return 2;
    std::printf("held\n");
    std::fflush(stdout);
    while (!QFile::exists(args.value(1)))
        QThread::msleep(10);
    return hold.exec("ROLLBACK") ? 0 : 3;
}

class TestAssetTableView : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void listsOfEachNodeAndTheBin();
    void searchCriteria_data();
    void searchCriteria();
    void sortByHeaderClick();
    void selectionFollowsTheList();
    void columnLayoutSavedAndRestored();
    void idleListLetsAnotherProgramCommit_data();
    void idleListLetsAnotherProgramCommit();
    void rowsInOrderAcrossPages_data();
    void rowsInOrderAcrossPages();
    void rowsKeepTheirAssetsWhileAnotherWorkstationAdds_data();
    void rowsKeepTheirAssetsWhileAnotherWorkstationAdds();
    void scrollingBackOverAHeldFileIsNotFatal();
    void refusedReaderConnectionIsNotFatal_data();
    void refusedReaderConnectionIsNotFatal();

private:
    QList<int> ids() const;
    QList<int> scrolledThrough();
    QStringList column(int c) const;

    SqliteDatabase* m_db = nullptr;
    std::unique_ptr<AssetQueryModel> m_model;
    std::unique_ptr<AssetTableView> m_view;
};

void TestAssetTableView::init()
{
    PagedQueryModel::listWaitMs = 10000; // the checks look at a list as soon as it is asked for
    TestEnvironment::clearSettings();
    m_db = newSeededDatabase();
    QVERIFY(m_db);
    m_model = std::make_unique<AssetQueryModel>();
    m_view = std::make_unique<AssetTableView>();
    m_view->setup(m_model.get());
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionModel(new QItemSelectionModel(m_model.get(), m_view.get()));
}

void TestAssetTableView::cleanup()
{
    m_view.reset();
    m_model.reset();
    Database::setInstance(nullptr);
}

QList<int> TestAssetTableView::ids() const
{
    QList<int> result;
    for (int r = 0; r < m_model->rowCount(); ++r)
        result << m_model->index(r, 0).data().toInt();
    return result;
}

QStringList TestAssetTableView::column(int c) const
{
    QStringList result;
    for (int r = 0; r < m_model->rowCount(); ++r)
        result << m_model->index(r, c).data().toString();
    return result;
}

void TestAssetTableView::listsOfEachNodeAndTheBin()
{
    m_view->showAllAssets();
    QCOMPARE(ids(), QList<int>({1, 2, 3, 4, 5}));
    const QStringList headers = {"Status", "Name", "Description", "Last Test", "Retest Date", "Deleted Location"};
    for (int c = 1; c < 7; ++c)
        QCOMPARE(m_model->headerData(c, Qt::Horizontal).toString(), headers.at(c - 1));
    QVERIFY(m_view->isColumnHidden(0));
    QVERIFY(m_view->isColumnHidden(6));
    QCOMPARE(column(1), QStringList({"1", "2", "5", "1", ""}));
    const QStringList tips = {"Pass", "Fail", "Alert", "Pass", ""};
    for (int r = 0; r < 5; ++r)
        QCOMPARE(m_model->index(r, 1).data(Qt::ToolTipRole).toString(), tips.at(r));

    m_view->showLocationAssets(1);
    QCOMPARE(ids(), QList<int>({1, 2}));
    QCOMPARE(displayDate(m_model->index(0, 4).data()), QString("10/03/2026"));
    QCOMPARE(displayDate(m_model->index(0, 5).data()), QString("10/03/2027"));
    QCOMPARE(displayDate(m_model->index(1, 4).data()), QString("11/03/2026"));
    m_view->showSiteAssets(1);
    QCOMPARE(ids(), QList<int>({1, 2, 3}));
    // South holds the recycled scale too; it stays in the bin.
    m_view->showSiteAssets(2);
    QCOMPARE(ids(), QList<int>({4}));
    m_view->showClientAssets(1);
    QCOMPARE(ids(), QList<int>({1, 2, 3, 4}));
    m_view->showLocationAssets(99);
    QCOMPARE(m_model->rowCount(), 0);

    m_view->showRecycledAssets();
    QCOMPARE(ids(), QList<int>({6}));
    QCOMPARE(m_model->index(0, 6).data().toString(), QString("Acme Health / South / Theatre"));
    QVERIFY(m_view->isColumnHidden(4));
    QVERIFY(m_view->isColumnHidden(5));
    QVERIFY(!m_view->isColumnHidden(6));
    m_view->showLocationAssets(3);
    QVERIFY(!m_view->isColumnHidden(4));
    QVERIFY(m_view->isColumnHidden(6));
}

void TestAssetTableView::searchCriteria_data()
{
    QTest::addColumn<Criteria>("set");
    QTest::addColumn<QList<int>>("expected");
    const auto row = [](const char* name, Criteria set, const QList<int>& expected) {
        QTest::newRow(name) << set << expected;
    };
    row("nothing set lists the bin too", [](SearchFields&) {}, {1, 2, 3, 4, 5, 6});
    row("name without wildcard is exact", [](SearchFields& f) { f.assetName = "Pump"; }, {});
    row("name with wildcard", [](SearchFields& f) { f.assetName = "Pump%"; }, {1, 2});
    row("description", [](SearchFields& f) { f.description = "Patient monitor"; }, {3, 4});
    row("client", [](SearchFields& f) { f.client = "Acme%"; }, {1, 2, 3, 4, 6});
    row("site", [](SearchFields& f) { f.site = "Main"; }, {5});
    row("location", [](SearchFields& f) { f.location = "Ward%"; }, {1, 2, 3});
    row("manufacturer", [](SearchFields& f) { f.manufacturer = "Cardia"; }, {3, 4, 6});
    row("equipment serial number", [](SearchFields& f) { f.serialNo = "EQ-2"; }, {3, 4, 6});
    row("service code and model", [](SearchFields& f) { f.serviceCode = "SC-00%"; f.model = "M5"; }, {3, 4, 6});
    row("status pass", [](SearchFields& f) { f.overallStatus = 1; }, {1, 4});
    row("status alert", [](SearchFields& f) { f.overallStatus = 5; }, {3});
    row("status deleted is not no result", [](SearchFields& f) { f.overallStatus = 0; }, {});
    row("retest from", [](SearchFields& f) { f.retestDateFrom = QDate(2027, 1, 1); }, {1, 2});
    row("retest to", [](SearchFields& f) { f.retestDateTo = QDate(2026, 12, 31); }, {3, 4});
    // Asset 3 is due at 09:30 on 12/09/2026: a "to" bound takes in the whole day.
    row("retest on one day", [](SearchFields& f) { f.retestDateFrom = f.retestDateTo = QDate(2026, 9, 12); }, {3});
    row("retest range", [](SearchFields& f) {
        f.retestDateFrom = QDate(2026, 9, 13);
        f.retestDateTo = QDate(2026, 12, 31);
    }, {4});
}

void TestAssetTableView::searchCriteria()
{
    QFETCH(Criteria, set);
    QFETCH(QList<int>, expected);
    SearchFields fields;
    set(fields);
    m_view->showSearchResults(fields);
    QCOMPARE(ids(), expected);
    QVERIFY(m_view->showsSearchResults());
    QVERIFY(m_view->isColumnHidden(6));
}

void TestAssetTableView::sortByHeaderClick()
{
    m_view->resize(800, 300);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    m_view->showAllAssets();
    QHeaderView* header = m_view->horizontalHeader();
    const QPoint name(header->sectionViewportPosition(2) + 5, header->height() / 2);

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, name);
    QCOMPARE(m_model->sortColumn(), 2);
    const QStringList ascending = {"Desk lamp", "Monitor A", "Monitor B", "Pump 1", "Pump 2"};
    const QStringList first = column(2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, name);
    const QStringList second = column(2);
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    // The first click's direction is the header's; the second reverses it.
    QVERIFY((first == ascending && second == descending) || (first == descending && second == ascending));

    // Sorting by the last test date: the asset without results comes first ascending.
    m_model->sort(4, Qt::AscendingOrder);
    QCOMPARE(ids(), QList<int>({5, 1, 2, 3, 4}));
    // The list stays the node's list, or the search, when re-sorted.
    m_view->showLocationAssets(1);
    m_model->sort(2, Qt::DescendingOrder);
    QCOMPARE(ids(), QList<int>({2, 1}));
    SearchFields f;
    f.manufacturer = "Cardia";
    m_view->showSearchResults(f);
    m_model->sort(2, Qt::DescendingOrder);
    QVERIFY(m_view->showsSearchResults());
    QCOMPARE(column(2), QStringList({"Old scale", "Monitor B", "Monitor A"}));
    m_view->showAllAssets();
    QVERIFY(!m_view->showsSearchResults());
}

void TestAssetTableView::selectionFollowsTheList()
{
    m_view->showAllAssets();
    m_view->selectAsset(3);
    QCOMPARE(m_view->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(m_view->selectionModel()->selectedRows().first().row(), 2);
    m_view->selectAsset(77); // not listed: the selection stays
    QCOMPARE(m_view->selectionModel()->selectedRows().size(), 1);
    m_view->selectAsset(0);
    QVERIFY(m_view->selectionModel()->selectedRows().isEmpty());

    // A new list signals the deselection; the ids must be read while it is delivered.
    m_view->selectAsset(2);
    QList<int> deselectedIds;
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [&](const QItemSelection&, const QItemSelection& deselected) {
                for (const QModelIndex& i : deselected.indexes())
                    if (i.column() == 0)
                        deselectedIds << i.data().toInt();
            });
    m_view->showRecycledAssets();
    QCOMPARE(deselectedIds, QList<int>({2}));
    QVERIFY(m_view->selectionModel()->selectedRows().isEmpty());

    // An updated asset is reloaded and selected again.
    m_view->showLocationAssets(1);
    SqlQuery rename;
    rename.exec("UPDATE Asset SET Name='Pump 1b' WHERE Id=1");
    QVERIFY(m_view->assetUpdated(1));
    QCOMPARE(column(2).first(), QString("Pump 1b"));
    QCOMPARE(m_view->selectionModel()->selectedRows().first().row(), 0);
    QCOMPARE(deselectedIds, QList<int>({2})); // read again, the list deselected nothing
    QSignalSpy dropped(m_view.get(), &AssetTableView::selectionDropped);
    rename.exec("UPDATE Asset SET LocationId=2 WHERE Id=1"); // out of the list: told as dropped
    m_view->refresh();
    QTRY_COMPARE(dropped.value(0).value(0).value<QList<int>>(), QList<int>({1}));
}

void TestAssetTableView::columnLayoutSavedAndRestored()
{
    m_view->showRecycledAssets();
    m_view->setColumnWidth(2, 210);
    m_view->setColumnWidth(6, 250);
    m_view->showAllAssets();
    m_view->setColumnWidth(4, 140);
    m_view->setColumnWidth(5, 150);
    const QByteArray state = m_view->saveState();
    // Seven widths, the recycle bin's column among them though hidden here.
    QCOMPARE(state.size(), 28);
    QSettings().setValue("win/AssetTableView", state);

    AssetQueryModel model;
    AssetTableView view;
    view.restoreState(state); // no model yet: nothing happens
    view.setup(&model);
    QCOMPARE(view.columnWidth(2), 210);
    QCOMPARE(view.columnWidth(5), 150);
    view.showRecycledAssets();
    QCOMPARE(view.columnWidth(6), 250);
    QCOMPARE(view.columnWidth(2), 210);
    view.showAllAssets();
    QCOMPARE(view.columnWidth(4), 140);
    QCOMPARE(view.saveState(), state);
}

void TestAssetTableView::idleListLetsAnotherProgramCommit_data()
{
    QTest::addColumn<Show>("show");
    QTest::addColumn<int>("rows");
    QTest::newRow("all assets") << Show([](AssetTableView& view) { view.showAllAssets(); }) << 1005;
    QTest::newRow("search results, the bin's too") << Show([](AssetTableView& view) {
        SearchFields fields;
        fields.assetName = QStringLiteral("%");
        view.showSearchResults(fields);
    }) << 1006;
}

// A list longer than what the view shows at first, then the window waits
// for its user: nothing of it may keep the file locked meanwhile.
void TestAssetTableView::idleListLetsAnotherProgramCommit()
{
    QFETCH(Show, show);
    QFETCH(int, rows);
    SqlQuery many;
    QVERIFY(many.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<1000) "
                      "INSERT INTO Asset (Name,LocationId) SELECT 'Bulk '||i,1 FROM n"));
    show(*m_view);
    m_view->show();
    // Shown, and its first rows read for it, as the user sees the list.
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    QTRY_VERIFY(m_model->rowCount() > 0);

    const QString failure = SeededDatabase::writtenByAnotherProgram(m_db->filePath());
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    while (m_model->canFetchMore())
        m_model->fetchMore();
    QCOMPARE(m_model->rowCount(), rows);
}

void TestAssetTableView::rowsInOrderAcrossPages_data()
{
    QTest::addColumn<bool>("mariaDb");
    QTest::newRow("SQLite") << false;
    QTest::newRow("MariaDB") << true;
}

// The view scrolled to its end, as far as the list goes.
QList<int> TestAssetTableView::scrolledThrough()
{
    QElapsedTimer waited;
    waited.start();
    while ((m_model->isReading() || m_model->canFetchMore()) && waited.elapsed() < 60000) {
        m_view->scrollToBottom();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    // Read back from the end; a server's pages come as they are asked for.
    QList<int> result;
    for (int row = m_model->rowCount() - 1; row >= 0; --row) {
        const QModelIndex name = m_model->index(row, AssetTableView::NameColumn);
        if (!QTest::qWaitFor([&name] { return name.data().isValid(); }, 5000))
            return {}; // a page that never came: one wait, not one for each of its rows
        result.prepend(m_model->index(row, 0).data().toInt());
    }
    return result;
}

// Many more rows than a page, names that repeat: every row is listed once,
// in order, however the pages fall; on SQLite far more than the pages kept.
void TestAssetTableView::rowsInOrderAcrossPages()
{
    QFETCH(bool, mariaDb);
    std::unique_ptr<MariaDbServer::ScopedDatabase> server;
    if (mariaDb) {
        PELVANE_REQUIRE_MARIADB();
        server = std::make_unique<MariaDbServer::ScopedDatabase>(QStringLiteral("pages"));
        QVERIFY(server->install());
    }
    constexpr int count = 5000;
    QStringList values;
    SqlQuery insert;
    for (int i = 1; i <= count; ++i) {
        values << QStringLiteral("('Bulk %1',%2)")
                      .arg((i * 37) % 1000, 4, 10, QLatin1Char('0'))
                      .arg(i % 97 == 0 ? QStringLiteral("'bin'") : QStringLiteral("NULL"));
        if (i % 500 == 0) {
            QVERIFY(insert.exec("INSERT INTO Asset (Name,DeletedLocation) VALUES " + values.join(',')));
            values.clear();
        }
    }
    struct Asset
    {
        int id;
        QString name;
        bool recycled;
    };
    QList<Asset> assets;
    SqlQuery read;
    QVERIFY(read.exec("SELECT Id,Name,DeletedLocation FROM Asset"));
    while (read.next())
        assets.append({read.value(0).toInt(), read.value(1).toString(), !read.value(2).isNull()});
    QVERIFY(assets.size() >= count);
    const auto expected = [&](const std::function<bool(const Asset&)>& listed, bool byNameDescending) {
        QList<Asset> rows;
        std::copy_if(assets.begin(), assets.end(), std::back_inserter(rows), listed);
        std::sort(rows.begin(), rows.end(), [&](const Asset& a, const Asset& b) {
            if (!byNameDescending)
                return a.id < b.id;
            return a.name != b.name ? a.name > b.name : a.id > b.id;
        });
        QList<int> result;
        for (const Asset& a : rows)
            result << a.id;
        return result;
    };

    m_view->resize(600, 400);
    m_view->show();
    m_view->showAllAssets();
    QCOMPARE(scrolledThrough(), expected([](const Asset& a) { return !a.recycled; }, false));
    m_model->sort(AssetTableView::NameColumn, Qt::DescendingOrder);
    const QList<int> byName = scrolledThrough();
    QCOMPARE(byName, expected([](const Asset& a) { return !a.recycled; }, true));
    // Selected again once the list is read anew, rows from the server too,
    // and in sight, after a re-sort too.
    const auto inSight = [this](int row) {
        return m_view->viewport()->rect().contains(m_view->visualRect(m_model->index(row, AssetTableView::NameColumn)));
    };
    QVERIFY(m_view->assetUpdated(byName.at(100)));
    QTRY_COMPARE(m_view->selectionModel()->selectedRows().value(0).row(), 100);
    QTRY_VERIFY(inSight(100));
    m_model->sort(AssetTableView::NameColumn, Qt::AscendingOrder);
    QTRY_COMPARE(m_view->selectionModel()->selectedRows().value(0).row(), int(byName.size()) - 101);
    QTRY_VERIFY(inSight(int(byName.size()) - 101));
    m_model->sort(AssetTableView::NameColumn, Qt::DescendingOrder);
    // A statement's own order gives way to the list's, which is whole.
    QCOMPARE(m_view->orderByClause("SELECT a.Id FROM Asset a ORDER BY x"),
             QString("SELECT a.Id FROM Asset a ORDER BY a.Name DESC,a.Id DESC"));

    SearchFields fields;
    fields.assetName = QStringLiteral("Bulk 01%");
    m_view->showSearchResults(fields);
    QCOMPARE(scrolledThrough(), expected([](const Asset& a) { return a.name.startsWith("Bulk 01"); }, true));
}

void TestAssetTableView::rowsKeepTheirAssetsWhileAnotherWorkstationAdds_data()
{
    rowsInOrderAcrossPages_data();
}

// What the user sees is what Delete acts on: row 400 stays its asset while
// another workstation adds assets before it and the pages are read again.
void TestAssetTableView::rowsKeepTheirAssetsWhileAnotherWorkstationAdds()
{
    QFETCH(bool, mariaDb);
    std::unique_ptr<MariaDbServer::ScopedDatabase> server;
    if (mariaDb) {
        PELVANE_REQUIRE_MARIADB();
        server = std::make_unique<MariaDbServer::ScopedDatabase>(QStringLiteral("keys"));
        QVERIFY(server->install());
    }
    QVERIFY(SqlQuery().exec("INSERT INTO Location (Id,Name) VALUES (90,'Store')"));
    QStringList values;
    for (int i = 0; i < 3000; ++i)
        values << QString("('Bulk %1',90)").arg(i, 4, 10, QLatin1Char('0'));
    QVERIFY(SqlQuery().exec("INSERT INTO Asset (Name,LocationId) VALUES " + values.join(',')));
    QList<QAction*> actions;
    for (int i = 0; i < AssetManager::ActionCount; ++i)
        actions << new QAction(m_view.get());
    AssetManager manager(nullptr, actions);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, &manager,
            &AssetManager::tableSelectionChanged);
    connect(&manager, &AssetManager::assetsRemoved, m_view.get(), &AssetTableView::assetsRemoved);
    const auto other = [&](int count) {
        const ChildResult added = runChildScenario(
            "addAssetsFirst", {mariaDb ? "mysql" : "sqlite", mariaDb ? server->name() : m_db->filePath(),
                               QString::number(count)});
        QCOMPARE(added.exitCode, 0);
    };
    const auto click = [&](int row, Qt::KeyboardModifiers modifiers = {}) {
        const QModelIndex cell = m_model->index(row, AssetTableView::NameColumn);
        m_view->scrollTo(cell);
        QTest::mouseClick(m_view->viewport(), Qt::LeftButton, modifiers, m_view->visualRect(cell).center());
    };
    m_view->resize(600, 400);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    m_model->sort(AssetTableView::NameColumn, Qt::AscendingOrder);
    m_view->showLocationAssets(90);
    while (m_model->canFetchMore())
        m_model->fetchMore();
    QCOMPARE(m_model->rowCount(), 3000);
    click(400);
    QCOMPARE(manager.selectedIds(), QList<int>({m_model->index(400, 0).data().toInt()}));
    other(300);
    // The user scrolls away, so that the pages held go, and back.
    m_view->scrollToBottom();
    QTRY_COMPARE(m_model->index(2999, AssetTableView::NameColumn).data().toString(), QString("Bulk 2999"));
    click(400);
    QTRY_COMPARE(m_model->index(400, AssetTableView::NameColumn).data().toString(), QString("Bulk 0400"));
    // Deleted meanwhile, an asset keeps its row, which says so once its page, held on screen, is read again.
    QVERIFY(SqlQuery().exec("DELETE FROM Asset WHERE Name='Bulk 0401'"));
    const int held = std::exchange(PagedQueryModel::heldPageMs, 0);
    QTRY_COMPARE(m_model->index(401, AssetTableView::NameColumn).data().toString(),
                 QString("deleted or moved on another workstation"));
    PagedQueryModel::heldPageMs = held;
    click(100);
    const QList<int> chosen = manager.selectedIds();
    QCOMPARE(chosen, QList<int>({m_model->index(100, 0).data().toInt()}));
    manager.removeSelectedAssets();
    QCOMPARE(scalar("SELECT COUNT(*) FROM Asset WHERE DeletedLocation IS NOT NULL AND LocationId=90").toInt(), 1);
    QCOMPARE(scalar("SELECT Name FROM Asset WHERE DeletedLocation IS NOT NULL AND Id="
                    + QString::number(chosen.first())).toString(),
             QString("Bulk 0100"));

    // Ctrl+A then Delete after the other adds more: exactly the rows listed.
    QTRY_VERIFY(!m_model->isReading());
    QCOMPARE(m_model->rowCount(), 3000 + 300 - 2); // read again: the deleted asset's row is gone
    const QList<int> listed = ids();
    other(10);
    QElapsedTimer taken;
    taken.start();
    QTest::keyClick(m_view.get(), Qt::Key_A, Qt::ControlModifier);
    const QList<int> selected = manager.selectedIds();
    QVERIFY2(taken.elapsed() < 100, qPrintable(QString::number(taken.elapsed())));
    QCOMPARE(selected.size(), listed.size());
    manager.removeSelectedAssets();
    QCOMPARE(scalar("SELECT COUNT(*) FROM Asset WHERE DeletedLocation IS NULL AND LocationId=90").toInt(), 10); // added since
}

// A page read again while another program holds the file shows empty
// cells for the moment, and its rows once the file is free.
void TestAssetTableView::scrollingBackOverAHeldFileIsNotFatal()
{
    QVERIFY(SqlQuery().exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<6000) "
                            "INSERT INTO Asset (Name) SELECT 'Bulk '||i FROM n"));
    m_view->resize(600, 400);
    m_view->show();
    m_view->showAllAssets();
    while (m_model->canFetchMore())
        m_model->fetchMore();
    // Read through to the end: the first pages are let go.
    for (int row = 0; row < m_model->rowCount(); row += PagedQueryModel::pageRows)
        QTRY_VERIFY(m_model->index(row, AssetTableView::NameColumn).data().isValid());
    const QString stop = TestEnvironment::instance()->newFolder() + "/stop";
    QProcess holder;
    startChildScenario(holder, "holdFile", {m_db->filePath(), stop});
    QVERIFY(holder.waitForReadyRead(30000));
    QElapsedTimer taken;
    taken.start();
    m_view->scrollToTop();
    const QModelIndex first = m_model->index(0, AssetTableView::NameColumn);
    QVERIFY(!first.data().isValid());
    QVERIFY2(taken.elapsed() < 1000, qPrintable(QString::number(taken.elapsed())));
    // Held past the reader's wait: the page fails, and is asked for again.
    QSignalSpy retried(m_model.get(), &QAbstractItemModel::dataChanged);
    QTRY_VERIFY(!retried.isEmpty());
    QFile(stop).open(QIODevice::WriteOnly);
    QCOMPARE(finishChildScenario(holder).exitCode, 0);
    QTRY_COMPARE(first.data().toString(), QString("Pump 1"));
}

void TestAssetTableView::refusedReaderConnectionIsNotFatal_data()
{
    rowsInOrderAcrossPages_data();
}

// A login allowed one connection, a server at its limit: the database
// refuses the list's reader the connection it asks for, as it does a
// file it cannot open or a wrong password. The list is read on the
// window's connection.
void TestAssetTableView::refusedReaderConnectionIsNotFatal()
{
    QFETCH(bool, mariaDb);
    std::unique_ptr<MariaDbServer::ScopedDatabase> server;
    if (mariaDb) {
        PELVANE_REQUIRE_MARIADB();
        server = std::make_unique<MariaDbServer::ScopedDatabase>(QStringLiteral("one"));
        QVERIFY(server->install());
    }
    QVERIFY(SqlQuery().exec("INSERT INTO Asset (Name) VALUES ('Zz listed')"));
    QSqlDatabase& window = Database::instance()->connection();
    if (mariaDb)
        window.setPassword("refused");
    else
        window.setDatabaseName(TestEnvironment::instance()->newFolder() + "/no such folder/file.db");
    m_model->sort(AssetTableView::NameColumn, Qt::DescendingOrder);
    m_view->showAllAssets();
    QTRY_VERIFY(!m_model->isReading());
    QVERIFY(m_model->rowCount() > 0);
    QCOMPARE(m_model->index(0, AssetTableView::NameColumn).data().toString(), QString("Zz listed"));
}

PELVANE_TEST_MAIN(TestAssetTableView)
#include "TestAssetTableView.moc"
