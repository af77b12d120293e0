#pragma once

#include <QAbstractItemModel>

class AssetTreeItem;

// The client, site and location tree of the open database. The model does not
// own its nodes: the tree is built and released by whoever installs the
// database.
class AssetTreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    explicit AssetTreeModel(AssetTreeItem* root);
    ~AssetTreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    QModelIndex databaseIndex() const;
    QModelIndex recycledIndex() const;
    QModelIndex clientIndex(int id) const;
    QModelIndex siteIndex(int id) const;
    QModelIndex locationIndex(int id) const;
    QModelIndex findAssetNode(int assetId, int type) const;

    AssetTreeItem* root() const { return m_root; }

signals:
    void clientNameChanged(int id);
    void siteNameChanged(int id);
    void locationNameChanged(int id);
    // A node was merged into target, which now holds what it held.
    void nodeMerged(const QModelIndex& target);

public slots:
    void onUpdateTranslations();
    void removeClient(int id);
    void removeSite(int id);
    void removeLocation(int id);
    void populate();
    void insertAssetLocation(int assetId);

private:
    AssetTreeItem* node(const QModelIndex& index) const;
    QModelIndex nodeIndex(AssetTreeItem* item) const;
    AssetTreeItem* appendNode(AssetTreeItem* parent, int id, const QString& name, int type);
    void removeNode(const QModelIndex& index);
    bool merge(AssetTreeItem* item, int targetId);

    AssetTreeItem* m_root;
};
