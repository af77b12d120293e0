#pragma once

#include "ux/TsqTestSequenceElement.h"
#include "ux/TsqConditionByte.h"

namespace Ux {

// F-type patient leakage: BF normal, BF single fault, CF normal, CF single fault.
class TsqTestSequenceElementPatientLeakageFTest : public TsqTestSequenceElement
{
public:
    enum { LimitCount = 4 };
    explicit TsqTestSequenceElementPatientLeakageFTest(quint8 id,
                                                const TsqTestSequenceElementPatientLeakageFTest* copyFrom = nullptr);
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;

    quint8 duration = 2;
    double limits[LimitCount] = {};
    TsqConditionByte conditions;
};

} // namespace Ux
