#pragma once

#include "database/SqLeakageTest.h"

namespace Sq {

class EarthLeakageTestNZS3200 : public LeakageTest
{
public:
    explicit EarthLeakageTestNZS3200(const Parameters& parameters) : LeakageTest(51, parameters) {}
};

} // namespace Sq
