#include "ux/StatusString.h"

#include "ux/CodeTables.h"

namespace Ux {

QString StatusString::toString(int status)
{
    switch (status) {
    case StatusNone:
        return tr("", "There is no status for the result");
    case StatusDeleted:
        return tr("Deleted", "The result has been deleted");
    case StatusPass:
        return tr("Pass", "The result is a pass");
    case StatusFail:
        return tr("Fail", "The result is a fail");
    case StatusInfo:
        return tr("Info", "The result is just info. Pass/fail makes no sense for this test");
    case StatusAlert:
        return tr("Alert", "The result is a pass although it warants a warning");
    case StatusUploaded:
        return tr("Uploaded",
                  "There are no results because the asset has been uploaded without results");
    default:
        return QStringLiteral("?");
    }
}

} // namespace Ux
