#include "assets/AssetQueryModel.h"

#include "assets/AssetTableView.h"
#include "ux/StatusString.h"

#include <QColor>

AssetQueryModel::AssetQueryModel() : PagedQueryModel(AssetTableView::ColumnCount) {}

AssetQueryModel::~AssetQueryModel() = default;

QVariant AssetQueryModel::data(const QModelIndex& index, int role) const
{
    // An asset gone from the list since it was read keeps its row until a
    // refresh; the row says why it is empty rather than look still loading.
    if (role == Qt::ForegroundRole)
        return isRowGone(index.row()) ? QVariant(QColor(Qt::gray)) : QVariant();
    if (role != Qt::ToolTipRole) {
        const QVariant value = PagedQueryModel::data(index, role);
        if (role == Qt::DisplayRole && index.column() == AssetTableView::NameColumn && isRowGone(index.row()))
            return tr("deleted or moved on another workstation");
        return value;
    }
    if (index.column() != 1)
        return QString();
    const QVariant status = PagedQueryModel::data(index, Qt::DisplayRole);
    // An asset without a result set has no status to name.
    if (status.isNull())
        return QString();
    return Ux::StatusString::toString(status.toInt());
}

void AssetQueryModel::sort(int column, Qt::SortOrder order)
{
    m_sortColumn = column;
    m_sortOrder = order;
    emit refresh();
}
