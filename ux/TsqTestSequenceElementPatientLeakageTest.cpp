#include "ux/TsqTestSequenceElementPatientLeakageTest.h"

#include "ux/CodeTables.h"
#include "ux/TsqPatval.h"

#include <algorithm>
#include <iterator>

namespace Ux {

namespace {

// B, BF, CF; each normal AC, normal DC, single-fault AC, single-fault DC.
const double standardLimits[] = {100, 10, 500, 50, 100, 10, 500, 50, 10, 10, 50, 50};
const double nfpaLimits[] = {100, 100, 100, 50, 0, 10, 500, 50, 10, 10, 50, 50};
const double auxiliaryLimits[] = {50, 50, 50, 25, 9, 0, 0, 0, 0, 0, 0, 0};

} // namespace

TsqTestSequenceElementPatientLeakageTest::TsqTestSequenceElementPatientLeakageTest(
    quint8 id, int equipmentClass, const TsqTestSequenceElementPatientLeakageTest* copyFrom)
    : TsqTestSequenceElement(28, id)
{
    if (copyFrom) {
        duration = copyFrom->duration;
        std::copy(std::begin(copyFrom->limits), std::end(copyFrom->limits), limits);
        conditions = copyFrom->conditions;
        return;
    }
    const bool classII = equipmentClass == EquipmentClassII;
    const double* defaults = standardLimits;
    quint8 conditionBits = classII ? 3 : 7;
    if (id == 81) {
        defaults = nfpaLimits;
        conditionBits = classII ? 2 : 6;
    } else if (id == 84) {
        conditionBits = classII ? 2 : 6;
    } else if (id == 113) {
        defaults = auxiliaryLimits;
        conditionBits = 0;
    }
    std::copy(defaults, defaults + LimitCount, limits);
    conditions = TsqConditionByte(conditionBits, 7);
}

void TsqTestSequenceElementPatientLeakageTest::write(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::write(stream, withHeader);
    stream << duration;
    for (double limit : limits)
        TsqPatval::write(stream, limit);
    stream << conditions;
}

void TsqTestSequenceElementPatientLeakageTest::read(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::read(stream, withHeader);
    stream >> duration;
    for (double& limit : limits)
        limit = TsqPatval::read(stream);
    stream >> conditions;
}

} // namespace Ux
