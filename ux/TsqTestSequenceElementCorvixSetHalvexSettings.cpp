#include "ux/TsqTestSequenceElementCorvixSetHalvexSettings.h"

#include <algorithm>
#include <iterator>

namespace Ux {

TsqTestSequenceElementCorvixSetHalvexSettings::TsqTestSequenceElementCorvixSetHalvexSettings(
    const TsqTestSequenceElementCorvixSetHalvexSettings* copyFrom)
    : TsqTestSequenceElement(28, 188)
{
    if (copyFrom) {
        waveform = copyFrom->waveform;
        heartRate = copyFrom->heartRate;
        ecgAmplitude = copyFrom->ecgAmplitude;
        systolic = copyFrom->systolic;
        diastolic = copyFrom->diastolic;
        temperature = copyFrom->temperature;
        respirationRate = copyFrom->respirationRate;
        baseImpedance = copyFrom->baseImpedance;
        deltaImpedance = copyFrom->deltaImpedance;
        apnoeaDuration = copyFrom->apnoeaDuration;
        apnoeaInterval = copyFrom->apnoeaInterval;
        std::copy(std::begin(copyFrom->furtherBytes), std::end(copyFrom->furtherBytes),
                  furtherBytes);
    }
}

void TsqTestSequenceElementCorvixSetHalvexSettings::write(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::write(stream, withHeader);
    stream << waveform << heartRate << ecgAmplitude << systolic << diastolic << temperature
           << respirationRate << baseImpedance << deltaImpedance << apnoeaDuration
           << apnoeaInterval;
    for (quint8 byte : furtherBytes)
        stream << byte;
}

void TsqTestSequenceElementCorvixSetHalvexSettings::read(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::read(stream, withHeader);
    stream >> waveform >> heartRate >> ecgAmplitude >> systolic >> diastolic >> temperature
        >> respirationRate >> baseImpedance >> deltaImpedance >> apnoeaDuration >> apnoeaInterval;
    for (quint8& byte : furtherBytes)
        stream >> byte;
}

} // namespace Ux
