#include "sequences/SkinColourComboBox.h"

SkinColourComboBox::SkinColourComboBox(QWidget* parent)
    : FixedListComboBox({tr("Light"), tr("Medium"), tr("Dark")}, parent)
{
}
