#pragma once

#include "ux/TsqTestSequenceElement.h"
#include <QString>

namespace Ux {

// SpO2 settings of the vital-signs simulator.
class TsqTestSequenceElementCorvixSetOxiloSettings : public TsqTestSequenceElement
{
public:
    explicit TsqTestSequenceElementCorvixSetOxiloSettings(const TsqTestSequenceElementCorvixSetOxiloSettings* copyFrom = nullptr);
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;

    QString monitorName = QStringLiteral("Masimo");
    quint8 byteA = 0;
    quint8 monitorIndex = 3;
    quint16 heartRate = 90;
    double perfusion = 5.0;
    quint8 skinColour = 1;
    quint8 byteC = 0;
    quint8 byteD = 0;
    double spo2 = 95.0;
    quint16 wordE = 0;
    quint16 wordF = 0;
    quint8 ledState = 1;
};

} // namespace Ux
