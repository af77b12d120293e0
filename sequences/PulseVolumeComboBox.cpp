#include "sequences/PulseVolumeComboBox.h"

namespace {
constexpr int values[6] = {120, 180, 255, 15, 30, 45};
} // namespace

PulseVolumeComboBox::PulseVolumeComboBox(QWidget* parent)
    : FixedListComboBox({tr("Low"), tr("Medium"), tr("High")}, parent)
{
}

void PulseVolumeComboBox::setValue(int value)
{
    for (int i = 0; i < 6; ++i) {
        if (values[i] == value) {
            m_firstSet = i < 3;
            setCurrentIndex(i % 3);
            return;
        }
    }
}

int PulseVolumeComboBox::value() const
{
    const int index = currentIndex();
    if (index < 0 || index > 2)
        return 0;
    return values[(m_firstSet ? 0 : 3) + index];
}
