#pragma once

#include "database/PagedQueryModel.h"

// The rows of the asset table. Sorting is the database's: sort() only records
// the request and asks the view to run its statement again.
class AssetQueryModel : public PagedQueryModel
{
    Q_OBJECT
public:
    AssetQueryModel();
    ~AssetQueryModel() override;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

signals:
    void refresh();

private:
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
