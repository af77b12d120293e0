#include "ux/TsqTestSequenceElementSPO2MonitorType.h"

#include "ux/TsqText.h"

namespace Ux {

namespace {
constexpr int maxNameLength = 31;
constexpr int fixedLength = 5;
} // namespace

TsqTestSequenceElementSPO2MonitorType::TsqTestSequenceElementSPO2MonitorType(
    const TsqTestSequenceElementSPO2MonitorType* copyFrom)
    : TsqTestSequenceElement(maxNameLength + fixedLength, 180)
{
    if (copyFrom) {
        monitorName = copyFrom->monitorName;
        byte1 = copyFrom->byte1;
        monitorIndex = copyFrom->monitorIndex;
    }
}

void TsqTestSequenceElementSPO2MonitorType::write(QDataStream& stream, bool withHeader)
{
    if (withHeader)
        length = quint8(TsqText::writtenLength(monitorName, maxNameLength) + fixedLength);
    TsqTestSequenceElement::write(stream, withHeader);
    TsqText::writeTerminated(stream, monitorName, maxNameLength);
    stream << byte1 << monitorIndex;
}

void TsqTestSequenceElementSPO2MonitorType::read(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::read(stream, withHeader);
    monitorName = TsqText::readTerminated(stream, maxNameLength);
    stream >> byte1 >> monitorIndex;
}

} // namespace Ux
