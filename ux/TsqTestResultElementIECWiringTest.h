#pragma once

#include "ux/TsqTestResultElement.h"

namespace Ux {

// IEC lead wiring: one outcome code, 1 meaning correct wiring.
class TsqTestResultElementIECWiringTest : public TsqTestResultElement
{
public:
    TsqTestResultElementIECWiringTest() : TsqTestResultElement(3, 145) {}

    int status() const override { return code == 1 ? 1 : 2; }
    double result() const override { return code; }
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;
    void debugPrint(QDebug debug) const override;

    int code = 0;

protected:
    const char* className() const override { return "Ux::TsqTestResultElementIECWiringTest"; }
};

} // namespace Ux
