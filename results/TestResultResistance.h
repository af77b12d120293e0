#pragma once

#include "results/TestResultValueForm.h"

class QLineEdit;

// A measured resistance with its limit.
class TestResultResistance : public TestResultValueForm
{
public:
    explicit TestResultResistance(QWidget* parent);
    void setResult(QSqlQuery& query) override;

protected:
    // For forms of the same shape in another unit, with labels translated
    // under their own class.
    TestResultResistance(QWidget* parent, const QString& resultLabel, const QString& limitLabel, const QString& unit);

private:
    QLineEdit* m_result;
    QLineEdit* m_limit;
};
