#include "ux/TestTypeString.h"

#include "ux/CodeTables.h"

namespace Ux {

QString TestTypeString::toString(int type)
{
    switch (type) {
    case TestTypeUnknown:
        return tr("Unknown", "Unrecognised test type");
    case TestTypeVisualOnly:
        return tr("Visual Only", "A visual inspection test");
    case TestTypeFullTest:
        return tr("Full test", "A full electrical test");
    default:
        return QStringLiteral("?");
    }
}

} // namespace Ux
