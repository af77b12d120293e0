#include "ux/InstrumentTypeString.h"

#include "ux/CodeTables.h"

namespace Ux {

QString InstrumentTypeString::toString(int type)
{
    switch (type) {
    case InstrumentUnknown:
        return tr("", "Name for unknown tester");
    case InstrumentQ1:
        return tr("Tavisk Q1", "Name for the Tavisk tester");
    case InstrumentQ2:
        return tr("Tavisk Q2", "Name for the Tavisk tester");
    case InstrumentPresso:
        return tr("Tavisk Presso", "Name for the Tavisk tester");
    case InstrumentOxilo:
        return tr("Tavisk Oxilo", "Name for the Tavisk tester");
    case InstrumentCorvix:
        return tr("Tavisk Corvix", "Name for the Tavisk tester");
    case InstrumentQ3:
        return tr("Tavisk Q3", "Name for the Tavisk tester");
    default:
        return QStringLiteral("?");
    }
}

int InstrumentTypeString::fromName(const QString& name)
{
    // Order matters only if two translations ever coincide: the first wins.
    static const int order[] = {InstrumentQ1, InstrumentQ2, InstrumentCorvix,
                                InstrumentPresso, InstrumentOxilo, InstrumentQ3};
    for (int type : order) {
        if (name == toString(type))
            return type;
    }
    return InstrumentUnknown;
}

} // namespace Ux
