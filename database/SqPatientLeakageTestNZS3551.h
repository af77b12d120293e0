#pragma once

#include "database/SqPatientLeakageTest.h"

namespace Sq {

class PatientLeakageTestNZS3551 : public PatientLeakageTest
{
public:
    explicit PatientLeakageTestNZS3551(const Parameters& parameters) : PatientLeakageTest(84, parameters) {}
};

} // namespace Sq
