#pragma once

#include "ux/TsqTestSequenceElement.h"

namespace Ux {

// SpO2 simulation and chronometer steps.
class TsqTestSequenceElementSPO2Simulation : public TsqTestSequenceElement
{
public:
    explicit TsqTestSequenceElementSPO2Simulation(quint8 id, const TsqTestSequenceElementSPO2Simulation* copyFrom = nullptr);
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;

    quint8 duration = 30;
    quint16 heartRate = 90;
    double perfusion = 5.0;
    quint8 skinColour = 1;
    quint8 byte5 = 0;
    quint8 byte6 = 0;
    double spo2 = 90.0;
    quint16 word9 = 0;
    quint16 word11 = 0;
    quint8 ledState = 1;
};

} // namespace Ux
