#include "sequences/LedStateComboBox.h"

LedStateComboBox::LedStateComboBox(QWidget* parent)
    : FixedListComboBox({tr("Red"), tr("Infra-red")}, parent)
{
}
