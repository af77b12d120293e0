#pragma once

#include <QList>
#include <QPoint>
#include <QTreeView>

class AssetTreeModel;

// The browse tree of clients, sites and locations. Renames happen in place;
// the asset manager moves the selection through the slots.
class AssetTreeView : public QTreeView
{
    Q_OBJECT
public:
    explicit AssetTreeView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

signals:
    void requestShowContextMenu(QPoint globalPos);

public slots:
    void selectAsset(int assetId);
    void selectDatabase();
    void selectRecycled();
    void selectClient(int id);
    void selectSite(int id);
    void selectLocation(int id);
    void assetUpdated(int assetId);
    void assetsRestored(QList<int> ids);
    void showContextMenu(const QPoint& pos);

private:
    AssetTreeModel* treeModel() const;
    void selectIndex(const QModelIndex& index);
    bool nodeHoldsAsset(const QString& statement, const QString& idName, int nodeId, int assetId) const;
    void installItemDelegate();
};
