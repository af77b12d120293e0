#pragma once

#include "sequences/TestSequenceWidget.h"
#include "ux/TsqTestSequenceElementUserTest.h"

#include <memory>

namespace Ui { class TestSequenceWidgetUserTest; }

// A test the instrument does not define itself: the user names it and picks
// or types the unit of its reading.
class TestSequenceWidgetUserTest : public TestSequenceWidget
{
    Q_OBJECT
public:
    explicit TestSequenceWidgetUserTest(const Ux::TsqTestSequenceElement* element, QWidget* parent = nullptr);
    ~TestSequenceWidgetUserTest() override;

    Ux::TsqTestSequenceElement* element() override { return &m_element; }

private:
    Ux::TsqTestSequenceElementUserTest m_element;
    std::unique_ptr<Ui::TestSequenceWidgetUserTest> ui;
};
