#include "sequences/TestSequenceWidgetSPO2MonitorType.h"

#include "ui_TestSequenceWidgetSPO2MonitorType.h"

TestSequenceWidgetSPO2MonitorType::TestSequenceWidgetSPO2MonitorType(const Ux::TsqTestSequenceElement* element, QWidget* parent)
    : TestSequenceWidget(parent), m_element(as<Ux::TsqTestSequenceElementSPO2MonitorType>(element)), ui(std::make_unique<Ui::TestSequenceWidgetSPO2MonitorType>())
{
    ui->setupUi(this);
    ui->monitorName->addItems({QStringLiteral("Nellcor (Standard)"), QStringLiteral("Nellcor (Oximax)"),
                               QStringLiteral("Datascope"), QStringLiteral("Masimo"), QStringLiteral("Philips")});
    // The index decides what is shown; the stored name is only replaced by a choice.
    bindCombo(ui->monitorName, m_element.monitorIndex, [this](int index) {
        m_element.monitorName = ui->monitorName->itemText(index);
        m_element.monitorIndex = quint8(index);
    });
}

TestSequenceWidgetSPO2MonitorType::~TestSequenceWidgetSPO2MonitorType() = default;
