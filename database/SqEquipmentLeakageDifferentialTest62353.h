#pragma once

#include "database/SqLeakageTest.h"

namespace Sq {

class EquipmentLeakageDifferentialTest62353 : public LeakageTest
{
public:
    explicit EquipmentLeakageDifferentialTest62353(const Parameters& parameters) : LeakageTest(83, parameters) {}
};

} // namespace Sq
