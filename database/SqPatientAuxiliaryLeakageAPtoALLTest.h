#pragma once

#include "database/SqLeakageTest.h"

namespace Sq {

// The instruments read this test as a duration, one limit and a number of
// tests; the first version's single-fault limit and conditions have no
// place there.
class PatientAuxiliaryLeakageAPtoALLTest : public LeakageTest
{
public:
    explicit PatientAuxiliaryLeakageAPtoALLTest(const Parameters& parameters) : LeakageTest(114, parameters) {}
    void write(QDataStream& stream) const override;
};

} // namespace Sq
