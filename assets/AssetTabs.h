#pragma once

#include "assets/ModifiedFlags.h"

#include <QByteArray>
#include <QFrame>
#include <QList>
#include <QSize>
#include <functional>
#include <memory>

class AppliedPartsTab;
class AssetDetailsTab;
class AssetTabBase;
class AssetTreeItem;
namespace Ui { class AssetTabs; }

// The asset editor. It loads only the tab on screen, reloads a tab lazily
// once its data may have changed, applies the modified tabs in a fixed
// order, and reports whether the current asset holds unapplied edits.
class AssetTabs : public QFrame
{
    Q_OBJECT
public:
    explicit AssetTabs(QWidget* parent = nullptr);
    ~AssetTabs() override;

    // Shows no asset and empties every tab; the window calls it before it
    // switches databases.
    void clearTabs();

    AssetDetailsTab* assetDetailsTab() const;
    AppliedPartsTab* appliedPartsTab() const;
    // Null when no factory for it was registered.
    AssetTabBase* testResultsTab() const { return m_testResultsTab; }

    // The results and test-sequence tabs come from libraries above this
    // one: the window registers how to make them (the sequence tab is
    // joined to the details tab) before it builds the editor. Without a
    // factory the editor has no such tab.
    using TabFactory = std::function<AssetTabBase*(AssetDetailsTab* details, QWidget* parent)>;
    static void setResultsTabFactory(TabFactory factory);
    static void setSequenceTabFactory(TabFactory factory);

    // The room the editor takes with nothing of its tabs scrolled out of
    // sight: their least size (or their wish) and the buttons below them.
    QSize unscrolledSize(bool least) const;

    // The results tab's column widths, kept by the main window.
    QByteArray saveState() const;
    void restoreState(const QByteArray& state);

    AssetTabBase* testSequenceTab() const { return m_sequenceTab; }

    int currentAssetId() const { return m_currentAssetId; }
    ModifiedFlags pendingFlags() const { return m_pendingFlags; }
    ModifiedFlags staleFlags() const { return m_staleFlags; }

signals:
    void assetModified(int assetId, bool modified);
    void assetUpdated(int assetId);
    void refreshTableView();

public slots:
    void reset();
    bool apply();
    void onCurrentTabChanged(int index);
    void resetModified();
    void setModified(ModifiedFlags flags);
    void newAsset(AssetTreeItem* item);
    void newAssetCreated(int assetId);
    void assetSelected(int assetId);
    void saveAsset(int assetId);
    void revertAsset(int assetId);
    void showAppliedPartsTab();
    void clientNameChanged(int clientId);
    void siteNameChanged(int siteId);
    void locationNameChanged(int locationId);

private:
    // Loads the tab on screen; false when the database ended the load and
    // the editor was emptied.
    bool setAsset();
    void setButtonsEnabled(bool enabled);
    void addResultsTab();

    std::unique_ptr<Ui::AssetTabs> ui;
    ModifiedFlags m_pendingFlags = ModifiedNone;
    ModifiedFlags m_staleFlags = ModifiedAll;
    qint32 m_currentAssetId = 0;
    // The tree node a new asset was started under, for Reset to start it again.
    int m_newAssetNodeType = 0;
    int m_newAssetNodeId = 0;
    // In the order in which Apply writes them; the details tab comes first so
    // that a new asset has its Id before the other tabs write rows for it.
    QList<AssetTabBase*> m_applyOrder;
    AssetTabBase* m_sequenceTab = nullptr;
    // Applied after every tab of m_applyOrder: deleting result sets repairs
    // the asset row last, after the other tabs wrote it.
    AssetTabBase* m_testResultsTab = nullptr;
};
