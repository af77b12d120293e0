#include "ux/TsqTestSequenceElementNIBPLeakTest.h"

namespace Ux {

TsqTestSequenceElementNIBPLeakTest::TsqTestSequenceElementNIBPLeakTest(
    quint8 id, const TsqTestSequenceElementNIBPLeakTest* copyFrom)
    : TsqTestSequenceElement(6, id)
{
    if (copyFrom) {
        setPoint = copyFrom->setPoint;
        duration = copyFrom->duration;
        return;
    }
    if (id == 190) {
        duration = 20;
    } else if (id == 192) {
        setPoint = 120;
        duration = 20;
    }
}

void TsqTestSequenceElementNIBPLeakTest::write(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::write(stream, withHeader);
    stream << setPoint << duration;
}

void TsqTestSequenceElementNIBPLeakTest::read(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::read(stream, withHeader);
    stream >> setPoint >> duration;
}

} // namespace Ux
