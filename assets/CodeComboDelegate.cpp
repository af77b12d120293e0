#include "assets/CodeComboDelegate.h"

#include <QComboBox>

CodeComboDelegate::CodeComboDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QWidget* CodeComboDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const
{
    return new QComboBox(parent);
}

void CodeComboDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo)
        return;
    combo->clear();
    for (int code : codes())
        combo->addItem(codeText(code), code);
    // Some tables keep the code as text ("2"), so compare as numbers; a value
    // that is no number or not in the list leaves no item current.
    bool ok = false;
    const int code = index.data(Qt::DisplayRole).toInt(&ok);
    combo->setCurrentIndex(ok ? combo->findData(code, Qt::UserRole) : -1);
}

void CodeComboDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo || combo->currentIndex() < 0)
        return;
    model->setData(index, combo->currentData(Qt::UserRole).toInt(), Qt::EditRole);
}

QString CodeComboDelegate::displayText(const QVariant& value, const QLocale&) const
{
    return codeText(value.toInt());
}
