#pragma once

#include "database/SqResistanceTest.h"

namespace Sq {

class InsulationAppliedPartTest500V : public ResistanceTest
{
public:
    explicit InsulationAppliedPartTest500V(const Parameters& parameters) : ResistanceTest(34, parameters) {}
};

} // namespace Sq
