#include "assets/AppliedPartNumConnectionsDelegate.h"

#include <QSpinBox>

AppliedPartNumConnectionsDelegate::AppliedPartNumConnectionsDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

QWidget* AppliedPartNumConnectionsDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                                         const QModelIndex&) const
{
    return new QSpinBox(parent);
}

void AppliedPartNumConnectionsDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* spin = qobject_cast<QSpinBox*>(editor))
        spin->setValue(index.data(Qt::DisplayRole).toInt());
}

void AppliedPartNumConnectionsDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                                     const QModelIndex& index) const
{
    if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
        spin->interpretText();
        model->setData(index, spin->value(), Qt::EditRole);
    }
}
