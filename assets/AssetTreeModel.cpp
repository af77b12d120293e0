#include "assets/AssetTreeModel.h"

#include "assets/AssetTreeItem.h"
#include "core/Error.h"
#include "database/Database.h"
#include "database/DatabaseBusy.h"
#include "database/DatabaseTransaction.h"
#include "database/RowGone.h"
#include "database/SqlQuery.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace {
const char* const kAssetPathQuery =
    "SELECT a.Name,a.LocationId,l.Name,l.SiteId,s.Name,s.ClientId,c.Name FROM Asset a "
    "LEFT JOIN Location l ON l.Id=a.LocationId LEFT JOIN Site s ON s.Id=l.SiteId "
    "LEFT JOIN Client c ON c.Id=s.ClientId WHERE a.Id=:assetId";

const char* const kAssetNodeQuery =
    "SELECT a.LocationId,l.SiteId,s.ClientId FROM Asset a "
    "LEFT JOIN Location l ON l.Id=a.LocationId LEFT JOIN Site s ON s.Id=l.SiteId "
    "LEFT JOIN Client c ON c.Id=s.ClientId WHERE a.Id=:assetId";

// Per node type: the table, the parent key column (none for clients) and the
// question asked before merging into a namesake.
struct NodeTable
{
    const char* table;
    const char* parentColumn;
    const char* childTable;
    const char* mergeQuestion;
    const char* gone; // %1: the node's name, as the tree shows it
};

NodeTable nodeTable(int type)
{
    switch (type) {
    case AssetTreeClient:
        return {"Client", nullptr, "Site",
                QT_TRANSLATE_NOOP("AssetTreeModel",
                                  "A client already exists the same name. Would you like to move the sites into this client?"),
                QT_TRANSLATE_NOOP("AssetTreeModel", "The client %1")};
    case AssetTreeSite:
        return {"Site", "ClientId", "Location",
                QT_TRANSLATE_NOOP("AssetTreeModel",
                                  "A site already exists the same name. Would you like to move the locations into this site?"),
                QT_TRANSLATE_NOOP("AssetTreeModel", "The site %1")};
    default:
        return {"Location", "SiteId", "Asset",
                QT_TRANSLATE_NOOP("AssetTreeModel",
                                  "A location already exists the same name. Would you like to move the assets into this location?"),
                QT_TRANSLATE_NOOP("AssetTreeModel", "The location %1")};
    }
}

// Whether item's row is still where the tree shows it; inside the write's
// transaction. Another workstation may have deleted it, or merged it away.
bool nodeStored(const NodeTable& t, const AssetTreeItem* item)
{
    QString statement = QStringLiteral("SELECT COUNT(*) FROM %1 WHERE Id=:Id").arg(QLatin1String(t.table));
    if (t.parentColumn)
        statement += QStringLiteral(" AND %1=:ParentId").arg(QLatin1String(t.parentColumn));
    SqlQuery row(statement);
    row.bindValue(QStringLiteral(":Id"), item->id());
    if (t.parentColumn)
        row.bindValue(QStringLiteral(":ParentId"), item->parent()->id());
    row.exec();
    const bool found = row.next() && row.value(0).toInt() > 0;
    row.finish();
    return found;
}

void tellNodeGone(const NodeTable& t, const AssetTreeItem* item)
{
    RowGone::tell(Error::dialogParent(),
                  QCoreApplication::translate("AssetTreeModel", t.gone).arg(item->data(0).toString()));
}
} // namespace

AssetTreeModel::AssetTreeModel(AssetTreeItem* root) : QAbstractItemModel(nullptr), m_root(root) {}

AssetTreeModel::~AssetTreeModel() = default;

AssetTreeItem* AssetTreeModel::node(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<AssetTreeItem*>(index.internalPointer()) : m_root;
}

