#pragma once

#include "database/SqElement.h"

namespace Sq {

// A visual inspection: no parameters.
class VisualTest : public Element
{
public:
    explicit VisualTest(const Parameters& parameters) : Element(1, parameters) {}
    void write(QDataStream& stream) const override { writeHeader(stream, 2); }
};

} // namespace Sq
