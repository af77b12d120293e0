#include "assets/AssetQueryModel.h"

#include "assets/AssetTableView.h"
#include "ux/StatusString.h"

AssetQueryModel::AssetQueryModel() : PagedQueryModel(AssetTableView::ColumnCount) {}

AssetQueryModel::~AssetQueryModel() = default;

QVariant AssetQueryModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::ToolTipRole)
        return PagedQueryModel::data(index, role);
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
