#pragma once

#include "database/SqLeakageTest.h"

namespace Sq {

class EquipmentLeakageTest62353 : public LeakageTest
{
public:
    explicit EquipmentLeakageTest62353(const Parameters& parameters) : LeakageTest(69, parameters) {}
};

} // namespace Sq
