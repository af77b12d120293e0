#pragma once

#include "ux/TsqTestSequenceElement.h"
#include <QString>

namespace Ux {

// Blood-pressure simulator settings with a named O-curve of 40 points.
class TsqTestSequenceElementNIBPSettingsOCurve : public TsqTestSequenceElement
{
public:
    enum { CurvePoints = 40 };
    explicit TsqTestSequenceElementNIBPSettingsOCurve(const TsqTestSequenceElementNIBPSettingsOCurve* copyFrom = nullptr);
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;

    quint16 systolic = 120;
    quint16 diastolic = 80;
    quint16 word4 = 90;
    quint8 adultInfant = 180; // 180 adult, 30 infant
    QString monitorName = QStringLiteral("Default");
    quint16 curve[CurvePoints][2] = {};
};

} // namespace Ux
