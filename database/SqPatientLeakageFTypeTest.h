#pragma once

#include "database/SqElement.h"

namespace Sq {

// F-type patient leakage: duration, two B and two C limits, test conditions.
class PatientLeakageFTypeTest : public Element
{
public:
    using Element::Element;
    void write(QDataStream& stream) const override;
};

} // namespace Sq
