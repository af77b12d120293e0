#pragma once

#include "sequences/FixedListComboBox.h"

// The ECG rhythm that the patient simulator plays.
class EcgWaveformComboBox : public FixedListComboBox
{
    Q_OBJECT
public:
    explicit EcgWaveformComboBox(QWidget* parent = nullptr);
};
