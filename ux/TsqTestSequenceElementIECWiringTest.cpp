#include "ux/TsqTestSequenceElementIECWiringTest.h"

namespace Ux {

TsqTestSequenceElementIECWiringTest::TsqTestSequenceElementIECWiringTest(
    const TsqTestSequenceElementIECWiringTest* copyFrom)
    : TsqTestSequenceElement(3, 145)
{
    if (copyFrom)
        numberOfTests = copyFrom->numberOfTests;
}

void TsqTestSequenceElementIECWiringTest::write(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::write(stream, withHeader);
    stream << numberOfTests;
}

void TsqTestSequenceElementIECWiringTest::read(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::read(stream, withHeader);
    stream >> numberOfTests;
}

} // namespace Ux
