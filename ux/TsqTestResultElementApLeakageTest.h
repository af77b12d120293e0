#pragma once

#include "ux/TsqTestResultElementLeakageTest.h"

namespace Ux {

// Applied-part and patient leakage: the record of the leakage result.
class TsqTestResultElementApLeakageTest : public TsqTestResultElementLeakageTest
{
};

} // namespace Ux
