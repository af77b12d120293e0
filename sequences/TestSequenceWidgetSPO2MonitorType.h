#pragma once

#include "sequences/TestSequenceWidget.h"
#include "ux/TsqTestSequenceElementSPO2MonitorType.h"

#include <memory>

namespace Ui { class TestSequenceWidgetSPO2MonitorType; }

// The pulse oximeter model whose readings the SpO2 simulator imitates.
class TestSequenceWidgetSPO2MonitorType : public TestSequenceWidget
{
    Q_OBJECT
public:
    explicit TestSequenceWidgetSPO2MonitorType(const Ux::TsqTestSequenceElement* element, QWidget* parent = nullptr);
    ~TestSequenceWidgetSPO2MonitorType() override;

    Ux::TsqTestSequenceElement* element() override { return &m_element; }

private:
    Ux::TsqTestSequenceElementSPO2MonitorType m_element;
    std::unique_ptr<Ui::TestSequenceWidgetSPO2MonitorType> ui;
};
