#pragma once

#include "database/SqResistanceTest.h"

namespace Sq {

class InsulationEUTAppliedPartTest250V : public ResistanceTest
{
public:
    explicit InsulationEUTAppliedPartTest250V(const Parameters& parameters) : ResistanceTest(46, parameters) {}
};

} // namespace Sq
