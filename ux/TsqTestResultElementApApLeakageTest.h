#pragma once

#include "ux/TsqResultConditionByte2.h"
#include "ux/TsqTestResultElementLeakageTest.h"

namespace Ux {

// Patient auxiliary leakage between applied parts: a leakage result with the
// patient connection of the auxiliary connection as well.
class TsqTestResultElementApApLeakageTest : public TsqTestResultElementLeakageTest
{
public:
    TsqTestResultElementApApLeakageTest() : TsqTestResultElementLeakageTest(9) {}

    int auxPatientConnection() const override { return conditionByte2.patientConnection(); }
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;
    void debugPrint(QDebug debug) const override;

    TsqResultConditionByte2 conditionByte2;

protected:
    const char* className() const override { return "Ux::TsqTestResultElementApApLeakageTest"; }
};

} // namespace Ux
