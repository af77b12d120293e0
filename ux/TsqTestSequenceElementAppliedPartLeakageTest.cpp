#include "ux/TsqTestSequenceElementAppliedPartLeakageTest.h"

#include "ux/TsqPatval.h"

namespace Ux {

TsqTestSequenceElementAppliedPartLeakageTest::TsqTestSequenceElementAppliedPartLeakageTest(
    quint8 id, const TsqTestSequenceElementAppliedPartLeakageTest* copyFrom)
    : TsqTestSequenceElement(7, id)
{
    if (copyFrom) {
        duration = copyFrom->duration;
        bfLimit = copyFrom->bfLimit;
        cfLimit = copyFrom->cfLimit;
    }
}

void TsqTestSequenceElementAppliedPartLeakageTest::write(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::write(stream, withHeader);
    stream << duration;
    TsqPatval::write(stream, bfLimit);
    TsqPatval::write(stream, cfLimit);
}

void TsqTestSequenceElementAppliedPartLeakageTest::read(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::read(stream, withHeader);
    stream >> duration;
    bfLimit = TsqPatval::read(stream);
    cfLimit = TsqPatval::read(stream);
}

} // namespace Ux
