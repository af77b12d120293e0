#pragma once

#include "database/SqPatientLeakageTest.h"

namespace Sq {

class PatientAuxilaryLeakageTestAS3200 : public PatientLeakageTest
{
public:
    explicit PatientAuxilaryLeakageTestAS3200(const Parameters& parameters) : PatientLeakageTest(115, parameters) {}
};

} // namespace Sq
