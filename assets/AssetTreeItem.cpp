#include "assets/AssetTreeItem.h"

#include "database/Database.h"

#include <QMap>
#include <QVector>

namespace {
QMap<qint64, AssetTreeItem*>& nodeMap()
{
    static QMap<qint64, AssetTreeItem*> map;
    return map;
}

QVector<QIcon>& icons()
{
    static QVector<QIcon> table(6);
    return table;
}
} // namespace

AssetTreeItem::AssetTreeItem(int id, const QString& name, int type, AssetTreeItem* parent)
    : m_id(id),
      m_name(name.isEmpty() ? Database::tr("{No Name}",
                                           "The text that is shown for clients, sites or locations that have no name")
                            : name),
      m_parent(parent),
      m_type(type)
{
    nodeMap().insert(key(id, type), this);
}

AssetTreeItem::~AssetTreeItem()
{
    qDeleteAll(m_children);
    m_children.clear();
    // A newer node may have taken over the key (the same row shown again):
    // only this node's own entry goes.
    auto& map = nodeMap();
    const auto it = map.constFind(key(m_id, m_type));
    if (it != map.constEnd() && it.value() == this)
        map.remove(key(m_id, m_type));
}

qint64 AssetTreeItem::key(int id, int type)
{
    return qint64(type) * (qint64(1) << 48) + qint64(id);
}

void AssetTreeItem::appendChild(AssetTreeItem* child)
{
    m_children.append(child);
}

void AssetTreeItem::removeChild(AssetTreeItem* child)
{
    m_children.removeOne(child);
}

void AssetTreeItem::setParent(AssetTreeItem* newParent)
{
    if (m_parent)
        m_parent->removeChild(this);
    if (newParent)
        newParent->appendChild(this);
    m_parent = newParent;
}

AssetTreeItem* AssetTreeItem::child(int row) const
{
    return row >= 0 && row < m_children.size() ? m_children.at(row) : nullptr;
}

int AssetTreeItem::childCount() const
{
    return int(m_children.size());
}

AssetTreeItem* AssetTreeItem::parent() const
{
    return m_parent;
}

int AssetTreeItem::row() const
{
    return m_parent ? int(m_parent->m_children.indexOf(const_cast<AssetTreeItem*>(this))) : 0;
}

int AssetTreeItem::columnCount() const
{
    return 1;
}

QVariant AssetTreeItem::data(int column) const
{
    return column == 0 ? QVariant(m_name) : QVariant();
}

void AssetTreeItem::setData(int column, const QVariant& value)
{
    if (column == 0)
        m_name = value.toString();
}

AssetTreeItem* AssetTreeItem::find(int id, int type)
{
    return nodeMap().value(key(id, type), nullptr);
}

void AssetTreeItem::initIcons()
{
    QVector<QIcon>& table = icons();
    table[AssetTreeRoot] = QIcon();
    table[AssetTreeDatabase] = QIcon(QStringLiteral(":/icons/icons/database.png"));
    table[AssetTreeRecycled] = QIcon(QStringLiteral(":/icons/icons/recycled.png"));
    table[AssetTreeClient] = QIcon(QStringLiteral(":/icons/icons/client.png"));
    table[AssetTreeSite] = QIcon(QStringLiteral(":/icons/icons/building.png"));
    table[AssetTreeLocation] = QIcon(QStringLiteral(":/icons/icons/door_open.png"));
    nodeMap().clear();
}

QIcon AssetTreeItem::icon(int type)
{
    return type >= 0 && type < icons().size() ? icons().at(type) : QIcon();
}
