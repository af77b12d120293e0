#pragma once

#include "database/SqElement.h"

namespace Sq {

// IEC lead wiring: the number of tests.
class IECLeadPolarityTest : public Element
{
public:
    explicit IECLeadPolarityTest(const Parameters& parameters) : Element(145, parameters) {}
    void write(QDataStream& stream) const override;
};

} // namespace Sq
