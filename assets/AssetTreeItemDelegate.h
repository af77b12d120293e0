#pragma once

#include "assets/NameEditorDelegate.h"

// Sets clients, sites and locations without a name apart by an italic font.
class AssetTreeItemDelegate : public NameEditorDelegate
{
public:
    explicit AssetTreeItemDelegate(QObject* parent);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
