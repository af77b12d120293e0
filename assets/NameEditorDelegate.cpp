#include "assets/NameEditorDelegate.h"

#include "database/Database.h"

#include <QLineEdit>

NameEditorDelegate::NameEditorDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QWidget* NameEditorDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setMaxLength(Database::maxNameLength);
    return editor;
}
