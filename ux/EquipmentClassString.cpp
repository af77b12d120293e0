#include "ux/EquipmentClassString.h"

#include "ux/CodeTables.h"

namespace Ux {

QString EquipmentClassString::toString(int equipmentClass)
{
    switch (equipmentClass) {
    case EquipmentClassNone:
        return tr(" - ", "No equipment class");
    case EquipmentClassI:
        return tr("Class I", "Type Class 1 equipment class");
    case EquipmentClassII:
        return tr("Class II", "Type Class 2 equipment class");
    default:
        return tr("?", "Unknown equipment class");
    }
}

} // namespace Ux
