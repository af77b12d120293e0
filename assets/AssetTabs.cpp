#include "assets/AssetTabs.h"

#include "ui_AssetTabs.h"

#include "assets/AssetTreeItem.h"
#include "core/ReentrancyGuard.h"
#include "database/ConnectionLoss.h"
#include "database/DatabaseAction.h"
#include "database/PendingWrite.h"

#include <QDebug>
#include <QMetaObject>
#include <QScrollArea>
#include <QScrollBar>

namespace {
AssetTabs::TabFactory& resultsTabFactory()
{
    static AssetTabs::TabFactory factory;
    return factory;
}

AssetTabs::TabFactory& sequenceTabFactory()
{
    static AssetTabs::TabFactory factory;
    return factory;
}
} // namespace

void AssetTabs::setResultsTabFactory(TabFactory factory)
{
    resultsTabFactory() = std::move(factory);
}

void AssetTabs::setSequenceTabFactory(TabFactory factory)
{
    sequenceTabFactory() = std::move(factory);
}

AssetTabs::AssetTabs(QWidget* parent) : QFrame(parent), ui(std::make_unique<Ui::AssetTabs>())
{
    ui->setupUi(this);
    m_applyOrder = {ui->assetDetailsTab, ui->appliedPartsTab};
    addResultsTab();

    connect(ui->assetTabWidget, &QTabWidget::currentChanged, this, &AssetTabs::onCurrentTabChanged);
    for (AssetTabBase* tab : m_applyOrder)
        connect(tab, &AssetTabBase::notifyModified, this, &AssetTabs::setModified);
    connect(ui->assetDetailsTab->apConfigViewButton(), &QPushButton::pressed, this, &AssetTabs::showAppliedPartsTab);
    connect(ui->resetButton, &QPushButton::pressed, this, &AssetTabs::reset);
    connect(ui->applyButton, &QPushButton::pressed, this, &AssetTabs::apply);
    connect(ui->assetDetailsTab, &AssetDetailsTab::newAssetCreated, this, &AssetTabs::newAssetCreated);
    connect(ui->assetDetailsTab, &AssetDetailsTab::newAssetCreated, ui->appliedPartsTab,
            &AppliedPartsTab::newAssetCreated);
    if (sequenceTabFactory()) {
        m_sequenceTab = sequenceTabFactory()(ui->assetDetailsTab, ui->assetTabWidget);
        m_sequenceTab->setObjectName(QStringLiteral("testSequenceTab"));
        ui->assetTabWidget->insertTab(qMin(3, ui->assetTabWidget->count()), m_sequenceTab,
                                      tr("Test Sequence", "The asset test sequence tab text"));
        m_applyOrder.append(m_sequenceTab);
        connect(m_sequenceTab, &AssetTabBase::notifyModified, this, &AssetTabs::setModified);
    }
    // The tabs scroll up and down only, so their fields keep their widths;
    // Apply and Reset stay below them, in sight however low the editor is.
    ui->assetTabsScroll->setMinimumWidth(ui->assetTabWidget->minimumSizeHint().width()
                                         + ui->assetTabsScroll->verticalScrollBar()->sizeHint().width());
}

AssetTabs::~AssetTabs() = default;

void AssetTabs::addResultsTab()
{
    if (!resultsTabFactory())
        return;
    m_testResultsTab = resultsTabFactory()(ui->assetDetailsTab, ui->assetTabWidget);
    m_testResultsTab->setObjectName(QStringLiteral("testResultsTab"));
    ui->assetTabWidget->insertTab(1, m_testResultsTab, tr("Test Results", "The asset test results tab text"));
    ui->assetTabWidget->setCurrentIndex(0);
    connect(m_testResultsTab, &AssetTabBase::notifyModified, this, &AssetTabs::setModified);
}

