#include "ux/TsqPatval.h"

#include <QDebug>
#include <cmath>

namespace Ux {

namespace {

constexpr float maximumValue = 15500.0f;

quint16 digits(long double scaled)
{
    return quint16(std::trunc(scaled + 0.5L));
}

} // namespace

quint16 TsqPatval::encode(float value)
{
    // NaN fails every comparison; it must not reach the integer conversion.
    if (!(value >= 0.0f)) {
        qDebug() << "Warning - Patval <0. Setting to 0";
        value = 0.0f;
    } else if (value > maximumValue) {
        qDebug() << "Warning - Patval >15500.0 Setting to 15500.0";
        value = maximumValue;
    }
    const long double v = value;
    if (v >= 1000.0L)
        return digits(v);
    if (v >= 100.0L)
        return digits(v * 10.0L) | 0x4000;
    if (v >= 10.0L)
        return digits(v * 100.0L) | 0x8000;
    return digits(v * 1000.0L) | 0xC000;
}

float TsqPatval::decode(quint16 word)
{
    const float value = float(word & 0x3FFF);
    switch (word >> 14) {
    case 3:
        return value / 1000.0f;
    case 2:
        return value / 100.0f;
    case 1:
        return value / 10.0f;
    default:
        return value;
    }
}

void TsqPatval::write(QDataStream& stream, double value)
{
    // Keep out-of-range doubles away from the float conversion.
    if (value > 1.0e9)
        value = 1.0e9;
    stream << encode(float(value));
}

double TsqPatval::read(QDataStream& stream)
{
    quint16 word = 0;
    stream >> word;
    return decode(word);
}

QDataStream& operator<<(QDataStream& stream, const TsqPatval& patval)
{
    return stream << patval.word;
}

QDataStream& operator>>(QDataStream& stream, TsqPatval& patval)
{
    patval.word = 0;
    return stream >> patval.word;
}

} // namespace Ux
