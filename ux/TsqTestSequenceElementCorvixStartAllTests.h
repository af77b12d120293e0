#pragma once

#include "ux/TsqTestSequenceElement.h"

namespace Ux {

// Starts every configured test of the vital-signs simulator.
class TsqTestSequenceElementCorvixStartAllTests : public TsqTestSequenceElement
{
public:
    explicit TsqTestSequenceElementCorvixStartAllTests(const TsqTestSequenceElementCorvixStartAllTests* copyFrom = nullptr);
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;

    quint8 duration = 30;
};

} // namespace Ux
