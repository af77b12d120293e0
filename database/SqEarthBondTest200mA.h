#pragma once

#include "database/SqResistanceTest.h"

namespace Sq {

class EarthBondTest200mA : public ResistanceTest
{
public:
    explicit EarthBondTest200mA(const Parameters& parameters) : ResistanceTest(17, parameters) {}
};

} // namespace Sq
