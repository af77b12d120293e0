#pragma once

#include "database/SqLeakageTest.h"

namespace Sq {

class EarthLeakageTest60601 : public LeakageTest
{
public:
    explicit EarthLeakageTest60601(const Parameters& parameters) : LeakageTest(48, parameters) {}
};

} // namespace Sq
