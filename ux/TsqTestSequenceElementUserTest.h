#pragma once

#include "ux/TsqTestSequenceElement.h"
#include <QString>

namespace Ux {

// A test defined by the user: a name and the units of its value.
class TsqTestSequenceElementUserTest : public TsqTestSequenceElement
{
public:
    enum { MaxNameLength = 200, MaxUnitsLength = 25 };
    explicit TsqTestSequenceElementUserTest(const TsqTestSequenceElementUserTest* copyFrom = nullptr);
    void write(QDataStream& stream, bool withHeader) override;
    void read(QDataStream& stream, bool withHeader) override;

    QString testName;
    QString testUnits;
};

} // namespace Ux
