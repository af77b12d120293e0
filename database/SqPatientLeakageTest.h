#pragma once

#include "database/SqElement.h"

namespace Sq {

// Patient leakage: duration, eight B and four C limits, test conditions.
class PatientLeakageTest : public Element
{
public:
    using Element::Element;
    void write(QDataStream& stream) const override;
};

} // namespace Sq
