#pragma once

#include <QDataStream>

namespace Ux {

// Fields carried as ten times their value, truncated, in one or two bytes.
// Negative values (and NaN) are written as 0; larger values keep the low bits.
class TsqScaled
{
public:
    TsqScaled() = delete;

    static void writeByte(QDataStream& stream, double value);
    static double readByte(QDataStream& stream);
    static void writeWord(QDataStream& stream, double value);
    static double readWord(QDataStream& stream);

    // trunc(value x 10) reduced modulo 'modulus'.
    static quint32 tenths(double value, double modulus);
};

} // namespace Ux