QSize AssetTabs::unscrolledSize(bool least) const
{
    const QScrollArea* scroll = ui->assetTabsScroll;
    const QSize tabs = least ? ui->assetTabWidget->minimumSizeHint() : ui->assetTabWidget->sizeHint();
    const QSize scrolling = (least ? scroll->minimumSizeHint() : scroll->sizeHint()).expandedTo(scroll->minimumSize());
    const QSize whole = least ? minimumSizeHint() : sizeHint();
    const int width = whole.width() - scrolling.width() + tabs.width() + scroll->verticalScrollBar()->sizeHint().width();
    return QSize(qMax(whole.width(), width), whole.height() - scrolling.height() + tabs.height());
}

QByteArray AssetTabs::saveState() const
{
    QByteArray state;
    if (m_testResultsTab)
        QMetaObject::invokeMethod(m_testResultsTab, "saveColumnWidths", Qt::DirectConnection,
                                  Q_RETURN_ARG(QByteArray, state));
    return state;
}

void AssetTabs::restoreState(const QByteArray& state)
{
    if (m_testResultsTab)
        QMetaObject::invokeMethod(m_testResultsTab, "restoreColumnWidths", Qt::DirectConnection,
                                  Q_ARG(QByteArray, state));
}

AssetDetailsTab* AssetTabs::assetDetailsTab() const
{
    return ui->assetDetailsTab;
}

AppliedPartsTab* AssetTabs::appliedPartsTab() const
{
    return ui->appliedPartsTab;
}

void AssetTabs::setButtonsEnabled(bool enabled)
{
    ui->applyButton->setEnabled(enabled);
    ui->resetButton->setEnabled(enabled);
}

bool AssetTabs::setAsset()
{
    auto* tab = qobject_cast<AssetTabBase*>(ui->assetTabWidget->currentWidget());
    if (!tab)
        return true;
    const bool force = m_staleFlags.testFlag(ModifiedFlag(int(tab->flag())));
    if (force)
        m_staleFlags &= ~tab->flag();
    qDebug().nospace().noquote() << QStringLiteral("setAsset(%1, %2);").arg(m_currentAssetId).arg(force ? 1 : 0);
    QString why;
    if (DatabaseAction::attempt([&] { tab->setAsset(m_currentAssetId, force); }, &why))
        return true;
    // Nothing typed is lost: the editor of an asset without edits is
    // emptied; beside edits of other tabs only the tab is, read again when
    // it is shown next.
    const bool edited = m_pendingFlags != ModifiedNone;
    if (edited) {
        tab->clear();
        m_staleFlags |= tab->flag();
    } else {
        clearTabs();
        setEnabled(false);
    }
    DatabaseAction::tell(this, tr("The asset could not be shown."), why);
    return edited;
}

void AssetTabs::onCurrentTabChanged(int)
{
    setAsset();
}

void AssetTabs::assetSelected(int assetId)
{
    ReentrancyGuard guard(QStringLiteral("AssetTabs::assetSelected"));
    if (!guard.isFirst())
        return;
    if (assetId == 0) {
        clearTabs();
        setEnabled(false);
    } else {
        m_currentAssetId = assetId;
        if (setAsset())
            setEnabled(true);
    }
}

void AssetTabs::clearTabs()
{
    assetSelected(0);
    // Tabs in the order details, applied parts, results, sequence.
    ui->assetDetailsTab->clear();
    ui->appliedPartsTab->clear();
    if (m_sequenceTab)
        m_sequenceTab->clear();
    if (m_testResultsTab)
        m_testResultsTab->clear();
    // Edits of an asset no longer shown are gone: Apply must not write them
    // into whatever asset (or database) comes next.
    resetModified();
    m_currentAssetId = 0;
}

