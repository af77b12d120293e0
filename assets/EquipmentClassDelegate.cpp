#include "assets/EquipmentClassDelegate.h"

#include "ux/EquipmentClassString.h"

EquipmentClassDelegate::EquipmentClassDelegate(QObject* parent) : CodeComboDelegate(parent) {}

QList<int> EquipmentClassDelegate::codes() const
{
    return {0, 1, 2};
}

QString EquipmentClassDelegate::codeText(int code) const
{
    return Ux::EquipmentClassString::toString(code);
}
