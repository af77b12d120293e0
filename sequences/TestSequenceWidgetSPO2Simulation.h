#pragma once

#include "sequences/TestSequenceWidget.h"
#include "ux/TsqTestSequenceElementSPO2Simulation.h"

#include <memory>

namespace Ui { class TestSequenceWidgetSPO2Simulation; }

// SpO2 simulation and chronometer steps: saturation, heart rate, perfusion,
// skin colour and LED, and for the simulation its duration.
class TestSequenceWidgetSPO2Simulation : public TestSequenceWidget
{
    Q_OBJECT
public:
    TestSequenceWidgetSPO2Simulation(const Ux::TsqTestSequenceElement* element, quint8 id, QWidget* parent = nullptr);
    ~TestSequenceWidgetSPO2Simulation() override;

    Ux::TsqTestSequenceElement* element() override { return &m_element; }

private:
    Ux::TsqTestSequenceElementSPO2Simulation m_element;
    std::unique_ptr<Ui::TestSequenceWidgetSPO2Simulation> ui;
};
