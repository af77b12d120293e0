#pragma once

#include "ux/TsqTestSequenceElement.h"
#include "ux/TsqConditionByte.h"

namespace Ux {

// Patient leakage: limits for B, BF and CF connections, each as normal AC,
// normal DC, single-fault AC and single-fault DC.
class TsqTestSequenceElementPatientLeakageTest : public TsqTestSequenceElement
{
public:
    enum { LimitCount = 12 };
    TsqTestSequenceElementPatientLeakageTest(quint8 id, int equipmentClass,
                                           const TsqTestSequenceElementPatientLeakageTest* copyFrom = nullptr);
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;

    quint8 duration = 2;
    double limits[LimitCount] = {};
    TsqConditionByte conditions;
};

} // namespace Ux
