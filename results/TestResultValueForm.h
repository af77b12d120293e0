#pragma once

#include "results/TestResultBase.h"

class QGridLayout;
class QLineEdit;

// What the forms of one measured value share: labelled read-only fields in a
// grid, the numbers right-aligned so that their decimals line up.
class TestResultValueForm : public TestResultBase
{
public:
    explicit TestResultValueForm(QWidget* parent);

protected:
    // Adds "label [field] unit" as the next row; the unit label is named
    // unitName and left out when unitName is empty.
    QLineEdit* addField(const QString& label, const char* fieldName, Qt::Alignment alignment,
                        const char* unitName = nullptr, const QString& unit = QString());

private:
    QGridLayout* m_grid;
};
