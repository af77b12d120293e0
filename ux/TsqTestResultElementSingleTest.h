#pragma once

#include "ux/TsqResultStatusByte.h"
#include "ux/TsqTestResultElement.h"

namespace Ux {

// A single measured value without a limit (load test, mains voltages).
class TsqTestResultElementSingleTest : public TsqTestResultElement
{
public:
    TsqTestResultElementSingleTest() : TsqTestResultElement(5, 0) {}

    int status() const override { return statusByte.status(); }
    double result() const override { return resultValue; }
    int acDc() const override { return statusByte.acDc(); }
    int relation() const override { return statusByte.relation(); }
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;
    void debugPrint(QDebug debug) const override;

    float resultValue = 0.0f;
    TsqResultStatusByte statusByte;

protected:
    const char* className() const override { return "Ux::TsqTestResultElementSingleTest"; }
};

} // namespace Ux
