#include "sequences/TestSequenceWidgetCorvixSetPressoSettings.h"

#include "ui_TestSequenceWidgetCorvixSetPressoSettings.h"

#include "sequences/OCurvePicker.h"

TestSequenceWidgetCorvixSetPressoSettings::TestSequenceWidgetCorvixSetPressoSettings(
    const Ux::TsqTestSequenceElement* element, QWidget* parent)
    : TestSequenceWidget(parent),
      m_element(as<Ux::TsqTestSequenceElementCorvixSetPressoSettings>(element)),
      ui(std::make_unique<Ui::TestSequenceWidgetCorvixSetPressoSettings>())
{
    ui->setupUi(this);
    // The patient size shown follows the set of the stored pulse volume.
    ui->pulseVolume->setValue(m_element.pulseVolume);
    const OCurveFields fields{&m_element.systolic, &m_element.diastolic, &m_element.byte6, &m_element.monitorName,
                              &m_element.curve};
    m_picker = new OCurvePicker(fields, ui->monitorName, ui->adultInfant, ui->systolicDiastolic, ui->curve,
                                ui->curveNotice, this, ui->pulseVolume->firstSet());
    m_picker->setSideTaken([this](bool adult) {
        ui->pulseVolume->setFirstSet(adult);
        m_element.pulseVolume = quint8(ui->pulseVolume->value());
    });
    connect(m_picker, &OCurvePicker::modified, this, &TestSequenceWidget::modified);
    bindInteger(ui->heartRate, m_element.heartRate);
    bindCombo(ui->pulseVolume, ui->pulseVolume->currentIndex(),
              [this](int) { m_element.pulseVolume = quint8(ui->pulseVolume->value()); });
}

TestSequenceWidgetCorvixSetPressoSettings::~TestSequenceWidgetCorvixSetPressoSettings() = default;
