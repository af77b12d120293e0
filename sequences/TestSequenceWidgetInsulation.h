#pragma once

#include "sequences/TestSequenceWidget.h"
#include "ux/TsqTestSequenceElementInsulationTest.h"

#include <memory>

namespace Ui { class TestSequenceWidgetInsulation; }

// Insulation: duration, pass limit in megohms and the number of tests.
class TestSequenceWidgetInsulation : public TestSequenceWidget
{
    Q_OBJECT
public:
    TestSequenceWidgetInsulation(const Ux::TsqTestSequenceElement* element, quint8 id, int equipmentClass, QWidget* parent = nullptr);
    ~TestSequenceWidgetInsulation() override;

    Ux::TsqTestSequenceElement* element() override { return &m_element; }

private:
    Ux::TsqTestSequenceElementInsulationTest m_element;
    std::unique_ptr<Ui::TestSequenceWidgetInsulation> ui;
};
