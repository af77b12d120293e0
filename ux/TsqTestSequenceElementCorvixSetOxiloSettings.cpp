#include "ux/TsqTestSequenceElementCorvixSetOxiloSettings.h"

#include "ux/TsqScaled.h"
#include "ux/TsqText.h"

namespace Ux {

namespace {
constexpr int maxNameLength = 31;
constexpr int fixedLength = 18;
} // namespace

TsqTestSequenceElementCorvixSetOxiloSettings::TsqTestSequenceElementCorvixSetOxiloSettings(
    const TsqTestSequenceElementCorvixSetOxiloSettings* copyFrom)
    : TsqTestSequenceElement(maxNameLength + fixedLength, 187)
{
    if (copyFrom) {
        monitorName = copyFrom->monitorName;
        byteA = copyFrom->byteA;
        monitorIndex = copyFrom->monitorIndex;
        heartRate = copyFrom->heartRate;
        perfusion = copyFrom->perfusion;
        skinColour = copyFrom->skinColour;
        byteC = copyFrom->byteC;
        byteD = copyFrom->byteD;
        spo2 = copyFrom->spo2;
        wordE = copyFrom->wordE;
        wordF = copyFrom->wordF;
        ledState = copyFrom->ledState;
    }
}

void TsqTestSequenceElementCorvixSetOxiloSettings::write(QDataStream& stream, bool withHeader)
{
    if (withHeader)
        length = quint8(TsqText::writtenLength(monitorName, maxNameLength) + fixedLength);
    TsqTestSequenceElement::write(stream, withHeader);
    TsqText::writeTerminated(stream, monitorName, maxNameLength);
    stream << byteA << monitorIndex << heartRate;
    TsqScaled::writeByte(stream, perfusion);
    stream << skinColour << byteC << byteD;
    TsqScaled::writeWord(stream, spo2);
    stream << wordE << wordF << ledState;
}

void TsqTestSequenceElementCorvixSetOxiloSettings::read(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::read(stream, withHeader);
    monitorName = TsqText::readTerminated(stream, maxNameLength);
    stream >> byteA >> monitorIndex >> heartRate;
    perfusion = TsqScaled::readByte(stream);
    stream >> skinColour >> byteC >> byteD;
    spo2 = TsqScaled::readWord(stream);
    stream >> wordE >> wordF >> ledState;
}

} // namespace Ux
