#pragma once

#include "results/TestResultBase.h"

// A visual inspection has nothing beyond its pass or fail.
class TestResultVisual : public TestResultBase
{
public:
    explicit TestResultVisual(QWidget* parent);
    void setResult(QSqlQuery& query) override;
};
