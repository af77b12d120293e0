#include "sequences/TestSequenceWidgetNIBPSimulation.h"

#include "ui_TestSequenceWidgetNIBPSimulation.h"

TestSequenceWidgetNIBPSimulation::TestSequenceWidgetNIBPSimulation(const Ux::TsqTestSequenceElement* element, QWidget* parent)
    : TestSequenceWidget(parent), m_element(as<Ux::TsqTestSequenceElementNIBPSimulation>(element)), ui(std::make_unique<Ui::TestSequenceWidgetNIBPSimulation>())
{
    ui->setupUi(this);
    limitInteger(ui->numberOfTests, 1, 255);
    bindInteger(ui->numberOfTests, m_element.numberOfTests);
    limitInteger(ui->heartRate, 1, 300);
    bindInteger(ui->heartRate, m_element.heartRate);
    // The pulse volume is stored as its value in the set it came from.
    ui->pulseVolume->setValue(m_element.pulseVolume);
    bindCombo(ui->pulseVolume, ui->pulseVolume->currentIndex(),
              [this](int) { m_element.pulseVolume = quint8(ui->pulseVolume->value()); });
}

TestSequenceWidgetNIBPSimulation::~TestSequenceWidgetNIBPSimulation() = default;
