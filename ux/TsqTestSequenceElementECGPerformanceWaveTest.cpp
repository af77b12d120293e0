#include "ux/TsqTestSequenceElementECGPerformanceWaveTest.h"

#include "ux/TsqScaled.h"

namespace Ux {

TsqTestSequenceElementECGPerformanceWaveTest::TsqTestSequenceElementECGPerformanceWaveTest(
    const TsqTestSequenceElementECGPerformanceWaveTest* copyFrom)
    : TsqTestSequenceElement(8, 193)
{
    if (copyFrom) {
        waveform = copyFrom->waveform;
        waveAmplitude = copyFrom->waveAmplitude;
        waveFrequency = copyFrom->waveFrequency;
        duration = copyFrom->duration;
    }
}

void TsqTestSequenceElementECGPerformanceWaveTest::write(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::write(stream, withHeader);
    stream << waveform << waveAmplitude;
    TsqScaled::writeWord(stream, waveFrequency);
    stream << duration;
}

void TsqTestSequenceElementECGPerformanceWaveTest::read(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::read(stream, withHeader);
    stream >> waveform >> waveAmplitude;
    waveFrequency = TsqScaled::readWord(stream);
    stream >> duration;
}

} // namespace Ux
