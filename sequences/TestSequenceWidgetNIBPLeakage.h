#pragma once

#include "sequences/TestSequenceWidget.h"
#include "ux/TsqTestSequenceElementNIBPLeakTest.h"

#include <memory>

namespace Ui { class TestSequenceWidgetNIBPLeakage; }

// NIBP leak, static pressure and IBP static tests: a pressure held for a time.
class TestSequenceWidgetNIBPLeakage : public TestSequenceWidget
{
    Q_OBJECT
public:
    TestSequenceWidgetNIBPLeakage(const Ux::TsqTestSequenceElement* element, quint8 id, QWidget* parent = nullptr);
    ~TestSequenceWidgetNIBPLeakage() override;

    Ux::TsqTestSequenceElement* element() override { return &m_element; }

private:
    Ux::TsqTestSequenceElementNIBPLeakTest m_element;
    std::unique_ptr<Ui::TestSequenceWidgetNIBPLeakage> ui;
};
