#pragma once

#include "ux/TsqResultStatusByte.h"
#include "ux/TsqTestResultElement.h"

namespace Ux {

// A measured value judged against a limit: earth bond and, through the
// insulation subclass, insulation resistance.
class TsqTestResultElementResistanceTest : public TsqTestResultElement
{
public:
    TsqTestResultElementResistanceTest() : TsqTestResultElement(7, 0) {}

    int status() const override { return statusByte.status(); }
    double limit() const override { return limitValue; }
    double result() const override { return resultValue; }
    int acDc() const override { return statusByte.acDc(); }
    int relation() const override { return statusByte.relation(); }
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;
    void debugPrint(QDebug debug) const override;

    float resultValue = 0.0f;
    float limitValue = 0.0f;
    TsqResultStatusByte statusByte;

protected:
    const char* className() const override { return "Ux::TsqTestResultElementResistanceTest"; }
};

} // namespace Ux
