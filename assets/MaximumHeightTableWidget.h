#pragma once

#include <QTableWidget>

// A table without selection that asks for the height of all its rows, so
// that none of them needs scrolling.
class MaximumHeightTableWidget : public QTableWidget
{
public:
    explicit MaximumHeightTableWidget(QWidget* parent);

    QSize minimumSizeHint() const override;
};
