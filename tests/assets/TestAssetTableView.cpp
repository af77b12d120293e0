#include "AssetFixture.h"
#include "assets/AssetQueryModel.h"
#include "assets/AssetTableView.h"
#include "core/DateFormat.h"

#include <QDataStream>
#include <QHeaderView>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

class TestAssetTableView : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void allAssetsColumnsAndHeaders();
    void listsOfEachNode();
    void recycleBinShowsDeletedLocation();
    void statusToolTip();
    void datesReadDayMonthYear();
    void searchCriteria_data();
    void searchCriteria();
    void retestDateToIncludesWholeDay();
    void sortByHeaderClick();
    void searchStaysSearchWhenSorted();
    void orderByClauseReplacesTail();
    void newListSignalsDeselection();
    void selectAssetById();
    void removedAndRestoredAssets();
    void updatedAssetIsReselected();
    void columnLayoutSavedAndRestored();
    void storedWidthsOutOfRangeBecomeDefault();

private:
    QList<int> ids() const;
    QStringList column(int c) const;

    SqliteDatabase* m_db = nullptr;
    std::unique_ptr<AssetQueryModel> m_model;
    std::unique_ptr<AssetTableView> m_view;
};

void TestAssetTableView::init()
{
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

void TestAssetTableView::allAssetsColumnsAndHeaders()
{
    m_view->showAllAssets();
    QCOMPARE(ids(), QList<int>({1, 2, 3, 4, 5}));
    QCOMPARE(m_model->columnCount(), 7);
    const QStringList headers = {"Status", "Name", "Description", "Last Test", "Retest Date", "Deleted Location"};
    for (int c = 1; c < 7; ++c)
        QCOMPARE(m_model->headerData(c, Qt::Horizontal).toString(), headers.at(c - 1));
    QVERIFY(m_view->isColumnHidden(0));
    QVERIFY(!m_view->isColumnHidden(4));
    QVERIFY(!m_view->isColumnHidden(5));
    QVERIFY(m_view->isColumnHidden(6));
    QVERIFY(!m_view->showsSearchResults());
    QVERIFY(m_view->isSortingEnabled());
}

void TestAssetTableView::listsOfEachNode()
{
    m_view->showLocationAssets(1);
    QCOMPARE(ids(), QList<int>({1, 2}));
    m_view->showSiteAssets(1);
    QCOMPARE(ids(), QList<int>({1, 2, 3}));
    // South holds the recycled scale too; it stays in the bin.
    m_view->showSiteAssets(2);
    QCOMPARE(ids(), QList<int>({4}));
    m_view->showClientAssets(1);
    QCOMPARE(ids(), QList<int>({1, 2, 3, 4}));
    m_view->showClientAssets(2);
    QCOMPARE(column(2), QStringList({"Desk lamp"}));
    m_view->showLocationAssets(99);
    QCOMPARE(m_model->rowCount(), 0);
}

void TestAssetTableView::recycleBinShowsDeletedLocation()
{
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

void TestAssetTableView::statusToolTip()
{
    m_view->showAllAssets();
    const QStringList tips = {"Pass", "Fail", "Alert", "Pass", ""};
    for (int r = 0; r < 5; ++r)
        QCOMPARE(m_model->index(r, 1).data(Qt::ToolTipRole).toString(), tips.at(r));
    QCOMPARE(m_model->index(0, 2).data(Qt::ToolTipRole).toString(), QString());
    QCOMPARE(m_model->index(0, 1).data(Qt::DisplayRole).toInt(), 1);
}

void TestAssetTableView::datesReadDayMonthYear()
{
    m_view->showLocationAssets(1);
    QCOMPARE(displayDate(m_model->index(0, 4).data()), QString("10/03/2026"));
    QCOMPARE(displayDate(m_model->index(0, 5).data()), QString("10/03/2027"));
    QCOMPARE(displayDate(m_model->index(1, 4).data()), QString("11/03/2026"));
}

void TestAssetTableView::searchCriteria_data()
{
    QTest::addColumn<SearchFields>("fields");
    QTest::addColumn<QList<int>>("expected");
    SearchFields f;
    QTest::newRow("nothing set lists the bin too") << f << QList<int>({1, 2, 3, 4, 5, 6});
    f.assetName = "Pump";
    QTest::newRow("name without wildcard is exact") << f << QList<int>();
    f.assetName = "Pump%";
    QTest::newRow("name with wildcard") << f << QList<int>({1, 2});
    f = SearchFields();
    f.assetName = "%o%";
    QTest::newRow("name contains") << f << QList<int>({3, 4, 6});
    f = SearchFields();
    f.description = "Patient monitor";
    QTest::newRow("description") << f << QList<int>({3, 4});
    f = SearchFields();
    f.client = "Acme%";
    QTest::newRow("client") << f << QList<int>({1, 2, 3, 4, 6});
    f = SearchFields();
    f.site = "Main";
    QTest::newRow("site") << f << QList<int>({5});
    f = SearchFields();
    f.location = "Ward%";
    QTest::newRow("location") << f << QList<int>({1, 2, 3});
    f = SearchFields();
    f.manufacturer = "Cardia";
    QTest::newRow("manufacturer") << f << QList<int>({3, 4, 6});
    f = SearchFields();
    f.model = "P100";
    QTest::newRow("model") << f << QList<int>({1, 2, 5});
    f = SearchFields();
    f.serialNo = "EQ-2";
    QTest::newRow("equipment serial number") << f << QList<int>({3, 4, 6});
    f = SearchFields();
    f.serviceCode = "SC-00%";
    f.model = "M5";
    QTest::newRow("service code and model together") << f << QList<int>({3, 4, 6});
    f = SearchFields();
    f.overallStatus = 1;
    QTest::newRow("status pass") << f << QList<int>({1, 4});
    f.overallStatus = 5;
    QTest::newRow("status alert") << f << QList<int>({3});
    f.overallStatus = 0;
    QTest::newRow("status deleted is not no result") << f << QList<int>();
    f = SearchFields();
    f.retestDateFrom = QDate(2027, 1, 1);
    QTest::newRow("retest from") << f << QList<int>({1, 2});
    f = SearchFields();
    f.retestDateTo = QDate(2026, 12, 31);
    QTest::newRow("retest to") << f << QList<int>({3, 4});
    f.retestDateFrom = QDate(2026, 9, 13);
    QTest::newRow("retest range") << f << QList<int>({4});
}

void TestAssetTableView::searchCriteria()
{
    QFETCH(SearchFields, fields);
    QFETCH(QList<int>, expected);
    m_view->showSearchResults(fields);
    QCOMPARE(ids(), expected);
    QVERIFY(m_view->showsSearchResults());
    QVERIFY(m_view->isColumnHidden(0));
    QVERIFY(m_view->isColumnHidden(6));
    QVERIFY(!m_view->isColumnHidden(5));
}

void TestAssetTableView::retestDateToIncludesWholeDay()
{
    // Asset 3 is due at 09:30 on 12/09/2026.
    SearchFields f;
    f.retestDateFrom = QDate(2026, 9, 12);
    f.retestDateTo = QDate(2026, 9, 12);
    m_view->showSearchResults(f);
    QCOMPARE(ids(), QList<int>({3}));
    f.retestDateFrom = QDate(2026, 9, 13);
    f.retestDateTo = QDate(2026, 9, 13);
    m_view->showSearchResults(f);
    QCOMPARE(ids(), QList<int>({4}));
    f.retestDateFrom = QDate(2026, 9, 14);
    f.retestDateTo = QDate();
    m_view->showSearchResults(f);
    QCOMPARE(ids(), QList<int>({1, 2}));
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
    QVERIFY(m_model->query().lastQuery().endsWith(
        m_model->sortOrder() == Qt::AscendingOrder ? " ORDER BY a.Name ASC" : " ORDER BY a.Name DESC"));

    // Sorting by the last test date: the asset without results comes first ascending.
    m_model->sort(4, Qt::AscendingOrder);
    QCOMPARE(ids(), QList<int>({5, 1, 2, 3, 4}));
    // The list stays the node's list when re-sorted.
    m_view->showLocationAssets(1);
    m_model->sort(2, Qt::DescendingOrder);
    QCOMPARE(ids(), QList<int>({2, 1}));
}

void TestAssetTableView::searchStaysSearchWhenSorted()
{
    SearchFields f;
    f.manufacturer = "Cardia";
    m_view->showSearchResults(f);
    m_model->sort(2, Qt::DescendingOrder);
    QVERIFY(m_view->showsSearchResults());
    QCOMPARE(column(2), QStringList({"Old scale", "Monitor B", "Monitor A"}));
    m_view->showAllAssets();
    QVERIFY(!m_view->showsSearchResults());
}

void TestAssetTableView::orderByClauseReplacesTail()
{
    const QString statement = "SELECT a.Id FROM Asset a WHERE 1=1";
    QCOMPARE(m_view->orderByClause(statement), statement);
    m_model->sort(5, Qt::DescendingOrder);
    QCOMPARE(m_view->orderByClause(statement + " ORDER BY a.Name ASC"), statement + " ORDER BY a.RetestDate DESC");
    m_model->sort(1, Qt::AscendingOrder);
    QCOMPARE(m_view->orderByClause(statement), statement + " ORDER BY rs.OverallResult ASC");
    m_model->sort(0, Qt::AscendingOrder);
    QCOMPARE(m_view->orderByClause(statement), statement);
}

void TestAssetTableView::newListSignalsDeselection()
{
    m_view->showAllAssets();
    m_view->selectAsset(2);
    // The ids must be read while the signal is delivered: the rows go with the old list.
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
}

void TestAssetTableView::selectAssetById()
{
    m_view->showAllAssets();
    m_view->selectAsset(3);
    QModelIndexList rows = m_view->selectionModel()->selectedRows();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().row(), 2);
    m_view->selectAsset(77); // not listed: the selection stays
    QCOMPARE(m_view->selectionModel()->selectedRows().size(), 1);
    m_view->selectAsset(0);
    QVERIFY(m_view->selectionModel()->selectedRows().isEmpty());
}

void TestAssetTableView::removedAndRestoredAssets()
{
    m_view->showLocationAssets(99); // an empty list
    m_db->recycleAssets({1});
    m_view->assetsRemoved({1});
    QCOMPARE(m_model->rowCount(), 0);

    m_view->showLocationAssets(1);
    m_db->recycleAssets({2});
    m_view->assetsRemoved({}); // nothing named: no refresh
    QCOMPARE(ids(), QList<int>({2}));
    m_view->assetsRemoved({2});
    QCOMPARE(m_model->rowCount(), 0);

    m_view->showRecycledAssets();
    QCOMPARE(ids(), QList<int>({1, 2, 6}));
    m_db->restoreAssets({2});
    m_view->assetsRestored({2});
    QCOMPARE(ids(), QList<int>({1, 6}));
    QVERIFY(m_view->selectionModel()->selectedRows().isEmpty());
}

void TestAssetTableView::updatedAssetIsReselected()
{
    m_view->showLocationAssets(1);
    SqlQuery rename;
    rename.exec("UPDATE Asset SET Name='Pump 1b' WHERE Id=1");
    QVERIFY(m_view->assetUpdated(1));
    QCOMPARE(column(2).first(), QString("Pump 1b"));
    QCOMPARE(m_view->selectionModel()->selectedRows().first().row(), 0);
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
    QCOMPARE(state.size(), 28);
    QDataStream in(state);
    QList<qint32> widths(7);
    for (qint32& w : widths)
        in >> w;
    QCOMPARE(widths.at(2), 210);
    QCOMPARE(widths.at(4), 140);
    QCOMPARE(widths.at(6), 250); // hidden here, kept for the recycle bin
    QSettings().setValue("win/AssetTableView", state);

    AssetQueryModel model;
    AssetTableView view;
    view.restoreState(state); // no model yet: nothing happens
    QCOMPARE(model.columnCount(), 0);
    view.setup(&model);
    QCOMPARE(model.columnCount(), 7);
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QString("Name"));
    QVERIFY(view.isColumnHidden(0));
    QVERIFY(view.isColumnHidden(6));
    QCOMPARE(view.columnWidth(2), 210);
    QCOMPARE(view.columnWidth(5), 150);
    view.showRecycledAssets();
    QCOMPARE(view.columnWidth(6), 250);
    QCOMPARE(view.columnWidth(2), 210);
    view.showAllAssets();
    QCOMPARE(view.columnWidth(4), 140);
    QCOMPARE(view.saveState(), state);
}

void TestAssetTableView::storedWidthsOutOfRangeBecomeDefault()
{
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    for (qint32 w : {0, 5, 5000, 1000, 10, 77, 1001})
        out << w;
    m_view->restoreState(state);
    m_view->showRecycledAssets();
    const QList<int> expected = {100, 100, 100, 1000, 10, 77, 100};
    for (int c = 1; c < 7; ++c) {
        if (!m_view->isColumnHidden(c))
            QCOMPARE(m_view->columnWidth(c), expected.at(c));
    }
    QCOMPARE(m_view->columnWidth(6), 100);
    m_view->restoreState(state.left(27)); // too short: nothing changes
    QCOMPARE(m_view->columnWidth(6), 100);
    QCOMPARE(m_model->rowCount(), 1);
}

PELVANE_TEST_MAIN(TestAssetTableView)
#include "TestAssetTableView.moc"
