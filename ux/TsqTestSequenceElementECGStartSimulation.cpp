#include "ux/TsqTestSequenceElementECGStartSimulation.h"

namespace Ux {

TsqTestSequenceElementECGStartSimulation::TsqTestSequenceElementECGStartSimulation()
    : TsqTestSequenceElement(8, 182)
{
}

void TsqTestSequenceElementECGStartSimulation::write(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::write(stream, withHeader);
    stream << byte0 << word1 << byte3 << word4;
}

void TsqTestSequenceElementECGStartSimulation::read(QDataStream& stream, bool withHeader)
{
    TsqTestSequenceElement::read(stream, withHeader);
    stream >> byte0 >> word1 >> byte3 >> word4;
}

} // namespace Ux
