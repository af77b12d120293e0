#pragma once

#include <QDataStream>
#include <QDebug>

namespace Ux {

// The test-condition byte (TestConditions bits in the low half, the patient
// connection class in the high half of result records) together with the mask
// of conditions the user may choose. Only the byte travels.
class TsqConditionByte
{
public:
    TsqConditionByte() = default;
    TsqConditionByte(quint8 conditions, quint8 validConditions)
        : conditions(conditions), validConditions(validConditions)
    {
    }

    int testConditions() const { return conditions & 0x0F; }
    int patientConnection() const { return conditions >> 4; }

    quint8 conditions = 0;
    quint8 validConditions = 0;
};

QDataStream& operator<<(QDataStream& stream, const TsqConditionByte& byte);
QDataStream& operator>>(QDataStream& stream, TsqConditionByte& byte);
QDebug operator<<(QDebug debug, const TsqConditionByte& byte);

} // namespace Ux
