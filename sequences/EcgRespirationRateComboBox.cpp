#include "sequences/EcgRespirationRateComboBox.h"

EcgRespirationRateComboBox::EcgRespirationRateComboBox(QWidget* parent)
    : FixedListComboBox({"5", "10", "15", "30", "60", "120", "180"}, parent)
{
}
