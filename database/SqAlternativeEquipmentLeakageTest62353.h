#pragma once

#include "database/SqLeakageTest.h"

namespace Sq {

class AlternativeEquipmentLeakageTest62353 : public LeakageTest
{
public:
    explicit AlternativeEquipmentLeakageTest62353(const Parameters& parameters) : LeakageTest(70, parameters) {}
};

} // namespace Sq
