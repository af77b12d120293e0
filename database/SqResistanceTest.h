#pragma once

#include "database/SqElement.h"

namespace Sq {

// Earth bond and insulation: duration, limit, number of tests.
class ResistanceTest : public Element
{
public:
    using Element::Element;
    void write(QDataStream& stream) const override;
};

} // namespace Sq
