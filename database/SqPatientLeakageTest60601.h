#pragma once

#include "database/SqPatientLeakageTest.h"

namespace Sq {

class PatientLeakageTest60601 : public PatientLeakageTest
{
public:
    explicit PatientLeakageTest60601(const Parameters& parameters) : PatientLeakageTest(80, parameters) {}
};

} // namespace Sq
