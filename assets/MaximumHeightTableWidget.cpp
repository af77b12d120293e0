#include "assets/MaximumHeightTableWidget.h"

#include <QHeaderView>

MaximumHeightTableWidget::MaximumHeightTableWidget(QWidget* parent) : QTableWidget(parent)
{
    setSelectionMode(QAbstractItemView::NoSelection);
}

QSize MaximumHeightTableWidget::minimumSizeHint() const
{
    int height = horizontalHeader()->height() + 2;
    for (int row = 0; row < rowCount(); ++row)
        height += rowHeight(row);
    return QSize(QAbstractScrollArea::minimumSizeHint().width(), height);
}
