#include "ux/TsqTestSequenceElementSPO2Simulation.h"

#include "ux/TsqScaled.h"

namespace Ux {

TsqTestSequenceElementSPO2Simulation::TsqTestSequenceElementSPO2Simulation(
    quint8 id, const TsqTestSequenceElementSPO2Simulation* copyFrom)
    : TsqTestSequenceElement(16, id)
{
    if (copyFrom) {
        duration = copyFrom->duration;
        heartRate = copyFrom->heartRate;
        perfusion = copyFrom->perfusion;
        skinColour = copyFrom->skinColour;
        byte5 = copyFrom->byte5;
        byte6 = copyFrom->byte6;
        spo2 = copyFrom->spo2;
        word9 = copyFrom->word9;
        word11 = copyFrom->word11;
        ledState = copyFrom->ledState;
    }
}

void TsqTestSequenceElementSPO2Simulation::write(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::write(stream, withHeader);
    stream << duration << heartRate;
    TsqScaled::writeByte(stream, perfusion);
    stream << skinColour << byte5 << byte6;
    TsqScaled::writeWord(stream, spo2);
    stream << word9 << word11 << ledState;
}

void TsqTestSequenceElementSPO2Simulation::read(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::read(stream, withHeader);
    stream >> duration >> heartRate;
    perfusion = TsqScaled::readByte(stream);
    stream >> skinColour >> byte5 >> byte6;
    spo2 = TsqScaled::readWord(stream);
    stream >> word9 >> word11 >> ledState;
}

} // namespace Ux
