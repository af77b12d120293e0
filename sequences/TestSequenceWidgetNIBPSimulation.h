#pragma once

#include "sequences/TestSequenceWidget.h"
#include "ux/TsqTestSequenceElementNIBPSimulation.h"

#include <memory>

namespace Ui { class TestSequenceWidgetNIBPSimulation; }

// A blood-pressure simulation run: number of runs, heart rate and pulse volume.
class TestSequenceWidgetNIBPSimulation : public TestSequenceWidget
{
    Q_OBJECT
public:
    explicit TestSequenceWidgetNIBPSimulation(const Ux::TsqTestSequenceElement* element, QWidget* parent = nullptr);
    ~TestSequenceWidgetNIBPSimulation() override;

    Ux::TsqTestSequenceElement* element() override { return &m_element; }

private:
    Ux::TsqTestSequenceElementNIBPSimulation m_element;
    std::unique_ptr<Ui::TestSequenceWidgetNIBPSimulation> ui;
};
