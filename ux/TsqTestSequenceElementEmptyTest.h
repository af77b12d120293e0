#pragma once

#include "ux/TsqTestSequenceElement.h"

namespace Ux {

// A step without settings (visual test and the end markers of simulator runs).
class TsqTestSequenceElementEmptyTest : public TsqTestSequenceElement
{
public:
    explicit TsqTestSequenceElementEmptyTest(quint8 id);
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;


};

} // namespace Ux
