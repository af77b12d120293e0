#pragma once

#include "ux/TsqTestSequenceElement.h"

namespace Ux {

// Pressure held at a set point for a duration (leak, static pressure, IBP static).
class TsqTestSequenceElementNIBPLeakTest : public TsqTestSequenceElement
{
public:
    explicit TsqTestSequenceElementNIBPLeakTest(quint8 id, const TsqTestSequenceElementNIBPLeakTest* copyFrom = nullptr);
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;

    quint16 setPoint = 200;
    quint16 duration = 30;
};

} // namespace Ux
