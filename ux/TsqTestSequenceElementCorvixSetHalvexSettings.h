#pragma once

#include "ux/TsqTestSequenceElement.h"

namespace Ux {

// Patient (ECG, blood pressure, respiration) settings of the vital-signs simulator.
class TsqTestSequenceElementCorvixSetHalvexSettings : public TsqTestSequenceElement
{
public:
    enum { FurtherBytes = 10 };
    explicit TsqTestSequenceElementCorvixSetHalvexSettings(const TsqTestSequenceElementCorvixSetHalvexSettings* copyFrom = nullptr);
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;

    quint8 waveform = 0;
    quint16 heartRate = 90;
    quint8 ecgAmplitude = 5;
    quint16 systolic = 125;
    quint16 diastolic = 85;
    quint8 temperature = 2;
    quint8 respirationRate = 2;
    quint8 baseImpedance = 1;
    quint8 deltaImpedance = 3;
    quint16 apnoeaDuration = 0;
    quint16 apnoeaInterval = 0;
    quint8 furtherBytes[FurtherBytes] = {}; // carried unchanged
};

} // namespace Ux
