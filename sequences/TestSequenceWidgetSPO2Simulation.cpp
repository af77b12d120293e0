#include "sequences/TestSequenceWidgetSPO2Simulation.h"

#include "ui_TestSequenceWidgetSPO2Simulation.h"

TestSequenceWidgetSPO2Simulation::TestSequenceWidgetSPO2Simulation(const Ux::TsqTestSequenceElement* element, quint8 id, QWidget* parent)
    : TestSequenceWidget(parent), m_element(id, as<Ux::TsqTestSequenceElementSPO2Simulation>(element)), ui(std::make_unique<Ui::TestSequenceWidgetSPO2Simulation>())
{
    ui->setupUi(this);
    limitDecimal(ui->spo2, 0.0, 100.0, 1);
    bindDecimal(ui->spo2, m_element.spo2, 1);
    limitInteger(ui->duration, 1, 255);
    bindInteger(ui->duration, m_element.duration);
    bindInteger(ui->heartRate, m_element.heartRate);
    limitDecimal(ui->perfusion, 0.0, 20.0, 1);
    bindDecimal(ui->perfusion, m_element.perfusion, 1);
    bindIndex(ui->skinColour, m_element.skinColour);
    bindIndex(ui->ledState, m_element.ledState);
    // Only the simulation itself runs for a set time; the chronometer
    // steps still carry the duration.
    if (id != 181) {
        ui->duration->hide();
        ui->durationLabel->hide();
        ui->durationUnits->hide();
    }
}

TestSequenceWidgetSPO2Simulation::~TestSequenceWidgetSPO2Simulation() = default;
