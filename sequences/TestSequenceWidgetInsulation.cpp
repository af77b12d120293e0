#include "sequences/TestSequenceWidgetInsulation.h"

#include "ui_TestSequenceWidgetInsulation.h"

TestSequenceWidgetInsulation::TestSequenceWidgetInsulation(const Ux::TsqTestSequenceElement* element, quint8 id, int equipmentClass, QWidget* parent)
    : TestSequenceWidget(parent), m_element(id, equipmentClass, as<Ux::TsqTestSequenceElementInsulationTest>(element)), ui(std::make_unique<Ui::TestSequenceWidgetInsulation>())
{
    ui->setupUi(this);
    limitInteger(ui->duration, 1, 255);
    bindInteger(ui->duration, m_element.duration);
    bindDecimal(ui->passFailLimit, m_element.limit);
    bindInteger(ui->numberOfTests, m_element.numberOfTests);
}

TestSequenceWidgetInsulation::~TestSequenceWidgetInsulation() = default;
