#include "assets/PatientConnectionLimitTable.h"
#include "support/TestEnvironment.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QtTest>

namespace {

QList<int> shownRows(const QTableWidget& table)
{
    QList<int> rows;
    for (int r = 0; r < table.rowCount(); ++r)
        if (!table.isRowHidden(r))
            rows << r;
    return rows;
}

QList<int> shownColumns(const QTableWidget& table)
{
    QList<int> columns;
    for (int c = 0; c < table.columnCount(); ++c)
        if (!table.isColumnHidden(c))
            columns << c;
    return columns;
}

QString cellText(const QTableWidget& table, int row, int column)
{
    const QTableWidgetItem* item = table.item(row, column);
    return item ? item->text() : QString();
}

// The twelve limits of a patient-leakage element, per class: normal AC,
// single-fault AC, normal DC, single-fault DC.
struct PatientLeakageLimits
{
    double limits[3][4] = {{100, 500, 10, 50}, {100, 500, 10, 50}, {10, 50, 10, 50}};

    void placeInto(PatientConnectionLimitTable& table)
    {
        for (int type = 1; type <= 3; ++type) {
            double* l = limits[type - 1];
            table.setLimit(&l[0], type, 1, 1);
            table.setLimit(&l[1], type, 1, 2);
            table.setLimit(&l[2], type, 2, 1);
            table.setLimit(&l[3], type, 2, 2);
        }
    }
};

} // namespace

class TestPatientConnectionLimitTable : public QObject
{
    Q_OBJECT
private slots:
    void twelveLimitsFillFourColumns();
    void placingEmitsNoModificationAndKeepsTheValue();
};

void TestPatientConnectionLimitTable::twelveLimitsFillFourColumns()
{
    PatientConnectionLimitTable table(nullptr);
    PatientLeakageLimits element;
    element.placeInto(table);
    QCOMPARE(shownRows(table), (QList<int>{0, 1, 2}));
    QCOMPARE(shownColumns(table), (QList<int>{0, 1, 2, 3}));
    const QStringList expected[3] = {{"100", "10", "500", "50"}, {"100", "10", "500", "50"}, {"10", "10", "50", "50"}};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            QCOMPARE(cellText(table, row, column), expected[row].at(column));
}

void TestPatientConnectionLimitTable::placingEmitsNoModificationAndKeepsTheValue()
{
    PatientConnectionLimitTable table(nullptr);
    QSignalSpy modified(&table, &PatientConnectionLimitTable::variableModified);
    double big = 1234567;
    QVERIFY(table.setLimit(&big, 1, 1, 1));
    QCOMPARE(cellText(table, 0, 0), QString("1.23457e+06"));
    // The shown text is rounded; the limit itself must stay as it was.
    QCOMPARE(big, 1234567.0);
    // Placing again replaces the cell, still silently.
    double other = 2.5;
    table.setLimit(&other, 1, 1, 1);
    QCOMPARE(cellText(table, 0, 0), QString("2.5"));
    QCOMPARE(big, 1234567.0);
    QCOMPARE(modified.count(), 0);
}

PELVANE_TEST_MAIN(TestPatientConnectionLimitTable)
#include "TestPatientConnectionLimitTable.moc"
