#pragma once

#include "results/TestResultSingleResultkVA.h"

// One measured value without a limit, in volts.
class TestResultSingleResultVolts : public TestResultSingleResultkVA
{
public:
    explicit TestResultSingleResultVolts(QWidget* parent);
};
