#include "results/InstrumentTypeComboBox.h"

#include "ux/InstrumentTypeString.h"

InstrumentTypeComboBox::InstrumentTypeComboBox(QWidget* parent) : QComboBox(parent)
{
    // Type 2 only ever arrives from downloads; it is not offered for new entries.
    for (int type : {1, 4, 8, 16, 32})
        addItem(Ux::InstrumentTypeString::toString(type), type);
}
