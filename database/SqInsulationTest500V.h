#pragma once

#include "database/SqResistanceTest.h"

namespace Sq {

class InsulationTest500V : public ResistanceTest
{
public:
    explicit InsulationTest500V(const Parameters& parameters) : ResistanceTest(33, parameters) {}
};

} // namespace Sq
