#pragma once

#include <QList>
#include <QPoint>
#include <QTableWidget>

class QMenu;

// An asset's applied parts: name, patient-connection type and number of
// connections per row, in the order in which they take the instrument's ten
// patient connections. While there is room the last row is an empty entry row.
class AppliedPartTable : public QTableWidget
{
    Q_OBJECT
public:
    enum Column { NameColumn = 0, TypeColumn = 1, ConnectionsColumn = 2 };
    static constexpr int MaximumRows = 10;
    static constexpr int MaximumConnections = 10;

    explicit AppliedPartTable(QWidget* parent = nullptr);

    void load(int assetId, bool editable);
    // Stores every named row with a type and a count; refuses more than ten
    // connections in all and names that repeat, writing nothing then.
    bool save(int assetId);
    void clearRows();
    QList<int> connectionCounts() const;
    void moveRow(int from, int to);

signals:
    void connectionsModified();
    void connectionsSelected(int first, int count);
    void appliedPartsModified();

public slots:
    void insertRow();
    void deleteRow();
    void moveRowUp();
    void moveRowDown();
    void onCellChanged(int row, int column);
    void selectionChanged();
    void contextMenu(const QPoint& pos);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString cellText(int row, int column) const;
    int cellInt(int row, int column) const;
    int selectedRow() const;
    bool isEntryRow(int row) const;

    bool m_loading = false;
    // A locked asset (one with results) keeps its parts as they are.
    bool m_editable = true;
    QMenu* m_menu = nullptr;
};
