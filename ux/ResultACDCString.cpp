#include "ux/ResultACDCString.h"

#include "ux/CodeTables.h"

namespace Ux {

QString ResultACDCString::toString(int code)
{
    switch (code) {
    case ResultACDCCombined:
        return tr("AC/DC combined",
                  "Both AC and DC tests performed or the tests AC/DC has no meaning in this context");
    case ResultAC:
        return tr("AC", "AC tests performed");
    case ResultDC:
        return tr("DC", "DC tests performed");
    default:
        return tr("?", "Unknown AC/DC test");
    }
}

} // namespace Ux
