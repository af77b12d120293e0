#pragma once

#include "ux/TsqTestSequenceElement.h"
#include <QString>

namespace Ux {

// Blood-pressure settings of the vital-signs simulator, with an O-curve.
class TsqTestSequenceElementCorvixSetPressoSettings : public TsqTestSequenceElement
{
public:
    enum { CurvePoints = 40 };
    explicit TsqTestSequenceElementCorvixSetPressoSettings(const TsqTestSequenceElementCorvixSetPressoSettings* copyFrom = nullptr);
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;

    quint16 systolic = 120;
    quint16 diastolic = 80;
    quint16 word4 = 90;
    quint8 byte6 = 180;
    quint8 byte7 = 1;
    quint16 heartRate = 90;
    quint8 byte10 = 0;
    quint8 byte11 = 0;
    quint8 pulseVolume = 120;
    QString monitorName = QStringLiteral("Datex-Omeda S5");
    quint16 curve[CurvePoints][2] = {};
};

} // namespace Ux
