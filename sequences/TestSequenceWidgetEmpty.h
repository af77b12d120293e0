#pragma once

#include "sequences/TestSequenceWidget.h"

#include <memory>

namespace Ui { class TestSequenceWidgetEmpty; }

// An element without settings: the editor only says so.
class TestSequenceWidgetEmpty : public TestSequenceWidget
{
    Q_OBJECT
public:
    explicit TestSequenceWidgetEmpty(quint8 id, QWidget* parent = nullptr);
    // Keeps a copy of an element whose settings have no editor of their own,
    // so that a stored sequence keeps every byte of it.
    TestSequenceWidgetEmpty(Ux::TsqTestSequenceElement& element, QWidget* parent);
    ~TestSequenceWidgetEmpty() override;

    Ux::TsqTestSequenceElement* element() override { return m_element.get(); }

private:
    std::unique_ptr<Ux::TsqTestSequenceElement> m_element;
    std::unique_ptr<Ui::TestSequenceWidgetEmpty> ui;
};
