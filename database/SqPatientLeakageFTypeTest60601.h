#pragma once

#include "database/SqPatientLeakageFTypeTest.h"

namespace Sq {

class PatientLeakageFTypeTest60601 : public PatientLeakageFTypeTest
{
public:
    explicit PatientLeakageFTypeTest60601(const Parameters& parameters) : PatientLeakageFTypeTest(96, parameters) {}
};

} // namespace Sq
