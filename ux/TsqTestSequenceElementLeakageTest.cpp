#include "ux/TsqTestSequenceElementLeakageTest.h"

#include "ux/CodeTables.h"
#include "ux/TsqPatval.h"

namespace Ux {

TsqTestSequenceElementLeakageTest::TsqTestSequenceElementLeakageTest(
    quint8 id, int equipmentClass, const TsqTestSequenceElementLeakageTest* copyFrom)
    : TsqTestSequenceElement(8, id)
{
    if (copyFrom) {
        duration = copyFrom->duration;
        limit = copyFrom->limit;
        sfcLimit = copyFrom->sfcLimit;
        conditions = copyFrom->conditions;
        return;
    }
    const bool classII = equipmentClass == EquipmentClassII;
    switch (id) {
    case 48: case 51:
        limit = 5000; sfcLimit = 10000; conditions = TsqConditionByte(3, 7);
        break;
    case 49:
        limit = 5000; sfcLimit = 10000; conditions = TsqConditionByte(0, 1);
        break;
    case 50:
        limit = 500; sfcLimit = 1000; conditions = TsqConditionByte(2, 7);
        break;
    case 64: case 67:
        limit = 100; sfcLimit = 500; conditions = TsqConditionByte(classII ? 5 : 7, 7);
        break;
    case 66:
        limit = 300; sfcLimit = 300; conditions = TsqConditionByte(1, 7);
        break;
    case 69: case 83:
        limit = sfcLimit = classII ? 100 : 500; conditions = TsqConditionByte(1, 1);
        break;
    case 70:
        limit = sfcLimit = classII ? 500 : 1000; conditions = TsqConditionByte(0, 0);
        break;
    default:
        break;
    }
}

void TsqTestSequenceElementLeakageTest::write(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::write(stream, withHeader);
    stream << duration;
    TsqPatval::write(stream, limit);
    TsqPatval::write(stream, sfcLimit);
    stream << conditions;
}

void TsqTestSequenceElementLeakageTest::read(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::read(stream, withHeader);
    stream >> duration;
    limit = TsqPatval::read(stream);
    sfcLimit = TsqPatval::read(stream);
    stream >> conditions;
}

} // namespace Ux
