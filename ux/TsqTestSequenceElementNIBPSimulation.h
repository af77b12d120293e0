#pragma once

#include "ux/TsqTestSequenceElement.h"

namespace Ux {

// Blood-pressure simulation run.
class TsqTestSequenceElementNIBPSimulation : public TsqTestSequenceElement
{
public:
    explicit TsqTestSequenceElementNIBPSimulation(const TsqTestSequenceElementNIBPSimulation* copyFrom = nullptr);
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;

    quint8 numberOfTests = 1;
    quint16 heartRate = 60;
    quint8 byte3 = 0;
    quint8 byte4 = 0;
    quint8 pulseVolume = 180;
};

} // namespace Ux
