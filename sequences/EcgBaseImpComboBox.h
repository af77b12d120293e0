#pragma once

#include "sequences/FixedListComboBox.h"

// Base impedance of the respiration simulation in ohms.
class EcgBaseImpComboBox : public FixedListComboBox
{
    Q_OBJECT
public:
    explicit EcgBaseImpComboBox(QWidget* parent = nullptr);
};
