#include "ux/TsqTestResultElementSingleTest.h"

#include "ux/TsqPatval.h"

namespace Ux {

void TsqTestResultElementSingleTest::write(QDataStream& stream, bool withHeader)
{
    TsqTestResultElement::write(stream, withHeader);
    stream << TsqPatval(statusByte.magnitudeOf(resultValue)) << statusByte.value;
}

void TsqTestResultElementSingleTest::read(QDataStream& stream, bool withHeader)
{
    TsqTestResultElement::read(stream, withHeader);
    TsqPatval resultWord;
    stream >> resultWord >> statusByte.value;
    resultValue = statusByte.signedResult(resultWord.value());
}

void TsqTestResultElementSingleTest::debugPrint(QDebug debug) const
{
    debugPrintHeader(debug);
    debug << "\tResult = " << resultValue << "\n"
          << "\tStatus = " << statusByte << "}\n";
}

} // namespace Ux
