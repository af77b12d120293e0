#pragma once

#include "database/SqPatientLeakageFTypeTest.h"

namespace Sq {

class PatientLeakageFTypeTestNZS3200 : public PatientLeakageFTypeTest
{
public:
    explicit PatientLeakageFTypeTestNZS3200(const Parameters& parameters) : PatientLeakageFTypeTest(100, parameters) {}
};

} // namespace Sq
