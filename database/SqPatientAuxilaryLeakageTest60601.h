#pragma once

#include "database/SqPatientLeakageTest.h"

namespace Sq {

class PatientAuxilaryLeakageTest60601 : public PatientLeakageTest
{
public:
    explicit PatientAuxilaryLeakageTest60601(const Parameters& parameters) : PatientLeakageTest(112, parameters) {}
};

} // namespace Sq
