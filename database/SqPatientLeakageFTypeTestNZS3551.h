#pragma once

#include "database/SqPatientLeakageFTypeTest.h"

namespace Sq {

class PatientLeakageFTypeTestNZS3551 : public PatientLeakageFTypeTest
{
public:
    explicit PatientLeakageFTypeTestNZS3551(const Parameters& parameters) : PatientLeakageFTypeTest(99, parameters) {}
};

} // namespace Sq
