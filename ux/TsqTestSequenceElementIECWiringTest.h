#pragma once

#include "ux/TsqTestSequenceElement.h"

namespace Ux {

// IEC lead wiring check.
class TsqTestSequenceElementIECWiringTest : public TsqTestSequenceElement
{
public:
    explicit TsqTestSequenceElementIECWiringTest(const TsqTestSequenceElementIECWiringTest* copyFrom = nullptr);
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;

    quint8 numberOfTests = 1;
};

} // namespace Ux
