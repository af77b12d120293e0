#pragma once

#include "database/SqElement.h"

namespace Sq {

// A test the user described: its instruction (BLimit) and its units (CLimit)
// as zero-terminated Latin-1 texts.
class UserTest : public Element
{
public:
    // The longest texts the sequence editor and the instruments take; longer
    // first-version texts are cut so that the length byte stays true.
    enum { MaxNameLength = 200, MaxUnitsLength = 25 };

    explicit UserTest(const Parameters& parameters) : Element(253, parameters) {}
    void write(QDataStream& stream) const override;
};

} // namespace Sq
