#pragma once

#include "sequences/TestSequenceWidget.h"
#include "ux/TsqTestSequenceElementCorvixStartAllTests.h"

#include <memory>

namespace Ui { class TestSequenceWidgetCorvixStartAllTests; }

// Starts every configured test of the vital-signs simulator for a time.
class TestSequenceWidgetCorvixStartAllTests : public TestSequenceWidget
{
    Q_OBJECT
public:
    explicit TestSequenceWidgetCorvixStartAllTests(const Ux::TsqTestSequenceElement* element, QWidget* parent = nullptr);
    ~TestSequenceWidgetCorvixStartAllTests() override;

    Ux::TsqTestSequenceElement* element() override { return &m_element; }

private:
    Ux::TsqTestSequenceElementCorvixStartAllTests m_element;
    std::unique_ptr<Ui::TestSequenceWidgetCorvixStartAllTests> ui;
};
