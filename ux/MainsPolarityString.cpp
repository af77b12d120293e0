#include "ux/MainsPolarityString.h"

#include "ux/CodeTables.h"

namespace Ux {

QString MainsPolarityString::toString(int code)
{
    if (code == MainsPolarityReversed)
        return tr("Reversed", "Reversed mains polarity");
    return tr("Normal", "Normal mains polarity");
}

} // namespace Ux
