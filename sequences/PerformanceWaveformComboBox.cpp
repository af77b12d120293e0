#include "sequences/PerformanceWaveformComboBox.h"

PerformanceWaveformComboBox::PerformanceWaveformComboBox(QWidget* parent)
    : FixedListComboBox({tr("Sine Wave"), tr("Square Wave"), tr("Triangle Wave"), tr("Pulse Wave")}, parent)
{
}
