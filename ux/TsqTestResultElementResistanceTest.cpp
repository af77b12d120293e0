#include "ux/TsqTestResultElementResistanceTest.h"

#include "ux/TsqPatval.h"

namespace Ux {

void TsqTestResultElementResistanceTest::write(QDataStream& stream, bool withHeader)
{
    TsqTestResultElement::write(stream, withHeader);
    stream << TsqPatval(statusByte.magnitudeOf(resultValue)) << TsqPatval(limitValue)
           << statusByte.value;
}

void TsqTestResultElementResistanceTest::read(QDataStream& stream, bool withHeader)
{
    TsqTestResultElement::read(stream, withHeader);
    TsqPatval resultWord;
    TsqPatval limitWord;
    stream >> resultWord >> limitWord >> statusByte.value;
    resultValue = statusByte.signedResult(resultWord.value());
    limitValue = limitWord.value();
}

void TsqTestResultElementResistanceTest::debugPrint(QDebug debug) const
{
    debugPrintHeader(debug);
    debug << "\tResult = " << resultValue << "\n"
          << "\tLimit = " << limitValue << "\n"
          << "\tStatus = " << statusByte << "}\n";
}

} // namespace Ux
