#include "assets/PatientConnectionLimitTable.h"

#include <QDebug>
#include <QHeaderView>
#include <QSignalBlocker>

PatientConnectionLimitTable::PatientConnectionLimitTable(QWidget* parent) : MaximumHeightTableWidget(parent)
{
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    setColumnCount(6);
    setHorizontalHeaderLabels({tr("Mains Limit AC"), tr("Mains Limit DC"), tr("SFC Limit AC"),
                               tr("SFC Limit DC"), tr("Mains Limit"), tr("SFC Limit")});
    setRowCount(3);
    setVerticalHeaderLabels({QStringLiteral("B"), QStringLiteral("BF"), QStringLiteral("CF")});
    for (int row = 0; row < 3; ++row)
        hideRow(row);
    for (int column = 0; column < 6; ++column)
        hideColumn(column);
    connect(this, &QTableWidget::itemChanged, this, &PatientConnectionLimitTable::cellChanged);
}

bool PatientConnectionLimitTable::setLimit(double* value, int connectionType, int acDc, int kind)
{
    if (!value || connectionType < 1 || connectionType > 3 || acDc < 0 || acDc > 2) {
        qWarning() << "PatientConnectionLimitTable::setLimit: no cell for connection type" << connectionType
                   << "AC/DC" << acDc;
        return false;
    }
    const int row = connectionType - 1;
    int column = 0;
    switch (acDc) {
    case 0:
        column = kind == 1 ? 4 : 5;
        break;
    case 1:
        column = kind > 1 ? 2 : 0;
        break;
    default:
        column = kind == 1 ? 1 : 3;
        break;
    }
    showRow(row);
    showColumn(column);

    auto* item = new QTableWidgetItem(QString("%1").arg(*value, 0, 'g'));
    item->setData(Qt::UserRole, QVariant::fromValue(static_cast<void*>(value)));
    // Placing a limit is loading, not editing: the item-changed signal that
    // setItem raises must neither write the rounded text back nor count as a
    // modification.
    const QSignalBlocker blocker(this);
    setItem(row, column, item);
    return true;
}

void PatientConnectionLimitTable::cellChanged(QTableWidgetItem* item)
{
    auto* value = static_cast<double*>(item->data(Qt::UserRole).value<void*>());
    if (!value)
        return;
    *value = item->text().toDouble();
    emit variableModified();
}
