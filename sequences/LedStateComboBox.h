#pragma once

#include "sequences/FixedListComboBox.h"

// The LED whose light the SpO2 simulator imitates.
class LedStateComboBox : public FixedListComboBox
{
    Q_OBJECT
public:
    explicit LedStateComboBox(QWidget* parent = nullptr);
};
