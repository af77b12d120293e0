#pragma once

#include "database/SqLeakageTest.h"

namespace Sq {

class EnclosureLeakageTest60601 : public LeakageTest
{
public:
    explicit EnclosureLeakageTest60601(const Parameters& parameters) : LeakageTest(64, parameters) {}
};

} // namespace Sq
