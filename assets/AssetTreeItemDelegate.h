#pragma once

#include <QStyledItemDelegate>

// Sets clients, sites and locations without a name apart by an italic font.
class AssetTreeItemDelegate : public QStyledItemDelegate
{
public:
    explicit AssetTreeItemDelegate(QObject* parent);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
