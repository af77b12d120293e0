#pragma once

#include "ux/TsqTestSequenceElement.h"

namespace Ux {

// Insulation test: duration in seconds, pass limit in megohms, number of tests.
class TsqTestSequenceElementInsulationTest : public TsqTestSequenceElement
{
public:
    TsqTestSequenceElementInsulationTest(quint8 id, int equipmentClass,
                                       const TsqTestSequenceElementInsulationTest* copyFrom = nullptr);
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;

    quint8 duration = 2;
    double limit = 1.0;
    quint8 numberOfTests = 1;
};

} // namespace Ux
