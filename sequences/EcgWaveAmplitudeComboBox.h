#pragma once

#include "sequences/FixedListComboBox.h"

// ECG amplitudes in millivolts; numbers, so not translated.
class EcgWaveAmplitudeComboBox : public FixedListComboBox
{
    Q_OBJECT
public:
    explicit EcgWaveAmplitudeComboBox(QWidget* parent = nullptr);
};
