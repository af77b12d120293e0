#pragma once

#include "sequences/TestSequenceWidget.h"
#include "ux/TsqTestSequenceElementResistanceTest.h"

#include <memory>

namespace Ui { class TestSequenceWidgetResistance; }

// Earth bond: duration, pass limit in ohms and the number of tests.
class TestSequenceWidgetResistance : public TestSequenceWidget
{
    Q_OBJECT
public:
    TestSequenceWidgetResistance(const Ux::TsqTestSequenceElement* element, quint8 id, QWidget* parent = nullptr);
    ~TestSequenceWidgetResistance() override;

    Ux::TsqTestSequenceElement* element() override { return &m_element; }

private:
    Ux::TsqTestSequenceElementResistanceTest m_element;
    std::unique_ptr<Ui::TestSequenceWidgetResistance> ui;
};