QModelIndex AssetTreeModel::nodeIndex(AssetTreeItem* item) const
{
    return item && item != m_root ? createIndex(item->row(), 0, item) : QModelIndex();
}

QModelIndex AssetTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!hasIndex(row, column, parent) || column != 0)
        return QModelIndex();
    AssetTreeItem* child = node(parent)->child(row);
    return child ? createIndex(row, 0, child) : QModelIndex();
}

QModelIndex AssetTreeModel::parent(const QModelIndex& index) const
{
    if (!index.isValid())
        return QModelIndex();
    AssetTreeItem* parentNode = node(index)->parent();
    if (!parentNode || parentNode == m_root)
        return QModelIndex();
    return createIndex(parentNode->row(), 0, parentNode);
}

int AssetTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0 || !m_root)
        return 0;
    return node(parent)->childCount();
}

int AssetTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant AssetTreeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    AssetTreeItem* item = node(index);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return item->data(index.column());
    case Qt::DecorationRole:
        return AssetTreeItem::icon(item->type());
    default:
        return QVariant();
    }
}

Qt::ItemFlags AssetTreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (node(index)->type() <= AssetTreeRecycled)
        return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    return Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled;
}

bool AssetTreeModel::setData(const QModelIndex& index, const QVariant& value, int)
{
    if (!index.isValid())
        return false;
    AssetTreeItem* item = node(index);
    const int type = item->type();
    if (type < AssetTreeClient || type > AssetTreeLocation)
        return false;
    // The server back-ends end the program on a name their column cannot hold.
    if (value.toString().size() > Database::maxNameLength)
        return false;
    const NodeTable t = nodeTable(type);
    const int id = item->id();

    QString check = QStringLiteral("SELECT Id FROM %1 WHERE Name=:Name AND Id<>:Id").arg(QLatin1String(t.table));
    if (t.parentColumn)
        check += QStringLiteral(" AND %1=:%1").arg(QLatin1String(t.parentColumn));
    // The check and the rename under one lock: no namesake comes in between.
    int targetId = 0;
    bool renamed = false;
    bool gone = false;
    const bool written = DatabaseTransaction::run([&](DatabaseTransaction&) {
        gone = !nodeStored(t, item);
        if (gone)
            return;
        SqlQuery duplicate(check);
        duplicate.bindValue(QStringLiteral(":Name"), value);
        duplicate.bindValue(QStringLiteral(":Id"), id);
        if (t.parentColumn)
            duplicate.bindValue(QLatin1Char(':') + QLatin1String(t.parentColumn), item->parent()->id());
        duplicate.exec();
        targetId = duplicate.next() ? duplicate.value(0).toInt() : 0;
        duplicate.finish();
        if (targetId != 0)
            return;
        SqlQuery rename(QStringLiteral("UPDATE %1 SET Name=:Name WHERE Id=:Id").arg(QLatin1String(t.table)));
        rename.bindValue(QStringLiteral(":Name"), value);
        rename.bindValue(QStringLiteral(":Id"), id);
        renamed = rename.exec(); // false: the connection was lost, and the name with it
    });
    if (!written) {
        DatabaseBusy::tell(Error::dialogParent());
        return false;
    }
    if (gone) {
        tellNodeGone(t, item);
        return false;
    }

    if (targetId == 0) {
        if (!renamed)
            return false;
        item->setData(0, value);
        emit dataChanged(index, index);
        if (type == AssetTreeClient)
            emit clientNameChanged(id);
        else if (type == AssetTreeSite)
            emit siteNameChanged(id);
        else
            emit locationNameChanged(id);
        return true;
    }

    QMessageBox question;
    question.setText(QCoreApplication::translate("AssetTreeModel", t.mergeQuestion));
    question.setStandardButtons(QMessageBox::Yes | QMessageBox::Cancel);
    if (question.exec() != QMessageBox::Yes)
        return false;
    return merge(item, targetId);
}

