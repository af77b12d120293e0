#include "ux/TsqTestSequenceElementCorvixSetPressoSettings.h"

#include "ux/TsqText.h"

#include <algorithm>

namespace Ux {

namespace {
constexpr int maxNameLength = 31;
constexpr int fixedLength = 176;
} // namespace

TsqTestSequenceElementCorvixSetPressoSettings::TsqTestSequenceElementCorvixSetPressoSettings(
    const TsqTestSequenceElementCorvixSetPressoSettings* copyFrom)
    : TsqTestSequenceElement(maxNameLength + fixedLength, 186)
{
    if (copyFrom) {
        systolic = copyFrom->systolic;
        diastolic = copyFrom->diastolic;
        word4 = copyFrom->word4;
        byte6 = copyFrom->byte6;
        byte7 = copyFrom->byte7;
        heartRate = copyFrom->heartRate;
        byte10 = copyFrom->byte10;
        byte11 = copyFrom->byte11;
        pulseVolume = copyFrom->pulseVolume;
        monitorName = copyFrom->monitorName;
        std::copy(&copyFrom->curve[0][0], &copyFrom->curve[0][0] + CurvePoints * 2, &curve[0][0]);
    }
}

void TsqTestSequenceElementCorvixSetPressoSettings::write(QDataStream& stream, bool withHeader)
{
    if (withHeader)
        length = quint8(TsqText::writtenLength(monitorName, maxNameLength) + fixedLength);
    TsqTestSequenceElement::write(stream, withHeader);
    stream << systolic << diastolic << word4 << byte6 << byte7 << heartRate << byte10 << byte11
           << pulseVolume;
    TsqText::writeTerminated(stream, monitorName, maxNameLength);
    for (const auto& point : curve)
        stream << point[0] << point[1];
}

void TsqTestSequenceElementCorvixSetPressoSettings::read(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::read(stream, withHeader);
    stream >> systolic >> diastolic >> word4 >> byte6 >> byte7 >> heartRate >> byte10 >> byte11
        >> pulseVolume;
    monitorName = TsqText::readTerminated(stream, maxNameLength);
    for (auto& point : curve)
        stream >> point[0] >> point[1];
}

} // namespace Ux
