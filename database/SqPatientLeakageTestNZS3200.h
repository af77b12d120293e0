#pragma once

#include "database/SqPatientLeakageTest.h"

namespace Sq {

class PatientLeakageTestNZS3200 : public PatientLeakageTest
{
public:
    explicit PatientLeakageTestNZS3200(const Parameters& parameters) : PatientLeakageTest(85, parameters) {}
};

} // namespace Sq
