#pragma once

#include "sequences/TestSequenceWidget.h"
#include "ux/TsqTestSequenceElementPatientLeakageFTest.h"

#include <memory>

namespace Ui { class TestSequenceWidgetPatientLeakage; }

// F-type patient leakage: duration, conditions and the normal and
// single-fault limits of BF and CF connections, AC and DC together.
class TestSequenceWidgetPatientLeakageF : public TestSequenceWidget
{
    Q_OBJECT
public:
    TestSequenceWidgetPatientLeakageF(const Ux::TsqTestSequenceElement* element, quint8 id, QWidget* parent = nullptr);
    ~TestSequenceWidgetPatientLeakageF() override;

    Ux::TsqTestSequenceElement* element() override { return &m_element; }

private:
    Ux::TsqTestSequenceElementPatientLeakageFTest m_element;
    std::unique_ptr<Ui::TestSequenceWidgetPatientLeakage> ui;
};
