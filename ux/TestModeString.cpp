#include "ux/TestModeString.h"

#include "ux/CodeTables.h"

namespace Ux {

QString TestModeString::toString(int mode)
{
    switch (mode) {
    case TestModeManual:
        return tr("Manual", "A manual test");
    case TestModeSemiAutomatic:
        return tr("Semi-automatic", "A Semi-automatic test");
    case TestModeAutomatic:
        return tr("Automatic", "A fully automatic test");
    default:
        return QStringLiteral("?");
    }
}

} // namespace Ux
