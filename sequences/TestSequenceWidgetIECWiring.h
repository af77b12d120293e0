#pragma once

#include "sequences/TestSequenceWidget.h"
#include "ux/TsqTestSequenceElementIECWiringTest.h"

#include <memory>

namespace Ui { class TestSequenceWidgetIECWiring; }

// IEC lead wiring: the number of tests.
class TestSequenceWidgetIECWiring : public TestSequenceWidget
{
    Q_OBJECT
public:
    TestSequenceWidgetIECWiring(const Ux::TsqTestSequenceElement* element, QWidget* parent = nullptr);
    ~TestSequenceWidgetIECWiring() override;

    Ux::TsqTestSequenceElement* element() override { return &m_element; }

private:
    Ux::TsqTestSequenceElementIECWiringTest m_element;
    std::unique_ptr<Ui::TestSequenceWidgetIECWiring> ui;
};
