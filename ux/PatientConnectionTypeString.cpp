#include "ux/PatientConnectionTypeString.h"

#include "ux/CodeTables.h"

namespace Ux {

QString PatientConnectionTypeString::toString(int type, bool shortForm)
{
    switch (type) {
    case PatientConnectionB:
        return shortForm ? tr("B", "A short string for type B type patient connections")
                         : tr("Type B", "A longer string for type B type patient connections");
    case PatientConnectionBF:
        return shortForm ? tr("BF", "A short string for type BF type patient connections")
                         : tr("Type BF", "A longer string for type BF type patient connections");
    case PatientConnectionCF:
        return shortForm ? tr("CF", "A short string for type CF type patient connections")
                         : tr("Type CF", "A longer string for type CF type patient connections");
    default:
        return QStringLiteral("?");
    }
}

int PatientConnectionTypeString::fromString(const QString& text)
{
    for (int type : {PatientConnectionB, PatientConnectionBF, PatientConnectionCF}) {
        if (text == toString(type, true) || text == toString(type, false))
            return type;
    }
    return 0;
}

} // namespace Ux
