#pragma once

#include <QString>

namespace Ux {

// One applied-part slot of a medical-appliance result.
struct TsqAppliedPart
{
    quint8 numConnections = 0;
    int appliedPartClass = 0; // patient-connection class
    QString name;
};

} // namespace Ux
