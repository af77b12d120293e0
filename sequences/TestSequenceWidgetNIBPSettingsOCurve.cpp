#include "sequences/TestSequenceWidgetNIBPSettingsOCurve.h"

#include "ui_TestSequenceWidgetNIBPSettingsOCurve.h"

#include "sequences/OCurvePicker.h"

TestSequenceWidgetNIBPSettingsOCurve::TestSequenceWidgetNIBPSettingsOCurve(const Ux::TsqTestSequenceElement* element,
                                                                           QWidget* parent)
    : TestSequenceWidget(parent),
      m_element(as<Ux::TsqTestSequenceElementNIBPSettingsOCurve>(element)),
      ui(std::make_unique<Ui::TestSequenceWidgetNIBPSettingsOCurve>())
{
    ui->setupUi(this);
    const OCurveFields fields{&m_element.systolic, &m_element.diastolic, &m_element.adultInfant,
                              &m_element.monitorName, &m_element.curve};
    m_picker = new OCurvePicker(fields, ui->monitorName, ui->adultInfant, ui->systolicDiastolic, ui->curve,
                                ui->curveNotice, this, OCurveFile::isAdult(m_element.adultInfant));
    connect(m_picker, &OCurvePicker::modified, this, &TestSequenceWidget::modified);
}

TestSequenceWidgetNIBPSettingsOCurve::~TestSequenceWidgetNIBPSettingsOCurve() = default;
