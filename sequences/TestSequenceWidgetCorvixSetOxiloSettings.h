#pragma once

#include "sequences/TestSequenceWidget.h"
#include "ux/TsqTestSequenceElementCorvixSetOxiloSettings.h"

#include <memory>

namespace Ui { class TestSequenceWidgetCorvixSetOxiloSettings; }

// SpO2 settings of the vital-signs simulator.
class TestSequenceWidgetCorvixSetOxiloSettings : public TestSequenceWidget
{
    Q_OBJECT
public:
    explicit TestSequenceWidgetCorvixSetOxiloSettings(const Ux::TsqTestSequenceElement* element, QWidget* parent = nullptr);
    ~TestSequenceWidgetCorvixSetOxiloSettings() override;

    Ux::TsqTestSequenceElement* element() override { return &m_element; }

private:
    Ux::TsqTestSequenceElementCorvixSetOxiloSettings m_element;
    std::unique_ptr<Ui::TestSequenceWidgetCorvixSetOxiloSettings> ui;
};
