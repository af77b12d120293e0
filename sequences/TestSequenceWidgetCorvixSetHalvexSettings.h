#pragma once

#include "sequences/TestSequenceWidget.h"
#include "ux/TsqTestSequenceElementCorvixSetHalvexSettings.h"

#include <memory>

namespace Ui { class TestSequenceWidgetCorvixSetHalvexSettings; }

// Patient settings of the vital-signs simulator: ECG, blood pressure,
// temperature, respiration and apnoea. Every list field stores the position
// of the chosen entry.
class TestSequenceWidgetCorvixSetHalvexSettings : public TestSequenceWidget
{
    Q_OBJECT
public:
    explicit TestSequenceWidgetCorvixSetHalvexSettings(const Ux::TsqTestSequenceElement* element, QWidget* parent = nullptr);
    ~TestSequenceWidgetCorvixSetHalvexSettings() override;

    Ux::TsqTestSequenceElement* element() override { return &m_element; }

private:
    Ux::TsqTestSequenceElementCorvixSetHalvexSettings m_element;
    std::unique_ptr<Ui::TestSequenceWidgetCorvixSetHalvexSettings> ui;
};
