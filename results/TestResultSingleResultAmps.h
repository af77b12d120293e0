#pragma once

#include "results/TestResultSingleResultkVA.h"

// One measured value without a limit, in amperes.
class TestResultSingleResultAmps : public TestResultSingleResultkVA
{
public:
    explicit TestResultSingleResultAmps(QWidget* parent);
};
