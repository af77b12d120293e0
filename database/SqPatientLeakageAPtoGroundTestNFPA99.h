#pragma once

#include "database/SqPatientLeakageTest.h"

namespace Sq {

class PatientLeakageAPtoGroundTestNFPA99 : public PatientLeakageTest
{
public:
    explicit PatientLeakageAPtoGroundTestNFPA99(const Parameters& parameters) : PatientLeakageTest(81, parameters) {}
};

} // namespace Sq
