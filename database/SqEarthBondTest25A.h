#pragma once

#include "database/SqResistanceTest.h"

namespace Sq {

class EarthBondTest25A : public ResistanceTest
{
public:
    explicit EarthBondTest25A(const Parameters& parameters) : ResistanceTest(21, parameters) {}
};

} // namespace Sq
