#pragma once

#include "results/TestResultResistance.h"

// A measured insulation resistance with its limit, in megohms.
class TestResultInsulation : public TestResultResistance
{
public:
    explicit TestResultInsulation(QWidget* parent);
};
