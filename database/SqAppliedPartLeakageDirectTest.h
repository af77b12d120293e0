#pragma once

#include "database/SqAppliedPartLeakageTest.h"

namespace Sq {

class AppliedPartLeakageDirectTest : public AppliedPartLeakageTest
{
public:
    explicit AppliedPartLeakageDirectTest(const Parameters& parameters) : AppliedPartLeakageTest(71, parameters) {}
};

} // namespace Sq
