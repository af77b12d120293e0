#include "ux/TsqConditionByte.h"

namespace Ux {

QDataStream& operator<<(QDataStream& stream, const TsqConditionByte& byte)
{
    return stream << byte.conditions;
}

QDataStream& operator>>(QDataStream& stream, TsqConditionByte& byte)
{
    byte.conditions = 0;
    return stream >> byte.conditions;
}

QDebug operator<<(QDebug debug, const TsqConditionByte& byte)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "Ux::TsqConditionByte {\n\tConditions = " << byte.conditions
                    << "\n\tValid Conditions: ";
    static const char* const names[] = {"'Mains Polarity Reversed'", "'SFC Neutral OC'",
                                        "'SFC Earth OC'", "'SFC Source Reversed'"};
    for (int bit = 0; bit < 4; ++bit) {
        if (byte.validConditions & (1 << bit))
            debug << names[bit] << ' ';
    }
    debug << "\n}\n";
    return debug;
}

} // namespace Ux
