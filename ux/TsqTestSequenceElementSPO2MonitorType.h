#pragma once

#include "ux/TsqTestSequenceElement.h"
#include <QString>

namespace Ux {

// The SpO2 monitor that the simulator imitates.
class TsqTestSequenceElementSPO2MonitorType : public TsqTestSequenceElement
{
public:
    explicit TsqTestSequenceElementSPO2MonitorType(const TsqTestSequenceElementSPO2MonitorType* copyFrom = nullptr);
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;

    QString monitorName = QStringLiteral("Nellcor (standard)");
    quint8 byte1 = 0;
    quint8 monitorIndex = 0;
};

} // namespace Ux
