#pragma once

#include "database/SqPatientLeakageFTypeTest.h"

namespace Sq {

class PatientLeakageFTypeTestNFPA99 : public PatientLeakageFTypeTest
{
public:
    explicit PatientLeakageFTypeTestNFPA99(const Parameters& parameters) : PatientLeakageFTypeTest(98, parameters) {}
};

} // namespace Sq
