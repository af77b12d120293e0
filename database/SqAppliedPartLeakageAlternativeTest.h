#pragma once

#include "database/SqAppliedPartLeakageTest.h"

namespace Sq {

class AppliedPartLeakageAlternativeTest : public AppliedPartLeakageTest
{
public:
    explicit AppliedPartLeakageAlternativeTest(const Parameters& parameters) : AppliedPartLeakageTest(72, parameters) {}
};

} // namespace Sq
