#include "ux/TsqTestSequenceElementResistanceTest.h"

#include "ux/TsqPatval.h"

namespace Ux {

TsqTestSequenceElementResistanceTest::TsqTestSequenceElementResistanceTest(
    quint8 id, const TsqTestSequenceElementResistanceTest* copyFrom)
    : TsqTestSequenceElement(6, id)
{
    if (copyFrom) {
        duration = copyFrom->duration;
        limit = copyFrom->limit;
        numberOfTests = copyFrom->numberOfTests;
    }
}

void TsqTestSequenceElementResistanceTest::write(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::write(stream, withHeader);
    stream << duration;
    TsqPatval::write(stream, limit);
    stream << numberOfTests;
}

void TsqTestSequenceElementResistanceTest::read(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::read(stream, withHeader);
    stream >> duration;
    limit = TsqPatval::read(stream);
    stream >> numberOfTests;
}

} // namespace Ux
