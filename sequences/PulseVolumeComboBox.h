#pragma once

#include "sequences/FixedListComboBox.h"

// Low, Medium and High pulse volume. The simulators know two sets of values,
// {120, 180, 255} and {15, 30, 45}; the combo remembers which set the shown
// value came from so that a choice is stored in that set.
class PulseVolumeComboBox : public FixedListComboBox
{
    Q_OBJECT
public:
    explicit PulseVolumeComboBox(QWidget* parent = nullptr);

    // Selects the entry of a known value and takes its set; an unknown
    // value changes nothing.
    void setValue(int value);
    // The value of the chosen entry in the current set.
    int value() const;
    bool firstSet() const { return m_firstSet; }
    // The same position then stands for the value of the other set.
    void setFirstSet(bool first) { m_firstSet = first; }

private:
    bool m_firstSet = true;
};
