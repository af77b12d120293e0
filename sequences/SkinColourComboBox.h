#pragma once

#include "sequences/FixedListComboBox.h"

// The patient skin colour of an SpO2 simulation.
class SkinColourComboBox : public FixedListComboBox
{
    Q_OBJECT
public:
    explicit SkinColourComboBox(QWidget* parent = nullptr);
};
