#pragma once

#include "ux/TsqTestSequenceElement.h"

namespace Ux {

// ECG performance waveform output.
class TsqTestSequenceElementECGPerformanceWaveTest : public TsqTestSequenceElement
{
public:
    explicit TsqTestSequenceElementECGPerformanceWaveTest(const TsqTestSequenceElementECGPerformanceWaveTest* copyFrom = nullptr);
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;

    quint8 waveform = 0;
    quint8 waveAmplitude = 0;
    double waveFrequency = 1.0;
    quint16 duration = 20;
};

} // namespace Ux
