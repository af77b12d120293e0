#include "assets/AppliedPartTable.h"

#include "assets/AppliedPartConnectionTypeDelegate.h"
#include "assets/AppliedPartNumConnectionsDelegate.h"
#include "assets/NameEditorDelegate.h"
#include "database/Database.h"
#include "database/DatabaseBusy.h"
#include "database/DatabaseTransaction.h"
#include "database/RowGone.h"
#include "database/SqlQuery.h"
#include "database/ColumnText.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>

AppliedPartTable::AppliedPartTable(QWidget* parent) : QTableWidget(parent)
{
    setColumnCount(3);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setHorizontalHeaderItem(NameColumn, new QTableWidgetItem(tr("Name", "Name of applied part")));
    setHorizontalHeaderItem(TypeColumn,
                            new QTableWidgetItem(tr("Type", "The type of patient connection (B,BF or CF)")));
    setHorizontalHeaderItem(ConnectionsColumn,
                            new QTableWidgetItem(tr("No. of connections", "The number of patient connections")));
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    setItemDelegateForColumn(NameColumn, new NameEditorDelegate(this));
    setItemDelegateForColumn(TypeColumn, new AppliedPartConnectionTypeDelegate(this));
    setItemDelegateForColumn(ConnectionsColumn, new AppliedPartNumConnectionsDelegate(this));

    m_menu = new QMenu(this);
    QAction* insert = m_menu->addAction(tr("Insert Row", "Action to insert applied part"));
    insert->setShortcut(QKeySequence(Qt::Key_Insert));
    connect(insert, &QAction::triggered, this, &AppliedPartTable::insertRow);
    m_menu->addSeparator();
    QAction* remove = m_menu->addAction(tr("Delete Row", "Action to delete applied part"));
    remove->setShortcut(QKeySequence::Delete);
    connect(remove, &QAction::triggered, this, &AppliedPartTable::deleteRow);
    m_menu->addSeparator();
    QAction* up = m_menu->addAction(tr("Move Row Up", "Action to move an applied part higher in the list"));
    up->setShortcut(QKeySequence(Qt::Key_Left));
    connect(up, &QAction::triggered, this, &AppliedPartTable::moveRowUp);
    QAction* down = m_menu->addAction(tr("Move Row Down", "Action to move an applied part lower in the list"));
    down->setShortcut(QKeySequence(Qt::Key_Right));
    connect(down, &QAction::triggered, this, &AppliedPartTable::moveRowDown);

    connect(this, &QTableWidget::cellChanged, this, &AppliedPartTable::onCellChanged);
    connect(this, &QWidget::customContextMenuRequested, this, &AppliedPartTable::contextMenu);
    connect(this, &QTableWidget::itemSelectionChanged, this, &AppliedPartTable::selectionChanged);
}

