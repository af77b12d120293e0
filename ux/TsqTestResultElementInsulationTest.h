#pragma once

#include "ux/TsqTestResultElementResistanceTest.h"

namespace Ux {

// Insulation resistance: the same record as the earth bond result.
class TsqTestResultElementInsulationTest : public TsqTestResultElementResistanceTest
{
protected:
    const char* className() const override { return "Ux::TsqTestResultElementInsulationTest"; }
};

} // namespace Ux
