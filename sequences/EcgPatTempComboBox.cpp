#include "sequences/EcgPatTempComboBox.h"

EcgPatTempComboBox::EcgPatTempComboBox(QWidget* parent)
    : FixedListComboBox({"YSI400 25C", "YSI400 33C", "YSI400 37C", "YSI400 41C", "YSI700 25C", "YSI700 33C", "YSI700 37C", "YSI700 41C"}, parent)
{
}
