#pragma once

#include "database/SqLeakageTest.h"

namespace Sq {

// The first version kept this test with one normal and one single-fault
// limit; the instruments read it as a patient-leakage record with a limit
// per connection class, so both limits go to the AC cells of every class.
class PatientAuxiliaryLeakageAPtoAPTest : public LeakageTest
{
public:
    explicit PatientAuxiliaryLeakageAPtoAPTest(const Parameters& parameters) : LeakageTest(113, parameters) {}
    void write(QDataStream& stream) const override;
};

} // namespace Sq
