#pragma once

#include "assets/MaximumHeightTableWidget.h"

// Grid of the patient-leakage limits of one sequence element: rows B, BF and
// CF, columns by AC/DC and condition. Only the cells that received a limit
// are shown; an edited cell is written straight into its limit.
class PatientConnectionLimitTable : public MaximumHeightTableWidget
{
    Q_OBJECT
public:
    explicit PatientConnectionLimitTable(QWidget* parent);

    // connectionType 1 B, 2 BF, 3 CF; acDc 0 combined, 1 AC, 2 DC; kind 1
    // normal condition, 2 single fault. The limit must outlive the table's
    // use of it. Other codes are refused (false) and nothing is placed.
    bool setLimit(double* value, int connectionType, int acDc, int kind);

signals:
    void variableModified();

public slots:
    void cellChanged(QTableWidgetItem* item);
};
