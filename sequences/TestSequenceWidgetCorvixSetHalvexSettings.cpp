#include "sequences/TestSequenceWidgetCorvixSetHalvexSettings.h"

#include "ui_TestSequenceWidgetCorvixSetHalvexSettings.h"

TestSequenceWidgetCorvixSetHalvexSettings::TestSequenceWidgetCorvixSetHalvexSettings(const Ux::TsqTestSequenceElement* element, QWidget* parent)
    : TestSequenceWidget(parent), m_element(as<Ux::TsqTestSequenceElementCorvixSetHalvexSettings>(element)), ui(std::make_unique<Ui::TestSequenceWidgetCorvixSetHalvexSettings>())
{
    ui->setupUi(this);
    bindIndex(ui->waveform, m_element.waveform);
    bindInteger(ui->heartRate, m_element.heartRate);
    bindIndex(ui->amplitude, m_element.ecgAmplitude);
    limitInteger(ui->systolic, 1, 350);
    bindInteger(ui->systolic, m_element.systolic);
    limitInteger(ui->diastolic, 1, 350);
    bindInteger(ui->diastolic, m_element.diastolic);
    bindIndex(ui->temperature, m_element.temperature);
    bindIndex(ui->respirationRate, m_element.respirationRate);
    bindIndex(ui->baseImpedance, m_element.baseImpedance);
    bindIndex(ui->deltaImpedance, m_element.deltaImpedance);
    limitInteger(ui->apnoeaDuration, 1, 60);
    bindInteger(ui->apnoeaDuration, m_element.apnoeaDuration);
    limitInteger(ui->apnoeaInterval, 1, 300);
    bindInteger(ui->apnoeaInterval, m_element.apnoeaInterval);
}

TestSequenceWidgetCorvixSetHalvexSettings::~TestSequenceWidgetCorvixSetHalvexSettings() = default;
