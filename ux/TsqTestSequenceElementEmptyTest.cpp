#include "ux/TsqTestSequenceElementEmptyTest.h"

namespace Ux {

TsqTestSequenceElementEmptyTest::TsqTestSequenceElementEmptyTest(quint8 id)
    : TsqTestSequenceElement(2, id)
{
}

void TsqTestSequenceElementEmptyTest::write(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::write(stream, withHeader);
}

void TsqTestSequenceElementEmptyTest::read(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::read(stream, withHeader);
}

} // namespace Ux
