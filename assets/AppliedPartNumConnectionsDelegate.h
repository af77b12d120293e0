#pragma once

#include <QStyledItemDelegate>

// Number of patient connections of an applied part, edited in a spin box.
class AppliedPartNumConnectionsDelegate : public QStyledItemDelegate
{
public:
    explicit AppliedPartNumConnectionsDelegate(QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};
