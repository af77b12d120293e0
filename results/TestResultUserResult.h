#pragma once

#include "results/TestResultValueForm.h"

class QLineEdit;

// A test the user defined on the instrument: its own name, value and units.
class TestResultUserResult : public TestResultValueForm
{
public:
    explicit TestResultUserResult(QWidget* parent);
    void setResult(QSqlQuery& query) override;

private:
    QLineEdit* m_name;
    QLineEdit* m_result;
    QLineEdit* m_units;
};
