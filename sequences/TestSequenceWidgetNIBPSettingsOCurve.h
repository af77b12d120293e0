#pragma once

#include "sequences/TestSequenceWidget.h"
#include "ux/TsqTestSequenceElementNIBPSettingsOCurve.h"

#include <memory>

class OCurvePicker;
namespace Ui { class TestSequenceWidgetNIBPSettingsOCurve; }

// NIBP simulator settings: the monitor, patient size and pressure pair whose
// O-curve the simulator plays, with the curve drawn.
class TestSequenceWidgetNIBPSettingsOCurve : public TestSequenceWidget
{
    Q_OBJECT
public:
    explicit TestSequenceWidgetNIBPSettingsOCurve(const Ux::TsqTestSequenceElement* element, QWidget* parent = nullptr);
    ~TestSequenceWidgetNIBPSettingsOCurve() override;

    Ux::TsqTestSequenceElement* element() override { return &m_element; }
    OCurvePicker* picker() const { return m_picker; }

private:
    Ux::TsqTestSequenceElementNIBPSettingsOCurve m_element;
    std::unique_ptr<Ui::TestSequenceWidgetNIBPSettingsOCurve> ui;
    OCurvePicker* m_picker = nullptr;
};
