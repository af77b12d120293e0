#pragma once

#include "database/SqResistanceTest.h"

namespace Sq {

class InsulationEUTAppliedPartTest500V : public ResistanceTest
{
public:
    explicit InsulationEUTAppliedPartTest500V(const Parameters& parameters) : ResistanceTest(47, parameters) {}
};

} // namespace Sq
