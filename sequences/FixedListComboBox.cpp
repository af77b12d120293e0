#include "sequences/FixedListComboBox.h"

FixedListComboBox::FixedListComboBox(const QStringList& items, QWidget* parent) : QComboBox(parent)
{
    addItems(items);
}
