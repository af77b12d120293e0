#pragma once

#include "sequences/FixedListComboBox.h"

// Temperature probe type and simulated temperature.
class EcgPatTempComboBox : public FixedListComboBox
{
    Q_OBJECT
public:
    explicit EcgPatTempComboBox(QWidget* parent = nullptr);
};
