#include "ux/TsqTestResultElementApApLeakageTest.h"

namespace Ux {

void TsqTestResultElementApApLeakageTest::write(QDataStream& stream, bool withHeader)
{
    TsqTestResultElementLeakageTest::write(stream, withHeader);
    stream << conditionByte2.value;
}

void TsqTestResultElementApApLeakageTest::read(QDataStream& stream, bool withHeader)
{
    TsqTestResultElementLeakageTest::read(stream, withHeader);
    stream >> conditionByte2.value;
}

void TsqTestResultElementApApLeakageTest::debugPrint(QDebug debug) const
{
    debugPrintFields(debug);
    debug << "\tCondition2 = " << conditionByte2 << "}\n";
}

} // namespace Ux
