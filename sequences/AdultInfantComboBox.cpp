#include "sequences/AdultInfantComboBox.h"

AdultInfantComboBox::AdultInfantComboBox(QWidget* parent) : QComboBox(parent)
{
    addItem(tr("Adult"), 0);
    addItem(tr("Infant"), 1);
}
