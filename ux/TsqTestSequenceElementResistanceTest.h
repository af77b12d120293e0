#pragma once

#include "ux/TsqTestSequenceElement.h"

namespace Ux {

// Earth bond: duration in seconds, pass limit in ohms, number of tests.
class TsqTestSequenceElementResistanceTest : public TsqTestSequenceElement
{
public:
    explicit TsqTestSequenceElementResistanceTest(quint8 id, const TsqTestSequenceElementResistanceTest* copyFrom = nullptr);
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;

    quint8 duration = 2;
    double limit = 0.2;
    quint8 numberOfTests = 1;
};

} // namespace Ux