bool AssetTabs::apply()
{
    qDebug() << "beginning of AssetTabs::apply()";
    const ModifiedFlags pending = m_pendingFlags;
    const ModifiedFlags stale = m_staleFlags;
    m_pendingFlags = ModifiedNone;
    m_staleFlags = ModifiedAll;
    setButtonsEnabled(false);
    emit assetModified(m_currentAssetId, false);

    QList<AssetTabBase*> order = m_applyOrder;
    if (m_testResultsTab)
        order.append(m_testResultsTab);
    bool applied = true;
    PendingWrite unsaved{QString()};
    for (qsizetype i = 0; i < order.size(); ++i) {
        if (!(pending & order.at(i)->flag()))
            continue;
        // Each tab commits on its own: the ones before this are stored.
        QStringList tabs;
        for (AssetTabBase* tab : order.mid(i)) {
            if (pending & tab->flag())
                tabs << ui->assetTabWidget->tabText(ui->assetTabWidget->indexOf(tab)).remove(QLatin1Char('&'));
        }
        const QString notSaved = tr("the changes to asset %1 (%2)", "%1 is the asset's name, %2 lists editor tabs")
                                     .arg(ui->assetDetailsTab->assetName(), tabs.join(QStringLiteral(", ")));
        unsaved.describe(notSaved);
        bool written = false;
        QString why;
        if (!DatabaseAction::attempt([&] { written = order.at(i)->apply(); }, &why))
            DatabaseAction::tell(this, tr("Not saved: %1.", "%1 says what was not saved").arg(notSaved), why);
        // After a lost connection nothing more is written; the editor is
        // emptied when the database closes.
        if (!written || ConnectionLoss::happened()) {
            applied = false;
            break;
        }
    }

    if (applied) {
        DatabaseAction::afterWrite([this] { emit assetUpdated(m_currentAssetId); });
    } else {
        // Tabs written before the refusal stay pending and are written again.
        m_pendingFlags |= pending;
        setButtonsEnabled(true);
        emit assetModified(m_currentAssetId, true);
        m_staleFlags = stale;
    }
    qDebug() << "end of AssetTabs::apply()";
    return applied;
}

void AssetTabs::reset()
{
    // A new asset has nothing stored to go back to: it starts again as it
    // was prepared, or its typed text would stay with Apply turned off.
    if (m_currentAssetId == -1)
        ui->assetDetailsTab->selectLocationPath(m_newAssetNodeType, m_newAssetNodeId);
    m_staleFlags = ModifiedAll;
    setAsset();
    // The tab on screen is reloaded again the next time it is shown.
    m_staleFlags = ModifiedAll;
    m_pendingFlags = ModifiedNone;
    setButtonsEnabled(false);
    emit assetModified(m_currentAssetId, false);
}

void AssetTabs::resetModified()
{
    m_pendingFlags = ModifiedNone;
    m_staleFlags = ModifiedAll;
    setButtonsEnabled(false);
    emit assetModified(m_currentAssetId, false);
}

void AssetTabs::setModified(ModifiedFlags flags)
{
    m_pendingFlags |= flags;
    setButtonsEnabled(true);
    emit assetModified(m_currentAssetId, true);
}

void AssetTabs::newAsset(AssetTreeItem* item)
{
    m_currentAssetId = -1;
    m_newAssetNodeType = item ? item->type() : 0;
    m_newAssetNodeId = item ? item->id() : 0;
    ui->assetDetailsTab->selectLocationPath(m_newAssetNodeType, m_newAssetNodeId);
    setAsset();
    setEnabled(true);
    ui->assetTabWidget->setCurrentWidget(ui->assetDetailsTab);
}

void AssetTabs::newAssetCreated(int assetId)
{
    m_currentAssetId = assetId;
}

void AssetTabs::saveAsset(int assetId)
{
    Q_ASSERT_X(assetId == m_currentAssetId, "AssetTabs::saveAsset", "assetId == m_currentAssetId");
    apply();
}

void AssetTabs::revertAsset(int assetId)
{
    Q_ASSERT_X(assetId == m_currentAssetId, "AssetTabs::revertAsset", "assetId == m_currentAssetId");
    reset();
}

void AssetTabs::showAppliedPartsTab()
{
    ui->assetTabWidget->setCurrentWidget(ui->appliedPartsTab);
}

void AssetTabs::clientNameChanged(int clientId)
{
    ui->assetDetailsTab->clientNameChanged(clientId);
}

void AssetTabs::siteNameChanged(int siteId)
{
    ui->assetDetailsTab->siteNameChanged(siteId);
}

void AssetTabs::locationNameChanged(int locationId)
{
    ui->assetDetailsTab->locationNameChanged(locationId);
}