// Moves the children (or, for a location, its assets) of item into the node
// of targetId and drops item. Returns false: the edited name is not kept.
bool AssetTreeModel::merge(AssetTreeItem* item, int targetId)
{
    const int type = item->type();
    const int id = item->id();

    // The rows move first: removing the node moves the selection, and the
    // node then selected lists its assets from the merged rows.
    const NodeTable t = nodeTable(type);
    bool targetKept = false;
    bool gone = false;
    const bool written = DatabaseTransaction::run([&](DatabaseTransaction&) {
        gone = !nodeStored(t, item);
        if (gone)
            return;
        // The namesake may have gone while the question waited.
        SqlQuery target(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE Id=:Id").arg(QLatin1String(t.table)));
        target.bindValue(QStringLiteral(":Id"), targetId);
        target.exec();
        targetKept = target.next() && target.value(0).toInt() > 0;
        target.finish();
        if (!targetKept)
            return;
        const QString keyColumn = QLatin1String(t.table) + QStringLiteral("Id");
        SqlQuery move(
            QStringLiteral("UPDATE %1 SET %2=:NewId WHERE %2=:OldId").arg(QLatin1String(t.childTable), keyColumn));
        move.bindValue(QStringLiteral(":NewId"), targetId);
        move.bindValue(QStringLiteral(":OldId"), id);
        move.exec();
        SqlQuery drop(QStringLiteral("DELETE FROM %1 WHERE Id=:%2").arg(QLatin1String(t.table), keyColumn));
        drop.bindValue(QLatin1Char(':') + keyColumn, id);
        drop.exec();
    });
    if (!written)
        DatabaseBusy::tell(Error::dialogParent());
    else if (gone)
        tellNodeGone(t, item);
    if (!written || gone || !targetKept)
        return false;

    AssetTreeItem* target = AssetTreeItem::find(targetId, type);
    if (target && item->childCount() > 0) {
        const QModelIndex from = nodeIndex(item);
        const QModelIndex to = nodeIndex(target);
        beginMoveRows(from, 0, item->childCount() - 1, to, target->childCount());
        while (item->childCount() > 0)
            item->child(0)->setParent(target);
        endMoveRows();
    }
    removeNode(nodeIndex(item));
    emit nodeMerged(nodeIndex(target));
    return false;
}

bool AssetTreeModel::removeRows(int row, int count, const QModelIndex& parent)
{
    AssetTreeItem* parentNode = node(parent);
    beginRemoveRows(parent, row, row + count - 1);
    for (int i = 0; i < count; ++i) {
        AssetTreeItem* child = parentNode->child(row);
        if (!child)
            break;
        parentNode->removeChild(child);
        delete child;
    }
    endRemoveRows();
    return true;
}

QModelIndex AssetTreeModel::databaseIndex() const
{
    return index(0, 0, QModelIndex());
}

QModelIndex AssetTreeModel::recycledIndex() const
{
    return index(0, 0, databaseIndex());
}

QModelIndex AssetTreeModel::clientIndex(int id) const
{
    return nodeIndex(AssetTreeItem::find(id, AssetTreeClient));
}

QModelIndex AssetTreeModel::siteIndex(int id) const
{
    return nodeIndex(AssetTreeItem::find(id, AssetTreeSite));
}

QModelIndex AssetTreeModel::locationIndex(int id) const
{
    return nodeIndex(AssetTreeItem::find(id, AssetTreeLocation));
}

void AssetTreeModel::removeNode(const QModelIndex& index)
{
    if (index.isValid())
        removeRow(index.row(), index.parent());
}

void AssetTreeModel::removeClient(int id)
{
    removeNode(clientIndex(id));
}

void AssetTreeModel::removeSite(int id)
{
    removeNode(siteIndex(id));
}

void AssetTreeModel::removeLocation(int id)
{
    removeNode(locationIndex(id));
}

void AssetTreeModel::onUpdateTranslations()
{
    AssetTreeItem* database = m_root ? m_root->child(0) : nullptr;
    AssetTreeItem* recycled = database ? database->child(0) : nullptr;
    if (recycled)
        recycled->setData(0, QCoreApplication::translate("AssetTreeView", "Recycled",
                                                         "The recycled item is where the deleted assets go"));
}

AssetTreeItem* AssetTreeModel::appendNode(AssetTreeItem* parent, int id, const QString& name, int type)
{
    const int n = parent->childCount();
    beginInsertRows(nodeIndex(parent), n, n);
    auto* item = new AssetTreeItem(id, name, type, parent);
    parent->appendChild(item);
    endInsertRows();
    return item;
}

void AssetTreeModel::populate()
{
    AssetTreeItem* database = m_root ? m_root->child(0) : nullptr;
    if (!database)
        return;
    // Three prepared statements serve every client and site of the tree.
    SqlQuery clients(QStringLiteral("SELECT Id,Name FROM Client"));
    SqlQuery sites(QStringLiteral("SELECT Id,Name FROM Site WHERE ClientId=:ClientId"));
    SqlQuery locations(QStringLiteral("SELECT Id,Name FROM Location WHERE SiteId=:SiteId"));
    clients.setForwardOnly(true);
    sites.setForwardOnly(true);
    locations.setForwardOnly(true);
    clients.exec();
    while (clients.next()) {
        AssetTreeItem* client =
            appendNode(database, clients.value(0).toInt(), clients.value(1).toString(), AssetTreeClient);
        sites.bindValue(QStringLiteral(":ClientId"), client->id());
        sites.exec();
        while (sites.next()) {
            AssetTreeItem* site = appendNode(client, sites.value(0).toInt(), sites.value(1).toString(), AssetTreeSite);
            locations.bindValue(QStringLiteral(":SiteId"), site->id());
            locations.exec();
            while (locations.next())
                appendNode(site, locations.value(0).toInt(), locations.value(1).toString(), AssetTreeLocation);
        }
    }
}

void AssetTreeModel::insertAssetLocation(int assetId)
{
    AssetTreeItem* database = m_root ? m_root->child(0) : nullptr;
    if (!database)
        return;
    SqlQuery query(QString::fromLatin1(kAssetPathQuery));
    query.bindValue(QStringLiteral(":assetId"), assetId);
    // Only a lost connection returns a failed statement; the tree is
    // dropped with the database then.
    if (!query.exec() || !query.next())
        return;
    const int locationId = query.value(1).toInt();
    const int siteId = query.value(3).toInt();
    const int clientId = query.value(5).toInt();

    AssetTreeItem* client = AssetTreeItem::find(clientId, AssetTreeClient);
    if (!client)
        client = appendNode(database, clientId, query.value(6).toString(), AssetTreeClient);
    AssetTreeItem* site = AssetTreeItem::find(siteId, AssetTreeSite);
    if (!site)
        site = appendNode(client, siteId, query.value(4).toString(), AssetTreeSite);
    if (!AssetTreeItem::find(locationId, AssetTreeLocation))
        appendNode(site, locationId, query.value(2).toString(), AssetTreeLocation);
}

QModelIndex AssetTreeModel::findAssetNode(int assetId, int type) const
{
    SqlQuery query(QString::fromLatin1(kAssetNodeQuery));
    query.bindValue(QStringLiteral(":assetId"), assetId);
    if (!query.exec() || !query.next())
        return QModelIndex();
    const int ids[] = {query.value(2).toInt(), query.value(1).toInt(), query.value(0).toInt()};
    for (int level = AssetTreeClient; level <= AssetTreeLocation; ++level) {
        AssetTreeItem* item = AssetTreeItem::find(ids[level - AssetTreeClient], level);
        if (!item)
            return QModelIndex();
        if (level == type)
            return nodeIndex(item);
    }
    return QModelIndex();
}
