#include "ux/TsqTestSequenceElementInsulationTest.h"

#include "ux/CodeTables.h"
#include "ux/TsqPatval.h"

namespace Ux {

TsqTestSequenceElementInsulationTest::TsqTestSequenceElementInsulationTest(
    quint8 id, int equipmentClass, const TsqTestSequenceElementInsulationTest* copyFrom)
    : TsqTestSequenceElement(6, id)
{
    if (copyFrom) {
        duration = copyFrom->duration;
        limit = copyFrom->limit;
        numberOfTests = copyFrom->numberOfTests;
        return;
    }
    switch (id) {
    case 32: case 33: case 34: case 35:
        limit = equipmentClass == EquipmentClassII ? 2.0 : 1.0;
        break;
    case 46: case 47:
        limit = 70.0;
        break;
    default:
        limit = 1.0;
        break;
    }
}

void TsqTestSequenceElementInsulationTest::write(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::write(stream, withHeader);
    stream << duration;
    TsqPatval::write(stream, limit);
    stream << numberOfTests;
}

void TsqTestSequenceElementInsulationTest::read(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::read(stream, withHeader);
    stream >> duration;
    limit = TsqPatval::read(stream);
    stream >> numberOfTests;
}

} // namespace Ux
