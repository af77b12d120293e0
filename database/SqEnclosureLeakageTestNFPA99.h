#pragma once

#include "database/SqLeakageTest.h"

namespace Sq {

class EnclosureLeakageTestNFPA99 : public LeakageTest
{
public:
    explicit EnclosureLeakageTestNFPA99(const Parameters& parameters) : LeakageTest(66, parameters) {}
};

} // namespace Sq
