#pragma once

#include <QStyledItemDelegate>

// Edits a name in a line that takes no more characters than the name
// columns of the server back-ends hold, so that a long name is never sent to
// a server that would refuse it.
class NameEditorDelegate : public QStyledItemDelegate
{
public:
    explicit NameEditorDelegate(QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
};
