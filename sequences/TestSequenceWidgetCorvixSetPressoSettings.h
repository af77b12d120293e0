#pragma once

#include "sequences/TestSequenceWidget.h"
#include "ux/TsqTestSequenceElementCorvixSetPressoSettings.h"

#include <memory>

class OCurvePicker;
namespace Ui { class TestSequenceWidgetCorvixSetPressoSettings; }

// Blood-pressure settings of the vital-signs simulator: an O-curve choice as
// for the NIBP simulator, with heart rate and pulse volume. The pulse volume
// is stored in the set of the patient size: adult {120, 180, 255}, infant
// {15, 30, 45}.
class TestSequenceWidgetCorvixSetPressoSettings : public TestSequenceWidget
{
    Q_OBJECT
public:
    explicit TestSequenceWidgetCorvixSetPressoSettings(const Ux::TsqTestSequenceElement* element,
                                                       QWidget* parent = nullptr);
    ~TestSequenceWidgetCorvixSetPressoSettings() override;

    Ux::TsqTestSequenceElement* element() override { return &m_element; }
    OCurvePicker* picker() const { return m_picker; }

private:
    Ux::TsqTestSequenceElementCorvixSetPressoSettings m_element;
    std::unique_ptr<Ui::TestSequenceWidgetCorvixSetPressoSettings> ui;
    OCurvePicker* m_picker = nullptr;
};
