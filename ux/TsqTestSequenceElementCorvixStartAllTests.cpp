#include "ux/TsqTestSequenceElementCorvixStartAllTests.h"

namespace Ux {

TsqTestSequenceElementCorvixStartAllTests::TsqTestSequenceElementCorvixStartAllTests(
    const TsqTestSequenceElementCorvixStartAllTests* copyFrom)
    : TsqTestSequenceElement(3, 189)
{
    if (copyFrom)
        duration = copyFrom->duration;
}

void TsqTestSequenceElementCorvixStartAllTests::write(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::write(stream, withHeader);
    stream << duration;
}

void TsqTestSequenceElementCorvixStartAllTests::read(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::read(stream, withHeader);
    stream >> duration;
}

} // namespace Ux
