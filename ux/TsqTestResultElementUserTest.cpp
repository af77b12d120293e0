#include "ux/TsqTestResultElementUserTest.h"

#include "ux/TsqPatval.h"
#include "ux/TsqText.h"

namespace Ux {

void TsqTestResultElementUserTest::write(QDataStream& stream, bool withHeader)
{
    length = quint8(7 + TsqText::writtenLength(name, MaxNameLength)
                    + TsqText::writtenLength(units, MaxUnitsLength));
    TsqTestResultElement::write(stream, withHeader);
    TsqText::writeTerminated(stream, name, MaxNameLength);
    TsqText::writeTerminated(stream, units, MaxUnitsLength);
    stream << TsqPatval(statusByte.magnitudeOf(resultValue)) << statusByte.value;
}

void TsqTestResultElementUserTest::read(QDataStream& stream, bool withHeader)
{
    TsqTestResultElement::read(stream, withHeader);
    name = TsqText::readTerminated(stream, MaxNameLength);
    units = TsqText::readTerminated(stream, MaxUnitsLength);
    TsqPatval resultWord;
    stream >> resultWord >> statusByte.value;
    resultValue = statusByte.signedResult(resultWord.value());
}

void TsqTestResultElementUserTest::debugPrint(QDebug debug) const
{
    debugPrintHeader(debug);
    debug << "\tResult = " << resultValue << "\n"
          << "\tStatus = " << statusByte << "\tTest Name = " << name << "\n"
          << "\tTest Units = " << units << "\n}\n";
}

} // namespace Ux
