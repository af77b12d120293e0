#pragma once

#include "ux/TsqTestSequenceElement.h"

namespace Ux {

// ECG simulation start; only ever read from instrument data.
class TsqTestSequenceElementECGStartSimulation : public TsqTestSequenceElement
{
public:
    TsqTestSequenceElementECGStartSimulation();
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;

    quint8 byte0 = 1;
    quint16 word1 = 60;
    quint8 byte3 = 1;
    quint16 word4 = 1;
};

} // namespace Ux
