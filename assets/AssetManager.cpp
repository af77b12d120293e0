#include "assets/AssetManager.h"

#include "assets/AssetTreeItem.h"
#include "database/Database.h"
#include "database/DatabaseBusy.h"
#include "database/PendingWrite.h"
#include "database/SqlQuery.h"
#include "database/SteppedWrite.h"
#include "transfer/DialogTransfer.h"
#include "transfer/Upload.h"
#include "transfer/UploadRequest.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QWidget>
#include <algorithm>
#include <optional>

namespace {

AssetManager::CertificateGeneratorHook& certificateGeneratorHook()
{
    static AssetManager::CertificateGeneratorHook hook;
    return hook;
}

// What a delete of a place that stopped midway left: rest of its assets
// still in it, and the place itself.
QString placeNotDeleted(int type, int rest)
{
    switch (type) {
    case AssetTreeClient:
        return AssetManager::tr("%n asset(s) still in their places, and the client itself not deleted.",
                                "assets not recycled, the client kept", rest);
    case AssetTreeSite:
        return AssetManager::tr("%n asset(s) still in their places, and the site itself not deleted.",
                                "assets not recycled, the site kept", rest);
    default:
        return AssetManager::tr("%n asset(s) still in their places, and the location itself not deleted.",
                                "assets not recycled, the location kept", rest);
    }
}

QString recycledText(int recycled)
{
    return AssetManager::tr("%n asset(s) moved to the recycle bin.", "assets recycled before the database was busy",
                            recycled);
}

} // namespace

AssetManager::AssetManager(QWidget* window, const QList<QAction*>& actions) : QObject(nullptr), m_window(window)
{
    for (int id = 0; id < ActionCount; ++id)
        m_actions.append(id < actions.size() ? actions.at(id) : nullptr);

    struct Wiring
    {
        ActionId id;
        void (AssetManager::*slot)();
    };
    const Wiring wiring[] = {
        {AddAssetAction, &AssetManager::addAsset},
        {DeleteAssetsAction, &AssetManager::removeSelectedAssets},
        {RestoreAssetsAction, &AssetManager::restoreSelectedAssets},
        {UploadAction, &AssetManager::uploadSelectedAssets},
        {CertificatesAction, &AssetManager::generateCertificatesFromSelectedAssets},
        {DeleteClientAction, &AssetManager::removeSelectedClient},
        {DeleteSiteAction, &AssetManager::removeSelectedSite},
        {DeleteLocationAction, &AssetManager::removeSelectedLocation},
    };
    for (const Wiring& w : wiring) {
        if (QAction* a = action(w.id))
            connect(a, &QAction::triggered, this, w.slot);
    }

    setActionEnabled(AddAssetAction, false);
    setActionEnabled(DeleteAssetsAction, false);
    setActionEnabled(UploadAction, false);
    setActionEnabled(CertificatesAction, false);
}

AssetManager::~AssetManager() = default;

