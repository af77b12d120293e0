#include "AssetFixture.h"
#include "assets/AssetTreeView.h"

#include <QSignalSpy>
#include <QtTest>

class TestAssetTreeView : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void selectNodesById();
    void selectAssetAtLocationLevel();

private:
    AssetTreeItem* selectedNode() const;

    SqliteDatabase* m_db = nullptr;
    std::unique_ptr<AssetTreeFixture> m_tree;
    std::unique_ptr<AssetTreeView> m_view;
};

void TestAssetTreeView::init()
{
    m_db = newSeededDatabase();
    QVERIFY(m_db);
    m_tree = std::make_unique<AssetTreeFixture>(m_db);
    m_view = std::make_unique<AssetTreeView>();
    m_view->setModel(m_tree->model.get());
    m_view->setHeaderHidden(true);
    m_view->expandAll();
    m_view->resize(200, 80); // small, so that scrolling is needed
}

void TestAssetTreeView::cleanup()
{
    m_view.reset();
    m_tree.reset();
    Database::setInstance(nullptr);
}

AssetTreeItem* TestAssetTreeView::selectedNode() const
{
    const QModelIndexList s = m_view->selectionModel()->selectedIndexes();
    return s.size() == 1 ? static_cast<AssetTreeItem*>(s.first().internalPointer()) : nullptr;
}

void TestAssetTreeView::selectNodesById()
{
    m_view->selectDatabase();
    QCOMPARE(selectedNode()->type(), int(AssetTreeDatabase));
    m_view->selectRecycled();
    QCOMPARE(selectedNode()->type(), int(AssetTreeRecycled));
    m_view->selectClient(2);
    QCOMPARE(selectedNode(), AssetTreeItem::find(2, AssetTreeClient));
    m_view->selectSite(3);
    QCOMPARE(selectedNode(), AssetTreeItem::find(3, AssetTreeSite));
    m_view->selectLocation(4);
    QCOMPARE(selectedNode(), AssetTreeItem::find(4, AssetTreeLocation));
    m_view->selectClient(42);
    QVERIFY(m_view->selectionModel()->selectedIndexes().isEmpty());
}

void TestAssetTreeView::selectAssetAtLocationLevel()
{
    m_view->selectLocation(1);
    QSignalSpy changed(m_view->selectionModel(), &QItemSelectionModel::selectionChanged);
    m_view->selectAsset(1); // already in Ward 1: selected again, no visible change
    QCOMPARE(selectedNode(), AssetTreeItem::find(1, AssetTreeLocation));
    m_view->selectAsset(4);
    QCOMPARE(selectedNode(), AssetTreeItem::find(3, AssetTreeLocation));
    QCOMPARE(changed.count(), 1);

    m_view->selectRecycled();
    m_view->selectAsset(5);
    QCOMPARE(selectedNode(), AssetTreeItem::find(4, AssetTreeLocation));
}

PELVANE_TEST_MAIN(TestAssetTreeView)
#include "TestAssetTreeView.moc"
