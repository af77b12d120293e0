#pragma once

#include "database/SqElement.h"

namespace Sq {

// Applied-part leakage: duration, the first B and the first C limit.
class AppliedPartLeakageTest : public Element
{
public:
    using Element::Element;
    void write(QDataStream& stream) const override;
};

} // namespace Sq
