#pragma once

#include "database/SqResistanceTest.h"

namespace Sq {

class InsulationTest250V : public ResistanceTest
{
public:
    explicit InsulationTest250V(const Parameters& parameters) : ResistanceTest(32, parameters) {}
};

} // namespace Sq
