#pragma once

#include <QIcon>
#include <QList>
#include <QString>
#include <QVariant>

// Node types of the asset tree; the numbers are part of the node-map key.
enum AssetTreeItemType {
    AssetTreeRoot = 0,
    AssetTreeDatabase = 1,
    AssetTreeRecycled = 2,
    AssetTreeClient = 3,
    AssetTreeSite = 4,
    AssetTreeLocation = 5
};

// One node of the asset tree. Every node registers itself in a process-wide
// map so that the node of a client, site or location id is found without
// walking the tree.
class AssetTreeItem
{
public:
    AssetTreeItem(int id, const QString& name, int type, AssetTreeItem* parent);
    virtual ~AssetTreeItem();
    AssetTreeItem(const AssetTreeItem&) = delete;
    AssetTreeItem& operator=(const AssetTreeItem&) = delete;

    void appendChild(AssetTreeItem* child);
    void removeChild(AssetTreeItem* child);
    void setParent(AssetTreeItem* newParent);

    AssetTreeItem* child(int row) const;
    int childCount() const;
    AssetTreeItem* parent() const;
    int row() const;

    int columnCount() const;
    QVariant data(int column) const;
    void setData(int column, const QVariant& value);

    int id() const { return m_id; }
    int type() const { return m_type; }
    const QString& name() const { return m_name; }

    static AssetTreeItem* find(int id, int type);
    static void initIcons();
    static QIcon icon(int type);

private:
    static qint64 key(int id, int type);

    QList<AssetTreeItem*> m_children;
    int m_id;
    QString m_name;
    AssetTreeItem* m_parent;
    int m_type;
};
