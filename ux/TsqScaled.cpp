#include "ux/TsqScaled.h"

#include <cmath>

namespace Ux {

quint32 TsqScaled::tenths(double value, double modulus)
{
    const double scaled = std::trunc(value * 10.0);
    if (!(scaled >= 0.0) || std::isinf(scaled))
        return 0;
    return quint32(std::fmod(scaled, modulus));
}

void TsqScaled::writeByte(QDataStream& stream, double value)
{
    stream << quint8(tenths(value, 256.0));
}

double TsqScaled::readByte(QDataStream& stream)
{
    quint8 raw = 0;
    stream >> raw;
    return raw * 0.1;
}

void TsqScaled::writeWord(QDataStream& stream, double value)
{
    stream << quint16(tenths(value, 65536.0));
}

double TsqScaled::readWord(QDataStream& stream)
{
    quint16 raw = 0;
    stream >> raw;
    return raw * 0.1;
}

} // namespace Ux
