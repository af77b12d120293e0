#pragma once

#include "database/SqLeakageTest.h"

namespace Sq {

class EnclosureLeakageTestNZS3200 : public LeakageTest
{
public:
    explicit EnclosureLeakageTestNZS3200(const Parameters& parameters) : LeakageTest(67, parameters) {}
};

} // namespace Sq
