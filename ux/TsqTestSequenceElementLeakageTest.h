#pragma once

#include "ux/TsqTestSequenceElement.h"
#include "ux/TsqConditionByte.h"

namespace Ux {

// Leakage test with a normal-condition and a single-fault limit in microamps.
class TsqTestSequenceElementLeakageTest : public TsqTestSequenceElement
{
public:
    TsqTestSequenceElementLeakageTest(quint8 id, int equipmentClass,
                                    const TsqTestSequenceElementLeakageTest* copyFrom = nullptr);
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;

    quint8 duration = 2;
    double limit = 0.0;
    double sfcLimit = 0.0;
    TsqConditionByte conditions;
};

} // namespace Ux