QString AppliedPartTable::cellText(int row, int column) const
{
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

int AppliedPartTable::cellInt(int row, int column) const
{
    return cellText(row, column).toInt();
}

int AppliedPartTable::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

// The entry row is the last row while it holds nothing; a table of ten parts
// has none.
bool AppliedPartTable::isEntryRow(int row) const
{
    if (row != rowCount() - 1)
        return false;
    for (int column = 0; column < columnCount(); ++column) {
        if (!cellText(row, column).isEmpty())
            return false;
    }
    return true;
}

void AppliedPartTable::load(int assetId, bool editable)
{
    m_loading = true;
    m_editable = editable;
    setRowCount(0);
    SqlQuery query(QStringLiteral(
        "SELECT Name,ConnectionClass,NumConnections FROM AppliedPart WHERE AssetId=:AssetId ORDER BY Connection DESC"));
    query.bindValue(QStringLiteral(":AssetId"), assetId);
    query.exec();
    QList<QStringList> parts;
    while (query.next())
        parts.append({ColumnText::of(query.value(0)), ColumnText::of(query.value(1)), ColumnText::of(query.value(2))});

    if (editable && parts.size() < MaximumRows)
        QTableWidget::insertRow(0);
    for (const QStringList& part : parts) {
        QTableWidget::insertRow(0);
        for (int column = 0; column < 3; ++column) {
            auto* cell = new QTableWidgetItem(part.at(column));
            if (!editable)
                cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            setItem(0, column, cell);
        }
    }
    m_loading = false;
}

bool AppliedPartTable::save(int assetId)
{
    int sum = 0;
    for (int row = 0; row < rowCount(); ++row) {
        if (!cellText(row, NameColumn).isEmpty())
            sum += cellInt(row, ConnectionsColumn);
    }
    if (sum > MaximumConnections) {
        QMessageBox box(this);
        box.setText(tr("You have specified more connections than are available.\nReduce the number of "
                       "connections from %1 to 10.",
                       "The %%1 character will be replaced with the actual number of connections")
                        .arg(sum));
        box.exec();
        return false;
    }

    // Unnamed rows are not stored, so they cannot clash with each other.
    for (int a = 0; a < rowCount(); ++a) {
        const QString name = cellText(a, NameColumn);
        if (name.isEmpty())
            continue;
        for (int b = a + 1; b < rowCount(); ++b) {
            if (name.compare(cellText(b, NameColumn), Qt::CaseInsensitive) == 0) {
                QMessageBox box(this);
                box.setText(tr("More than one applied part has the same name. Please ensure all applied parts "
                               "have unique names."));
                box.exec();
                return false;
            }
        }
    }

    bool gone = false;
    const bool written = DatabaseTransaction::run([&](DatabaseTransaction&) {
        gone = !RowGone::stored("Asset", assetId);
        if (gone)
            return;
        SqlQuery remove(QStringLiteral("DELETE FROM AppliedPart WHERE AssetId=:AssetId"));
        remove.bindValue(QStringLiteral(":AssetId"), assetId);
        remove.exec();

        const int type = Database::instance()->type();
        for (int row = 0; row < rowCount(); ++row) {
            if (cellText(row, NameColumn).isEmpty() || !item(row, TypeColumn) || !item(row, ConnectionsColumn))
                continue;
            SqlQuery insert;
            insert.prepareInsert(QStringLiteral("AppliedPart"),
                                 {QStringLiteral("AssetId"), QStringLiteral("Name"),
                                  QStringLiteral("ConnectionClass"), QStringLiteral("Connection"),
                                  QStringLiteral("NumConnections")},
                                 type);
            insert.bindValue(QStringLiteral(":AssetId"), assetId);
            insert.bindValue(QStringLiteral(":Name"), cellText(row, NameColumn));
            insert.bindValue(QStringLiteral(":ConnectionClass"), cellInt(row, TypeColumn));
            insert.bindValue(QStringLiteral(":Connection"), row);
            insert.bindValue(QStringLiteral(":NumConnections"), cellInt(row, ConnectionsColumn));
            insert.exec();
        }
    });
    if (!written)
        DatabaseBusy::tell(this);
    else if (gone)
        RowGone::tell(this, tr("The asset"));
    return written && !gone;
}

void AppliedPartTable::clearRows()
{
    while (rowCount() > 0)
        removeRow(0);
}

QList<int> AppliedPartTable::connectionCounts() const
{
    QList<int> counts;
    for (int row = 0; row < rowCount(); ++row) {
        const int count = cellInt(row, ConnectionsColumn);
        if (count > 0)
            counts.append(count);
    }
    return counts;
}

void AppliedPartTable::moveRow(int from, int to)
{
    QStringList fromTexts;
    QStringList toTexts;
    for (int column = 0; column < 3; ++column) {
        fromTexts.append(cellText(from, column));
        toTexts.append(cellText(to, column));
    }
    for (int column = 0; column < 3; ++column) {
        setItem(from, column, new QTableWidgetItem(toTexts.at(column)));
        setItem(to, column, new QTableWidgetItem(fromTexts.at(column)));
    }
    clearSelection();
    setCurrentCell(to, NameColumn, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void AppliedPartTable::insertRow()
{
    const int row = selectedRow();
    if (row < 0 || !m_editable)
        return;
    QTableWidget::insertRow(row);
    emit appliedPartsModified();
}

void AppliedPartTable::deleteRow()
{
    const int row = selectedRow();
    if (row < 0 || !m_editable)
        return;
    const bool hadConnections = cellInt(row, ConnectionsColumn) > 0;
    removeRow(row);
    if (hadConnections)
        emit connectionsModified();
    emit appliedPartsModified();
}

void AppliedPartTable::moveRowUp()
{
    const int row = selectedRow();
    if (row <= 0 || !m_editable)
        return;
    moveRow(row, row - 1);
    emit appliedPartsModified();
}

void AppliedPartTable::moveRowDown()
{
    const int row = selectedRow();
    // A part never moves into the entry row; with ten parts there is none.
    if (row < 0 || !m_editable || row + 1 >= rowCount() || isEntryRow(row + 1))
        return;
    moveRow(row, row + 1);
    emit appliedPartsModified();
}

void AppliedPartTable::onCellChanged(int row, int column)
{
    if (m_loading)
        return;
    if (row == rowCount() - 1 && rowCount() < MaximumRows)
        QTableWidget::insertRow(rowCount());
    if (column == ConnectionsColumn) {
        emit connectionsModified();
        selectionChanged();
    }
    emit appliedPartsModified();
}

void AppliedPartTable::selectionChanged()
{
    const int row = selectedRow();
    if (row < 0) {
        emit connectionsSelected(-1, 0);
        return;
    }
    int first = 0;
    for (int above = 0; above < row; ++above)
        first += cellInt(above, ConnectionsColumn);
    emit connectionsSelected(first, cellInt(row, ConnectionsColumn));
}

void AppliedPartTable::contextMenu(const QPoint& pos)
{
    m_menu->exec(mapToGlobal(pos));
}

void AppliedPartTable::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Insert:
        insertRow();
        return;
    case Qt::Key_Delete:
        deleteRow();
        return;
    case Qt::Key_Left:
        moveRowUp();
        return;
    case Qt::Key_Right:
        moveRowDown();
        return;
    default:
        QTableWidget::keyPressEvent(event);
    }
}
