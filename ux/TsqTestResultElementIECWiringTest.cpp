#include "ux/TsqTestResultElementIECWiringTest.h"

namespace Ux {

void TsqTestResultElementIECWiringTest::write(QDataStream& stream, bool withHeader)
{
    TsqTestResultElement::write(stream, withHeader);
    stream << quint8(code);
}

void TsqTestResultElementIECWiringTest::read(QDataStream& stream, bool withHeader)
{
    TsqTestResultElement::read(stream, withHeader);
    quint8 byte = 0;
    stream >> byte;
    code = byte;
}

void TsqTestResultElementIECWiringTest::debugPrint(QDebug debug) const
{
    debugPrintHeader(debug);
    debug << "\tResult = " << code << "\n}\n";
}

} // namespace Ux
