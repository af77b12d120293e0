#pragma once

#include "ux/TsqResultStatusByte.h"
#include "ux/TsqTestResultElement.h"

namespace Ux {

// Result of a user-defined test, carrying its own name and units.
class TsqTestResultElementUserTest : public TsqTestResultElement
{
public:
    enum { MaxNameLength = 200, MaxUnitsLength = 25 };
    TsqTestResultElementUserTest() : TsqTestResultElement(7, 253) {}

    int status() const override { return statusByte.status(); }
    double result() const override { return resultValue; }
    int acDc() const override { return statusByte.acDc(); }
    int relation() const override { return statusByte.relation(); }
    QString testName() const override { return name; }
    QString testUnits() const override { return units; }
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;
    void debugPrint(QDebug debug) const override;

    QString name;
    QString units;
    float resultValue = 0.0f;
    TsqResultStatusByte statusByte;

protected:
    const char* className() const override { return "Ux::TsqTestResultElementUserTest"; }
};

} // namespace Ux
