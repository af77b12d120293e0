#pragma once

#include <QDebug>

namespace Ux {

// Status byte of a result element: bits 0-1 status (0 = info), bit 2 no value,
// bit 3 value negative, bits 4-5 relation + 1, bits 6-7 the AC/DC code.
class TsqResultStatusByte
{
public:
    int status() const { return (value & 0x03) == 0 ? 4 : (value & 0x03); }
    bool resultNull() const { return value & 0x04; }
    bool resultNegative() const { return value & 0x08; }
    int relation() const { return ((value >> 4) & 0x03) - 1; }
    int acDc() const { return value >> 6; }
    void setResultNegative() { value |= 0x08; }

    // A negative result travels as its magnitude with the negative bit set;
    // the bit is never cleared here.
    float magnitudeOf(float result)
    {
        if (result < 0.0f) {
            setResultNegative();
            return -result;
        }
        return result;
    }
    float signedResult(float magnitude) const { return resultNegative() ? -magnitude : magnitude; }

    quint8 value = 0;
};

QDebug operator<<(QDebug debug, const TsqResultStatusByte& byte);

} // namespace Ux
