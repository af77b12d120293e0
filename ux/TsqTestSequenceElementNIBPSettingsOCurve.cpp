#include "ux/TsqTestSequenceElementNIBPSettingsOCurve.h"

#include "ux/TsqText.h"

#include <algorithm>

namespace Ux {

namespace {
constexpr int maxNameLength = 31;
constexpr int fixedLength = 170;
} // namespace

TsqTestSequenceElementNIBPSettingsOCurve::TsqTestSequenceElementNIBPSettingsOCurve(
    const TsqTestSequenceElementNIBPSettingsOCurve* copyFrom)
    : TsqTestSequenceElement(0, 178)
{
    if (copyFrom) {
        systolic = copyFrom->systolic;
        diastolic = copyFrom->diastolic;
        word4 = copyFrom->word4;
        adultInfant = copyFrom->adultInfant;
        monitorName = copyFrom->monitorName;
        std::copy(&copyFrom->curve[0][0], &copyFrom->curve[0][0] + CurvePoints * 2, &curve[0][0]);
    }
    // The length follows the name; it is set again whenever the record is written.
    length = quint8(TsqText::writtenLength(monitorName, maxNameLength) + fixedLength);
}

void TsqTestSequenceElementNIBPSettingsOCurve::write(QDataStream& stream, bool withHeader)
{
    if (withHeader)
        length = quint8(TsqText::writtenLength(monitorName, maxNameLength) + fixedLength);
    TsqTestSequenceElement::write(stream, withHeader);
    stream << systolic << diastolic << word4 << adultInfant;
    TsqText::writeTerminated(stream, monitorName, maxNameLength);
    for (const auto& point : curve)
        stream << point[0] << point[1];
}

void TsqTestSequenceElementNIBPSettingsOCurve::read(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::read(stream, withHeader);
    stream >> systolic >> diastolic >> word4 >> adultInfant;
    monitorName = TsqText::readTerminated(stream, maxNameLength);
    for (auto& point : curve)
        stream >> point[0] >> point[1];
}

} // namespace Ux
