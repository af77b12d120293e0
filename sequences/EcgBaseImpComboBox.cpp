#include "sequences/EcgBaseImpComboBox.h"

EcgBaseImpComboBox::EcgBaseImpComboBox(QWidget* parent)
    : FixedListComboBox({"250", "500", "750", "1000"}, parent)
{
}
