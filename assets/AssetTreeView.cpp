#include "assets/AssetTreeView.h"

#include "assets/AssetTreeItemDelegate.h"

#include "assets/AssetTreeItem.h"
#include "assets/AssetTreeModel.h"
#include "database/SqlQuery.h"

#include <QItemSelectionModel>

namespace {
const char* const kClientHoldsAsset =
    "SELECT COUNT(*) FROM Asset a LEFT JOIN Location l ON l.Id=a.LocationId "
    "LEFT JOIN Site s ON s.Id=l.SiteId LEFT JOIN Client c ON c.Id=s.ClientId "
    "WHERE a.Id=:assetId AND c.Id=:clientId";

const char* const kSiteHoldsAsset =
    "SELECT COUNT(*) FROM Asset a LEFT JOIN Location l ON l.Id=a.LocationId "
    "LEFT JOIN Site s ON s.Id=l.SiteId WHERE a.Id=:assetId AND s.Id=:siteId";
} // namespace

AssetTreeView::AssetTreeView(QWidget* parent) : QTreeView(parent)
{
    installItemDelegate();
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &AssetTreeView::showContextMenu);
}

// The node delegate (italic "{No Name}") lives with the other item delegates;
// it is set here once that class is part of this library.
void AssetTreeView::installItemDelegate()
{
    setItemDelegate(new AssetTreeItemDelegate(this));
}

AssetTreeModel* AssetTreeView::treeModel() const
{
    return qobject_cast<AssetTreeModel*>(model());
}

void AssetTreeView::setModel(QAbstractItemModel* model)
{
    QTreeView::setModel(model);
    // After a merge the user sees the merged node and, through the
    // selection, its assets, whichever node the removal left selected.
    if (auto* tree = qobject_cast<AssetTreeModel*>(model))
        connect(tree, &AssetTreeModel::nodeMerged, this, &AssetTreeView::selectIndex);
}

void AssetTreeView::selectIndex(const QModelIndex& index)
{
    if (treeModel() && selectionModel())
        selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
}

void AssetTreeView::selectDatabase()
{
    if (AssetTreeModel* m = treeModel())
        selectIndex(m->databaseIndex());
}

void AssetTreeView::selectRecycled()
{
    if (AssetTreeModel* m = treeModel())
        selectIndex(m->recycledIndex());
}

void AssetTreeView::selectClient(int id)
{
    if (AssetTreeModel* m = treeModel())
        selectIndex(m->clientIndex(id));
}

void AssetTreeView::selectSite(int id)
{
    if (AssetTreeModel* m = treeModel())
        selectIndex(m->siteIndex(id));
}

void AssetTreeView::selectLocation(int id)
{
    if (AssetTreeModel* m = treeModel())
        selectIndex(m->locationIndex(id));
}

bool AssetTreeView::nodeHoldsAsset(const QString& statement, const QString& idName, int nodeId, int assetId) const
{
    SqlQuery query(statement);
    query.bindValue(QStringLiteral(":assetId"), assetId);
    query.bindValue(idName, nodeId);
    return query.exec() && query.next() && query.value(0).toInt() != 0;
}

// Keeps the current node when it already lists the asset; otherwise moves to
// the asset's node at the level of the current one.
void AssetTreeView::selectAsset(int assetId)
{
    AssetTreeModel* m = treeModel();
    if (!m || !selectionModel())
        return;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    int level = AssetTreeLocation;
    if (!selected.isEmpty()) {
        const auto* item = static_cast<AssetTreeItem*>(selected.first().internalPointer());
        switch (item->type()) {
        case AssetTreeDatabase:
            return;
        case AssetTreeClient:
            if (nodeHoldsAsset(QString::fromLatin1(kClientHoldsAsset), QStringLiteral(":clientId"), item->id(), assetId))
                return;
            level = AssetTreeClient;
            break;
        case AssetTreeSite:
            if (nodeHoldsAsset(QString::fromLatin1(kSiteHoldsAsset), QStringLiteral(":siteId"), item->id(), assetId))
                return;
            level = AssetTreeSite;
            break;
        default:
            break;
        }
    }
    const QModelIndex target = m->findAssetNode(assetId, level);
    selectionModel()->select(target, QItemSelectionModel::ClearAndSelect);
    if (target.isValid()) {
        scrollTo(target, QAbstractItemView::EnsureVisible);
        update(target);
    }
    if (!selected.isEmpty())
        update(selected.first());
}

void AssetTreeView::assetUpdated(int assetId)
{
    if (AssetTreeModel* m = treeModel())
        m->insertAssetLocation(assetId);
}

void AssetTreeView::assetsRestored(QList<int> ids)
{
    AssetTreeModel* m = treeModel();
    if (!m)
        return;
    for (int id : ids)
        m->insertAssetLocation(id);
}

void AssetTreeView::showContextMenu(const QPoint& pos)
{
    emit requestShowContextMenu(mapToGlobal(pos));
}
