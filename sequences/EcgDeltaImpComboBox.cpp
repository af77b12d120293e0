#include "sequences/EcgDeltaImpComboBox.h"

EcgDeltaImpComboBox::EcgDeltaImpComboBox(QWidget* parent)
    : FixedListComboBox({"0.1", "0.5", "1.0", "1.5"}, parent)
{
}
