#pragma once

#include "sequences/FixedListComboBox.h"

// Delta impedance of the respiration simulation in ohms.
class EcgDeltaImpComboBox : public FixedListComboBox
{
    Q_OBJECT
public:
    explicit EcgDeltaImpComboBox(QWidget* parent = nullptr);
};
