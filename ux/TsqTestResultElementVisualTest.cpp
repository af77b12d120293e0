#include "ux/TsqTestResultElementVisualTest.h"

namespace Ux {

void TsqTestResultElementVisualTest::write(QDataStream& stream, bool withHeader)
{
    TsqTestResultElement::write(stream, withHeader);
    stream << statusByte.value;
}

void TsqTestResultElementVisualTest::read(QDataStream& stream, bool withHeader)
{
    TsqTestResultElement::read(stream, withHeader);
    stream >> statusByte.value;
}

void TsqTestResultElementVisualTest::debugPrint(QDebug debug) const
{
    debugPrintHeader(debug);
    debug << "\tStatus = " << statusByte << "}\n";
}

} // namespace Ux
