#pragma once

#include "results/TestResultValueForm.h"

class QLineEdit;

// One measured value without a limit, in kVA.
class TestResultSingleResultkVA : public TestResultValueForm
{
public:
    explicit TestResultSingleResultkVA(QWidget* parent);
    void setResult(QSqlQuery& query) override;

protected:
    // For the same form in another unit, with the label translated under its
    // own class.
    TestResultSingleResultkVA(QWidget* parent, const QString& resultLabel, const QString& unit);

private:
    QLineEdit* m_result;
};