int AssetManager::askApplyChanges()
{
    QMessageBox box(QMessageBox::Warning, QString(),
                    tr("The asset has been modified. Would you like to apply the changes?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec();
}

QString AssetManager::actionTitle(ActionId id) const
{
    const QAction* a = action(id);
    return a ? a->iconText() : QString();
}

QAction* AssetManager::action(ActionId id) const
{
    return m_actions.value(id).data();
}

AssetTreeItem* AssetManager::currentTreeNode() const
{
    if (m_currentNode.type < 0)
        return nullptr;
    return AssetTreeItem::find(m_currentNode.id, m_currentNode.type);
}

void AssetManager::setActionEnabled(ActionId id, bool enabled)
{
    if (QAction* a = action(id))
        a->setEnabled(enabled);
}

void AssetManager::setActionVisible(ActionId id, bool visible)
{
    if (QAction* a = action(id))
        a->setVisible(visible);
}

void AssetManager::updateSelectionActions()
{
    const bool any = !m_selectedAssets.isEmpty();
    if (m_recycledShown) {
        setActionEnabled(RestoreAssetsAction, any);
        setActionEnabled(DeleteAssetsAction, any);
    } else {
        setActionEnabled(AddAssetAction, true);
        setActionEnabled(DeleteAssetsAction, any);
        setActionEnabled(UploadAction, any);
        setActionEnabled(CertificatesAction, any);
    }
}

// The table lost its rows without deselection signals (a new list, or rows
// that left the list): nothing is selected any more.
void AssetManager::forgetSelection()
{
    m_selectedAssets.clear();
    updateSelectionActions();
}

void AssetManager::assetModified(int assetId, bool modified)
{
    m_modifiedAsset = modified ? assetId : 0;
}

void AssetManager::addAsset()
{
    emit selectAsset(0);
    emit newAsset(currentTreeNode());
}

void AssetManager::resolveModified()
{
    switch (askApplyChanges()) {
    case QMessageBox::Yes:
        emit saveAsset(m_modifiedAsset);
        break;
    case QMessageBox::No:
        emit revertAsset(m_modifiedAsset);
        break;
    default:
        break;
    }
}

// A new asset is in no table row: the table shows it by selecting nothing.
void AssetManager::selectModifiedInTable()
{
    emit selectAsset(m_modifiedAsset > 0 ? m_modifiedAsset : 0);
}

void AssetManager::tableSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    // By rows, each row's asset id from its key: a selection of the whole
    // list is a hundred thousand rows, not seven cells for each.
    const auto forEachId = [](const QItemSelection& selection, const std::function<void(int)>& act) {
        for (const QItemSelectionRange& range : selection) {
            if (range.left() > 0)
                continue;
            for (int row = range.top(); row <= range.bottom(); ++row)
                act(range.model()->index(row, 0, range.parent()).data().toInt());
        }
    };
    forEachId(selected, [this](int id) { m_selectedAssets.insert(id, true); });
    forEachId(deselected, [this](int id) { m_selectedAssets.remove(id); });
    selectionUpdated();
}

void AssetManager::tableSelectionDropped(const QList<int>& ids)
{
    for (int id : ids)
        m_selectedAssets.remove(id);
    selectionUpdated();
}

void AssetManager::selectionUpdated()
{
    const int single = m_selectedAssets.size() == 1 ? m_selectedAssets.firstKey() : 0;

    const bool stillOnModified = m_modifiedAsset == single || (m_modifiedAsset < 0 && m_selectedAssets.isEmpty());
    if (m_modifiedAsset != 0 && !stillOnModified) {
        const QMap<int, bool> wanted = m_selectedAssets;
        const int answer = askApplyChanges();
        if (answer == QMessageBox::Yes) {
            emit saveAsset(m_modifiedAsset);
        } else if (answer == QMessageBox::No) {
            emit revertAsset(m_modifiedAsset);
        } else {
            selectModifiedInTable();
            return;
        }
        // A saved asset is listed afresh and selected again by the table;
        // the user's choice of row wins.
        if (m_modifiedAsset == 0 && m_selectedAssets != wanted && wanted.size() <= 1) {
            emit selectAsset(single);
            return;
        }
    }

    if (m_modifiedAsset == 0) {
        const int shown = m_selectedAssets.size() == 1 ? m_selectedAssets.firstKey() : 0;
        emit assetSelected(shown);
        updateSelectionActions();
    } else {
        selectModifiedInTable();
    }
}

void AssetManager::selectNode(const NodeKey& node)
{
    switch (node.type) {
    case AssetTreeDatabase:
        emit selectDatabase();
        break;
    case AssetTreeRecycled:
        emit selectRecycled();
        break;
    case AssetTreeClient:
        emit selectClient(node.id);
        break;
    case AssetTreeSite:
        emit selectSite(node.id);
        break;
    case AssetTreeLocation:
        emit selectLocation(node.id);
        break;
    default:
        break;
    }
}

void AssetManager::treeItemSelected(const QItemSelection& selected, const QItemSelection&)
{
    const QModelIndexList indexes = selected.indexes();
    auto* node = indexes.isEmpty() ? nullptr : static_cast<AssetTreeItem*>(indexes.first().internalPointer());
    if (!node) {
        // A node that is removed loses its selection while it still exists;
        // look again once the removal is over.
        QMetaObject::invokeMethod(this, &AssetManager::selectParentIfCurrentNodeGone, Qt::QueuedConnection);
        return;
    }
    if (node->type() == m_currentNode.type && node->id() == m_currentNode.id)
        return;

    if (m_modifiedAsset != 0) {
        resolveModified();
        if (m_modifiedAsset != 0) {
            selectNode(m_currentNode);
            return;
        }
    }

    m_currentNode = {node->type(), node->id()};
    m_currentParent = node->parent() ? NodeKey{node->parent()->type(), node->parent()->id()} : NodeKey{};
    showNodeAssets(node);
}

void AssetManager::searchShown()
{
    m_searchShown = true;
}

void AssetManager::treeNodeClicked(const QModelIndex& index)
{
    // A click on the node already selected changes no selection, so
    // treeItemSelected never hears it; after a search it is the user's way
    // back from the search's list to the node's assets.
    auto* node = static_cast<AssetTreeItem*>(index.internalPointer());
    if (!m_searchShown || !node || node->type() != m_currentNode.type || node->id() != m_currentNode.id)
        return;
    if (m_modifiedAsset != 0) {
        resolveModified();
        if (m_modifiedAsset != 0)
            return;
    }
    showNodeAssets(node);
}

void AssetManager::showNodeAssets(const AssetTreeItem* node)
{
    m_searchShown = false;
    const int type = node->type();
    if (type < AssetTreeDatabase || type > AssetTreeLocation)
        return;
    const bool recycled = type == AssetTreeRecycled;
    setActionVisible(AddAssetAction, !recycled);
    setActionVisible(RestoreAssetsAction, recycled);
    if (recycled) {
        for (ActionId id : {DeleteAssetsAction, UploadAction, CertificatesAction, DeleteClientAction,
                            DeleteSiteAction, DeleteLocationAction})
            setActionEnabled(id, false);
    } else {
        setActionEnabled(AddAssetAction, true);
        setActionEnabled(DeleteClientAction, type == AssetTreeClient);
        setActionEnabled(DeleteSiteAction, type == AssetTreeSite);
        setActionEnabled(DeleteLocationAction, type == AssetTreeLocation);
    }
    m_recycledShown = recycled;
    // The table is given a new list, which drops its selection silently.
    forgetSelection();

    switch (type) {
    case AssetTreeDatabase:
        emit showAllAssets();
        break;
    case AssetTreeRecycled:
        emit showRecycledAssets();
        break;
    case AssetTreeClient:
        emit showClientAssets(node->id());
        break;
    case AssetTreeSite:
        emit showSiteAssets(node->id());
        break;
    default:
        emit showLocationAssets(node->id());
        break;
    }
}

void AssetManager::selectParentIfCurrentNodeGone()
{
    if (m_currentNode.type < 0 || currentTreeNode())
        return;
    NodeKey parent = m_currentParent;
    if (parent.type < 0 || !AssetTreeItem::find(parent.id, parent.type))
        parent = {AssetTreeDatabase, 0};
    m_currentNode = {};
    m_currentParent = {};
    selectNode(parent);
}

void AssetManager::removeSelectedAssets()
{
    if (m_recycledShown) {
        const auto answer = QMessageBox::warning(
            m_window, QString(), tr("This operation will permanently remove the selected assets. Are you sure?"),
            QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
    }
    const QList<int> ids = selectedIds();
    // The editor lets go of its edits while the rows still exist, so that it
    // never reloads an asset that is gone.
    if (m_modifiedAsset != 0)
        emit revertAsset(m_modifiedAsset);
    const bool forGood = m_recycledShown;
    auto doneText = [forGood](qsizetype n) {
        return forGood ? tr("%n asset(s) deleted for good.", "assets deleted before the database was busy", int(n))
                       : tr("%n asset(s) moved to the recycle bin.", "assets recycled before the database was busy",
                            int(n));
    };
    auto restText = [forGood](qsizetype n) {
        return forGood ? tr("%n asset(s) still in the recycle bin.", "assets not deleted", int(n))
                       : tr("%n asset(s) still in their places.", "assets not recycled", int(n));
    };
    // A connection lost midway tells what the steps before it stored.
    PendingWrite pending(restText(ids.size()));
    qsizetype skipped = 0;
    const qsizetype done = SteppedWrite::run(
        ids,
        [forGood](const QList<int>& step) -> qsizetype {
            return forGood ? Database::instance()->deleteAssets(step) : Database::instance()->recycleAssets(step);
        },
        [&](qsizetype stored, qsizetype changed) {
            skipped = stored - changed;
            pending.describe(restText(ids.size() - stored), doneText(stored));
        },
        {actionTitle(DeleteAssetsAction), 0, doneText, {}});
    if (done < ids.size()) {
        if (done == 0)
            DatabaseBusy::tell(m_window);
        else
            DatabaseBusy::tellStoppedMidway(m_window, doneText(done), restText(ids.size() - done));
        if (done == 0)
            return;
    }
    const QList<int> removed = ids.first(done);
    forgetSelection();
    emit assetSelected(0);
    emit assetsRemoved(removed);
    if (skipped > 0)
        tellSkipped(forGood ? tr("%n asset(s) left as they are: another workstation restored or deleted them "
                                 "meanwhile.", "assets not deleted for good", int(skipped))
                            : tr("%n asset(s) left as they are: another workstation recycled or deleted them "
                                 "meanwhile.", "assets not recycled", int(skipped)));
}

void AssetManager::tellSkipped(const QString& text)
{
    QMessageBox::information(m_window, QString(), text);
}

void AssetManager::restoreSelectedAssets()
{
    const QList<int> ids = selectedIds();
    auto doneText = [](qsizetype n) {
        return tr("%n asset(s) restored.", "assets restored before the database was busy", int(n));
    };
    auto restText = [](qsizetype n) { return tr("%n asset(s) still in the recycle bin.", "assets not restored", int(n)); };
    PendingWrite pending(restText(ids.size()));
    qsizetype skipped = 0;
    const qsizetype done = SteppedWrite::run(
        ids, [](const QList<int>& step) -> qsizetype { return Database::instance()->restoreAssets(step); },
        [&](qsizetype stored, qsizetype changed) {
            skipped = stored - changed;
            pending.describe(restText(ids.size() - stored), doneText(stored));
        },
        {actionTitle(RestoreAssetsAction), 0, doneText, {}});
    if (done < ids.size()) {
        if (done == 0) {
            DatabaseBusy::tell(m_window);
            return;
        }
        DatabaseBusy::tellStoppedMidway(m_window, doneText(done), restText(ids.size() - done));
    }
    forgetSelection();
    emit assetsRestored(ids.first(done));
    if (skipped > 0)
        tellSkipped(tr("%n asset(s) left as they are: another workstation restored or deleted them meanwhile.",
                       "assets not restored", int(skipped)));
}

void AssetManager::uploadSelectedAssets()
{
    runUpload(selectedIds());
}

void AssetManager::setCertificateGeneratorHook(CertificateGeneratorHook hook)
{
    certificateGeneratorHook() = std::move(hook);
}

void AssetManager::generateCertificatesFromSelectedAssets()
{
    if (certificateGeneratorHook())
        certificateGeneratorHook()(selectedIds());
}

void AssetManager::runUpload(const QList<int>& assetIds)
{
    DialogTransfer dialog(m_window, 1);
    dialog.setWindowTitle(tr("Upload Assets to Tester"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    UploadRequest request;
    request.portName = dialog.portName();
    request.baudRate = dialog.baudRate();
    request.assetIds = assetIds;
    // The upload keeps a pointer to the request until it has ended.
    Upload upload(&request);
    upload.start();
}

void AssetManager::removeNode(int type, const QString& assetCondition, const QString& deleteStatement,
                              const QString& idName)
{
    if (m_currentNode.type != type)
        return;
    const int id = m_currentNode.id;
    const NodeKey parent = m_currentParent;
    const QString parameter = QLatin1Char(':') + idName;
    const bool msSql = Database::instance()->type() == DatabaseMsSql;

    // In whole steps, so that a place of a hundred thousand assets keeps no
    // other workstation waiting for the lock for seconds. Each part of a
    // step takes a slice of the assets still in the place out of it, into
    // the recycle bin; the part that finds no more than a slice left deletes
    // the place with them, under the same lock. An asset that a download
    // files into the place meanwhile is either in it before, and recycled by
    // a later step, or comes after, when the place is gone and made again.
    qsizetype steps = 0;
    int recycled = 0;
    QList<int> taken;
    QList<int> stepAssets;
    int stepRecycled = 0;
    // A lost connection is told what the steps stored, as a busy database is.
    const auto inPlace = [&] {
        SqlQuery left(
            QStringLiteral("SELECT COUNT(*) FROM Asset WHERE %1 AND Asset.DeletedLocation IS NULL").arg(assetCondition));
        left.bindValue(parameter, id);
        left.exec();
        const int rest = left.next() ? left.value(0).toInt() : 0;
        left.finish();
        return rest;
    };
    const int before = inPlace();
    std::optional<PendingWrite> pending(std::in_place, placeNotDeleted(type, before));
    const bool removed = SteppedWrite::repeat(
        [&](qsizetype slice, bool firstPart) {
            if (firstPart) {
                stepAssets.clear();
                stepRecycled = 0;
            }
            // One more than the slice tells whether this is the last part.
            SqlQuery read(QStringLiteral("SELECT %1Asset.Id,CASE WHEN Asset.DeletedLocation IS NULL THEN 1 ELSE 0 "
                                         "END FROM Asset WHERE %2%3")
                              .arg(msSql ? QStringLiteral("TOP %1 ").arg(slice + 1) : QString(), assetCondition,
                                   msSql ? QString() : QStringLiteral(" LIMIT %1").arg(slice + 1)));
            read.bindValue(parameter, id);
            read.exec();
            QList<QVariantList> rows = read.rows();
            read.finish();
            const bool last = rows.size() <= slice;
            rows.resize(std::min(rows.size(), slice));
            QList<int> part;
            for (const QVariantList& row : std::as_const(rows)) {
                part << row.at(0).toInt();
                stepRecycled += row.at(1).toInt();
            }
            Database::instance()->recycleAssetsLeavingPlace(part);
            stepAssets += part;
            if (last) {
                SqlQuery remove(deleteStatement);
                remove.bindValue(parameter, id);
                remove.exec();
            }
            return last;
        },
        [&] {
            ++steps;
            recycled += stepRecycled;
            taken += stepAssets;
            pending->describe(placeNotDeleted(type, std::max(before - recycled, 0)), recycledText(recycled));
        },
        {actionTitle(type == AssetTreeClient ? DeleteClientAction
                     : type == AssetTreeSite ? DeleteSiteAction
                                             : DeleteLocationAction),
         before, [](qsizetype n) { return recycledText(int(n)); }, [&recycled] { return qsizetype(recycled); }});
    pending.reset();
    if (!removed) {
        if (steps == 0) {
            DatabaseBusy::tell(m_window);
            return;
        }
        DatabaseBusy::tellStoppedMidway(m_window, recycledText(recycled), placeNotDeleted(type, inPlace()));
        // The place stays; the assets that left it are gone from the table.
        forgetSelection();
        emit assetSelected(0);
        emit assetsRemoved(taken);
        return;
    }

    switch (type) {
    case AssetTreeClient:
        emit clientRemoved(id);
        break;
    case AssetTreeSite:
        emit siteRemoved(id);
        break;
    default:
        emit locationRemoved(id);
        break;
    }
    // A tree view in single selection moves the selection of a removed row to
    // a sibling when there is one; the removed node's parent is where it goes.
    if (m_currentNode.type != parent.type || m_currentNode.id != parent.id)
        selectNode(parent);
    selectParentIfCurrentNodeGone();
}

void AssetManager::removeSelectedClient()
{
    removeNode(AssetTreeClient,
               QStringLiteral("Asset.LocationId IN (SELECT l.Id FROM Location l JOIN Site s ON s.Id=l.SiteId "
                              "WHERE s.ClientId=:ClientId)"),
               QStringLiteral("DELETE FROM Client WHERE Id=:ClientId"), QStringLiteral("ClientId"));
}

void AssetManager::removeSelectedSite()
{
    removeNode(AssetTreeSite, QStringLiteral("Asset.LocationId IN (SELECT Id FROM Location WHERE SiteId=:SiteId)"),
               QStringLiteral("DELETE FROM Site WHERE Id=:SiteId"), QStringLiteral("SiteId"));
}

void AssetManager::removeSelectedLocation()
{
    removeNode(AssetTreeLocation, QStringLiteral("Asset.LocationId=:LocationId"),
               QStringLiteral("DELETE FROM Location WHERE Id=:LocationId"), QStringLiteral("LocationId"));
}

QList<QAction*> AssetManager::assetContextMenuActions() const
{
    QList<QAction*> entries;
    QAction* restore = action(RestoreAssetsAction);
    entries.append(restore && restore->isEnabled() ? restore : action(AddAssetAction));
    entries.append(action(DeleteAssetsAction));
    entries.append(nullptr);
    entries.append(action(UploadAction));
    entries.append(action(CertificatesAction));
    // Actions the window does not have are left out; separators stay.
    QList<QAction*> present;
    for (int i = 0; i < entries.size(); ++i) {
        if (entries.at(i) || i == 2)
            present.append(entries.at(i));
    }
    return present;
}

QList<QAction*> AssetManager::treeContextMenuActions() const
{
    QAction* entry = nullptr;
    switch (m_currentNode.type) {
    case AssetTreeClient:
        entry = action(DeleteClientAction);
        break;
    case AssetTreeSite:
        entry = action(DeleteSiteAction);
        break;
    case AssetTreeLocation:
        entry = action(DeleteLocationAction);
        break;
    default:
        break;
    }
    return entry ? QList<QAction*>{entry} : QList<QAction*>{};
}

namespace {
void runMenu(const QList<QAction*>& entries, const QPoint& pos)
{
    QMenu menu;
    for (QAction* entry : entries) {
        if (entry)
            menu.addAction(entry);
        else
            menu.addSeparator();
    }
    menu.exec(pos);
}
} // namespace

void AssetManager::showAssetContextMenu(QPoint pos)
{
    runMenu(assetContextMenuActions(), pos);
}

void AssetManager::showTreeContextMenu(QPoint pos)
{
    if (m_currentNode.type < 0)
        return;
    runMenu(treeContextMenuActions(), pos);
}
