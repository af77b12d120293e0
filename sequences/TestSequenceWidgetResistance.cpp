#include "sequences/TestSequenceWidgetResistance.h"

#include "ui_TestSequenceWidgetResistance.h"

TestSequenceWidgetResistance::TestSequenceWidgetResistance(const Ux::TsqTestSequenceElement* element, quint8 id, QWidget* parent)
    : TestSequenceWidget(parent), m_element(id, as<Ux::TsqTestSequenceElementResistanceTest>(element)), ui(std::make_unique<Ui::TestSequenceWidgetResistance>())
{
    ui->setupUi(this);
    bindInteger(ui->duration, m_element.duration);
    bindDecimal(ui->passFailLimit, m_element.limit);
    bindInteger(ui->numberOfTests, m_element.numberOfTests);
}

TestSequenceWidgetResistance::~TestSequenceWidgetResistance() = default;
