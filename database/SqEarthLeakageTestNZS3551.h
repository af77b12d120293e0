#pragma once

#include "database/SqLeakageTest.h"

namespace Sq {

class EarthLeakageTestNZS3551 : public LeakageTest
{
public:
    explicit EarthLeakageTestNZS3551(const Parameters& parameters) : LeakageTest(50, parameters) {}
};

} // namespace Sq
