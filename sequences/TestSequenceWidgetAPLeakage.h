#pragma once

#include "sequences/TestSequenceWidget.h"
#include "ux/TsqTestSequenceElementAppliedPartLeakageTest.h"

#include <memory>

namespace Ui { class TestSequenceAPLeakage; }

// Applied-part leakage: duration and the BF and CF limits in microamps.
class TestSequenceWidgetAPLeakage : public TestSequenceWidget
{
    Q_OBJECT
public:
    TestSequenceWidgetAPLeakage(const Ux::TsqTestSequenceElement* element, quint8 id, QWidget* parent = nullptr);
    ~TestSequenceWidgetAPLeakage() override;

    Ux::TsqTestSequenceElement* element() override { return &m_element; }

private:
    Ux::TsqTestSequenceElementAppliedPartLeakageTest m_element;
    std::unique_ptr<Ui::TestSequenceAPLeakage> ui;
};
