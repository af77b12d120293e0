#pragma once

#include "results/TestResultBase.h"

class MaximumHeightTableWidget;

// A leakage test measures under several conditions: one table row each.
class TestResultLeakage : public TestResultBase
{
    Q_OBJECT
public:
    explicit TestResultLeakage(QWidget* parent);
    void setResult(QSqlQuery& query) override;

private:
    void setUpColumns(int testId);

    MaximumHeightTableWidget* m_table;
};
