#pragma once

#include <QStyledItemDelegate>

// Shows a result status as an icon only: pass, fail, alert, or a neutral
// icon for every other code.
class StatusDelegate : public QStyledItemDelegate
{
public:
    explicit StatusDelegate(QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static const QPixmap& pixmap(int status);
};
