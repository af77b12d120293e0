#pragma once

#include "sequences/TestSequenceWidget.h"
#include "ux/TsqTestSequenceElementLeakageTest.h"

#include <memory>

namespace Ui { class TestSequenceWidgetLeakage; }

// Earth, enclosure and equipment leakage: duration, normal and single-fault
// limits in microamps and the single-fault conditions to run.
class TestSequenceWidgetLeakage : public TestSequenceWidget
{
    Q_OBJECT
public:
    TestSequenceWidgetLeakage(const Ux::TsqTestSequenceElement* element, quint8 id, int equipmentClass, QWidget* parent = nullptr);
    ~TestSequenceWidgetLeakage() override;

    Ux::TsqTestSequenceElement* element() override { return &m_element; }

private:
    Ux::TsqTestSequenceElementLeakageTest m_element;
    std::unique_ptr<Ui::TestSequenceWidgetLeakage> ui;
};
