#include "results/ThresholdValidator.h"

#include <QLocale>

namespace {
QLocale pointWithoutGroups()
{
    QLocale point = QLocale::c();
    point.setNumberOptions(QLocale::RejectGroupSeparator);
    return point;
}
} // namespace

ThresholdValidator::ThresholdValidator(double bottom, double top, int decimals, QObject* parent)
    : QDoubleValidator(bottom, top, decimals, parent)
{
    setLocale(pointWithoutGroups());
}

QValidator::State ThresholdValidator::validate(QString& input, int& pos) const
{
    input.replace(QLatin1Char(','), QLatin1Char('.'));
    return QDoubleValidator::validate(input, pos);
}

double ThresholdValidator::value(const QString& text)
{
    QString point = text;
    point.replace(QLatin1Char(','), QLatin1Char('.'));
    return pointWithoutGroups().toDouble(point);
}
