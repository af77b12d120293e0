#pragma once

#include "ux/TsqResultStatusByte.h"
#include "ux/TsqTestResultElement.h"

namespace Ux {

// Outcome of the visual inspection: a status byte only.
class TsqTestResultElementVisualTest : public TsqTestResultElement
{
public:
    TsqTestResultElementVisualTest() : TsqTestResultElement(3, 1) {}

    int status() const override { return statusByte.status(); }
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;
    void debugPrint(QDebug debug) const override;

    TsqResultStatusByte statusByte;

protected:
    const char* className() const override { return "Ux::TsqTestResultElementVisualTest"; }
};

} // namespace Ux
