#pragma once

#include "sequences/FixedListComboBox.h"

// The shape of an ECG performance test wave.
class PerformanceWaveformComboBox : public FixedListComboBox
{
    Q_OBJECT
public:
    explicit PerformanceWaveformComboBox(QWidget* parent = nullptr);
};
