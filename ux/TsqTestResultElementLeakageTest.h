#pragma once

#include "ux/TsqConditionByte.h"
#include "ux/TsqResultStatusByte.h"
#include "ux/TsqTestResultElement.h"

namespace Ux {

// A leakage current with the conditions and patient connection it was
// measured under.
class TsqTestResultElementLeakageTest : public TsqTestResultElement
{
public:
    TsqTestResultElementLeakageTest() : TsqTestResultElementLeakageTest(8) {}

    int status() const override { return statusByte.status(); }
    double limit() const override { return limitValue; }
    double result() const override { return resultValue; }
    int acDc() const override { return statusByte.acDc(); }
    int relation() const override { return statusByte.relation(); }
    int conditions() const override { return conditionByte.conditions; }
    int patientConnection() const override { return conditionByte.patientConnection(); }
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;
    void debugPrint(QDebug debug) const override;

    float resultValue = 0.0f;
    float limitValue = 0.0f;
    TsqResultStatusByte statusByte;
    TsqConditionByte conditionByte{0, 15};

protected:
    explicit TsqTestResultElementLeakageTest(quint8 length) : TsqTestResultElement(length, 0) {}
    const char* className() const override { return "Ux::TsqTestResultElementLeakageTest"; }
    void debugPrintFields(QDebug& debug) const;
};

} // namespace Ux
