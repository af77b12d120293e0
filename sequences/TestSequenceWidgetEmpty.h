#pragma once

#include "sequences/TestSequenceWidget.h"
#include "ux/TsqTestSequenceElementEmptyTest.h"

#include <memory>

namespace Ui { class TestSequenceWidgetEmpty; }

// An element without settings: the editor only says so.
class TestSequenceWidgetEmpty : public TestSequenceWidget
{
    Q_OBJECT
public:
    explicit TestSequenceWidgetEmpty(quint8 id, QWidget* parent = nullptr);
    ~TestSequenceWidgetEmpty() override;

    Ux::TsqTestSequenceElement* element() override { return &m_element; }

private:
    Ux::TsqTestSequenceElementEmptyTest m_element;
    std::unique_ptr<Ui::TestSequenceWidgetEmpty> ui;
};
