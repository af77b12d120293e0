#include "ux/SingleFaultConditionString.h"

#include "ux/CodeTables.h"

namespace Ux {

QString SingleFaultConditionString::toString(int code)
{
    switch (code) {
    case SingleFaultNeutralOpen:
        return tr("Neutral O/C", "Neutral open circuit single fault condition");
    case SingleFaultEarthOpen:
        return tr("Earth O/C", "Earth open circuit single fault condition");
    case SingleFaultSourceReversed:
        return tr("Source Reversed", "SIP/SOP reversed polarity single fault condition");
    default:
        return tr(" - ", "Single fault condition not applicable");
    }
}

} // namespace Ux
