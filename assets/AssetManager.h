#pragma once

#include <QItemSelection>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <functional>

class AssetTreeItem;
class QModelIndex;
class QAction;
class QWidget;

// Controller between the asset tree, the asset table, the asset editor and
// the asset actions of the main window. It talks to the views only through
// signals, which the window connects, and asks before the selection leaves
// an asset with unapplied edits.
class AssetManager : public QObject
{
    Q_OBJECT
public:
    // Ids of the asset actions, in the order the constructor takes them.
    enum ActionId {
        AddAssetAction = 0,
        DeleteAssetsAction = 1,
        RestoreAssetsAction = 2,
        UploadAction = 3,
        CertificatesAction = 4,
        DeleteClientAction = 5,
        DeleteSiteAction = 6,
        DeleteLocationAction = 7,
        ActionCount = 8
    };

    // window parents the question boxes; actions holds the asset actions by
    // id (ActionId), a null entry for an action the window does not have.
    AssetManager(QWidget* window, const QList<QAction*>& actions);
    ~AssetManager() override;

    static int askApplyChanges();

    // The certificate generator lives in a higher layer; the main window
    // registers how it is run for a list of asset ids.
    using CertificateGeneratorHook = std::function<void(const QList<int>& assetIds)>;
    static void setCertificateGeneratorHook(CertificateGeneratorHook hook);

    QList<int> selectedIds() const { return m_selectedAssets.keys(); }
    int modifiedAsset() const { return m_modifiedAsset; }
    bool recycledShown() const { return m_recycledShown; }
    // The node last taken over, looked up afresh: null once it was removed or
    // merged into another.
    AssetTreeItem* currentTreeNode() const;

    // What the context menus hold, in menu order (null for a separator).
    QList<QAction*> assetContextMenuActions() const;
    QList<QAction*> treeContextMenuActions() const;

signals:
    void newAsset(AssetTreeItem* item);
    void assetAdded(int assetId);
    void assetsRemoved(QList<int> ids);
    void assetsRestored(QList<int> ids);
    void assetSelected(int assetId);
    void clientRemoved(int id);
    void siteRemoved(int id);
    void locationRemoved(int id);
    void showAssetDetails(int assetId, bool show);
    void showLocationAssets(int id);
    void showSiteAssets(int id);
    void showClientAssets(int id);
    void showAllAssets();
    void showRecycledAssets();
    void saveAsset(int assetId);
    void revertAsset(int assetId);
    void selectAsset(int assetId);
    void selectDatabase();
    void selectRecycled();
    void selectClient(int id);
    void selectSite(int id);
    void selectLocation(int id);

public slots:
    void addAsset();
    void assetModified(int assetId, bool modified);
    void removeSelectedAssets();
    void restoreSelectedAssets();
    void uploadSelectedAssets();
    void generateCertificatesFromSelectedAssets();
    void removeSelectedClient();
    void removeSelectedSite();
    void removeSelectedLocation();
    void showAssetContextMenu(QPoint pos);
    void showTreeContextMenu(QPoint pos);
    void tableSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void tableSelectionDropped(const QList<int>& ids);
    void treeItemSelected(const QItemSelection& selected, const QItemSelection& deselected);
    // The table now lists what a search found, not the current node's assets.
    void searchShown();
    void treeNodeClicked(const QModelIndex& index);

private:
    struct NodeKey
    {
        int type = -1; // -1: no node
        int id = 0;
    };

    QAction* action(ActionId id) const;
    // The title of what the action does, for its progress dialog.
    QString actionTitle(ActionId id) const;
    void setActionEnabled(ActionId id, bool enabled);
    void setActionVisible(ActionId id, bool visible);
    // Asks about the unapplied edits and has them saved or reverted.
    void resolveModified();
    void selectModifiedInTable();
    void updateSelectionActions();
    void forgetSelection();
    // What the selection's change means for the editor and the actions.
    void selectionUpdated();
    void selectNode(const NodeKey& node);
    // Recycles the assets that assetCondition selects and deletes the node's
    // row, in steps of their own; a place of few assets in one.
    void removeNode(int type, const QString& assetCondition, const QString& deleteStatement, const QString& idName);
    void selectParentIfCurrentNodeGone();
    // Lists the node's assets in the table and sets the actions for it.
    void showNodeAssets(const AssetTreeItem* node);
    // Of the assets an action left because another workstation changed them.
    void tellSkipped(const QString& text);
    // The hand-over to the transfer code, kept apart from the rest.
    void runUpload(const QList<int>& assetIds);

    QPointer<QWidget> m_window;
    QList<QPointer<QAction>> m_actions;
    bool m_recycledShown = false;
    bool m_searchShown = false;
    int m_modifiedAsset = 0;
    QMap<int, bool> m_selectedAssets;
    // Kept as type and id rather than a pointer, since the node may be
    // removed or merged away while it is current.
    NodeKey m_currentNode;
    NodeKey m_currentParent;
};
