#include "ux/TsqTestSequenceElementNIBPSimulation.h"

namespace Ux {

TsqTestSequenceElementNIBPSimulation::TsqTestSequenceElementNIBPSimulation(
    const TsqTestSequenceElementNIBPSimulation* copyFrom)
    : TsqTestSequenceElement(8, 179)
{
    if (copyFrom) {
        numberOfTests = copyFrom->numberOfTests;
        heartRate = copyFrom->heartRate;
        byte3 = copyFrom->byte3;
        byte4 = copyFrom->byte4;
        pulseVolume = copyFrom->pulseVolume;
    }
}

void TsqTestSequenceElementNIBPSimulation::write(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::write(stream, withHeader);
    stream << numberOfTests << heartRate << byte3 << byte4 << pulseVolume;
}

void TsqTestSequenceElementNIBPSimulation::read(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::read(stream, withHeader);
    stream >> numberOfTests >> heartRate >> byte3 >> byte4 >> pulseVolume;
}

} // namespace Ux
