#include "ux/TsqTestSequenceElementPatientLeakageFTest.h"

#include "ux/TsqPatval.h"

#include <algorithm>
#include <iterator>

namespace Ux {

TsqTestSequenceElementPatientLeakageFTest::TsqTestSequenceElementPatientLeakageFTest(
    quint8 id, const TsqTestSequenceElementPatientLeakageFTest* copyFrom)
    : TsqTestSequenceElement(12, id)
{
    if (copyFrom) {
        duration = copyFrom->duration;
        std::copy(std::begin(copyFrom->limits), std::end(copyFrom->limits), limits);
        conditions = copyFrom->conditions;
        return;
    }
    if (id == 98) {
        std::fill(std::begin(limits), std::end(limits), 25.0);
    } else {
        limits[0] = limits[1] = 5000.0;
        limits[2] = limits[3] = 50.0;
    }
    conditions = TsqConditionByte(id == 99 ? 0 : 9, 9);
}

void TsqTestSequenceElementPatientLeakageFTest::write(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::write(stream, withHeader);
    stream << duration;
    for (double limit : limits)
        TsqPatval::write(stream, limit);
    stream << conditions;
}

void TsqTestSequenceElementPatientLeakageFTest::read(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::read(stream, withHeader);
    stream >> duration;
    for (double& limit : limits)
        limit = TsqPatval::read(stream);
    stream >> conditions;
}

} // namespace Ux
