#pragma once

#include <QDebug>

namespace Ux {

// Second condition byte of a result element: the high half is the patient
// connection class of the auxiliary connection.
class TsqResultConditionByte2
{
public:
    int patientConnection() const { return value >> 4; }

    quint8 value = 0;
};

inline QDebug operator<<(QDebug debug, const TsqResultConditionByte2& byte)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "Ux::TsqResultConditionByte2 {\n\tPatient Connection = "
                    << byte.patientConnection() << "\n}\n";
    return debug;
}

} // namespace Ux
