#include "assets/EquipmentClassComboBox.h"

#include "ux/EquipmentClassString.h"

EquipmentClassComboBox::EquipmentClassComboBox(QWidget* parent) : QComboBox(parent)
{
    for (int equipmentClass = 0; equipmentClass <= 2; ++equipmentClass)
        addItem(Ux::EquipmentClassString::toString(equipmentClass), equipmentClass);
}
