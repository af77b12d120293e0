#pragma once

#include "ux/TsqTestSequenceElement.h"

namespace Ux {

// Applied-part leakage with one limit for BF and one for CF parts.
class TsqTestSequenceElementAppliedPartLeakageTest : public TsqTestSequenceElement
{
public:
    explicit TsqTestSequenceElementAppliedPartLeakageTest(quint8 id,
                                                  const TsqTestSequenceElementAppliedPartLeakageTest* copyFrom = nullptr);
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;

    quint8 duration = 2;
    double bfLimit = 5000.0;
    double cfLimit = 50.0;
};

} // namespace Ux
