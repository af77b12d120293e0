#pragma once

#include "sequences/FixedListComboBox.h"

// Respiration rates in breaths per minute.
class EcgRespirationRateComboBox : public FixedListComboBox
{
    Q_OBJECT
public:
    explicit EcgRespirationRateComboBox(QWidget* parent = nullptr);
};
