#pragma once

#include "database/SqLeakageTest.h"

namespace Sq {

class EarthLeakageTestNFPA99 : public LeakageTest
{
public:
    explicit EarthLeakageTestNFPA99(const Parameters& parameters) : LeakageTest(49, parameters) {}
};

} // namespace Sq
