#pragma once

#include "sequences/TestSequenceWidget.h"
#include "ux/TsqTestSequenceElementPatientLeakageTest.h"

#include <memory>

namespace Ui { class TestSequenceWidgetPatientLeakage; }

// Patient leakage: duration, conditions and twelve limits, per patient
// connection class B, BF and CF each normal and single-fault, AC and DC.
class TestSequenceWidgetPatientLeakage : public TestSequenceWidget
{
    Q_OBJECT
public:
    TestSequenceWidgetPatientLeakage(const Ux::TsqTestSequenceElement* element, quint8 id, int equipmentClass, QWidget* parent = nullptr);
    ~TestSequenceWidgetPatientLeakage() override;

    Ux::TsqTestSequenceElement* element() override { return &m_element; }

private:
    Ux::TsqTestSequenceElementPatientLeakageTest m_element;
    std::unique_ptr<Ui::TestSequenceWidgetPatientLeakage> ui;
};
