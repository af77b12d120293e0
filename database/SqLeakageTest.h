#pragma once

#include "database/SqElement.h"

namespace Sq {

// Earth, enclosure and equipment leakage: duration, normal and single-fault
// limits, test conditions.
class LeakageTest : public Element
{
public:
    using Element::Element;
    void write(QDataStream& stream) const override;
};

} // namespace Sq
