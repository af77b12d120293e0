#include "ux/TsqTestResultElementLeakageTest.h"

#include "ux/TsqPatval.h"

namespace Ux {

void TsqTestResultElementLeakageTest::write(QDataStream& stream, bool withHeader)
{
    TsqTestResultElement::write(stream, withHeader);
    stream << TsqPatval(statusByte.magnitudeOf(resultValue)) << TsqPatval(limitValue)
           << statusByte.value << conditionByte;
}

void TsqTestResultElementLeakageTest::read(QDataStream& stream, bool withHeader)
{
    TsqTestResultElement::read(stream, withHeader);
    TsqPatval resultWord;
    TsqPatval limitWord;
    stream >> resultWord >> limitWord >> statusByte.value >> conditionByte;
    resultValue = statusByte.signedResult(resultWord.value());
    limitValue = limitWord.value();
}

void TsqTestResultElementLeakageTest::debugPrintFields(QDebug& debug) const
{
    debugPrintHeader(debug);
    debug << "\tResult = " << resultValue << "\n"
          << "\tLimit = " << limitValue << "\n"
          << "\tStatus = " << statusByte << "\tCondition = " << conditionByte;
}

void TsqTestResultElementLeakageTest::debugPrint(QDebug debug) const
{
    debugPrintFields(debug);
    debug << "}\n";
}

} // namespace Ux
