#include "assets/AssetTreeItemDelegate.h"

#include <QCoreApplication>

AssetTreeItemDelegate::AssetTreeItemDelegate(QObject* parent) : NameEditorDelegate(parent) {}

void AssetTreeItemDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    NameEditorDelegate::initStyleOption(option, index);
    // The placeholder is translated where the database writes it, so compare
    // with the translation of that context.
    const QString noName = QCoreApplication::translate(
        "Database", "{No Name}", "The text that is shown for clients, sites or locations that have no name");
    if (index.data(Qt::DisplayRole).toString() == noName)
        option->font.setItalic(true);
}
