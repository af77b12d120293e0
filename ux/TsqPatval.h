#pragma once

#include <QDataStream>

namespace Ux {

// The packed 16-bit decimal of the instrument format: bits 0-13 the digits,
// bits 14-15 the number of decimals. It has no sign and no "no value" marker.
class TsqPatval
{
public:
    TsqPatval() = default;
    explicit TsqPatval(float value) : word(encode(value)) {}

    float value() const { return decode(word); }

    // Values below 0 (and NaN) become 0, values above 15500 become 15500.
    static quint16 encode(float value);
    static float decode(quint16 word);

    // Element fields hold doubles; they pass through single precision.
    static void write(QDataStream& stream, double value);
    static double read(QDataStream& stream);

    quint16 word = 0;
};

QDataStream& operator<<(QDataStream& stream, const TsqPatval& patval);
QDataStream& operator>>(QDataStream& stream, TsqPatval& patval);

} // namespace Ux
