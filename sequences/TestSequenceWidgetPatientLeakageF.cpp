#include "sequences/TestSequenceWidgetPatientLeakageF.h"

#include "ui_TestSequenceWidgetPatientLeakage.h"
#include "ux/CodeTables.h"

TestSequenceWidgetPatientLeakageF::TestSequenceWidgetPatientLeakageF(const Ux::TsqTestSequenceElement* element, quint8 id, QWidget* parent)
    : TestSequenceWidget(parent), m_element(id, as<Ux::TsqTestSequenceElementPatientLeakageFTest>(element)), ui(std::make_unique<Ui::TestSequenceWidgetPatientLeakage>())
{
    ui->setupUi(this);
    bindInteger(ui->duration, m_element.duration);
    bindConditions(ui->testConditions, m_element.conditions);
    double* limits = m_element.limits;
    ui->patientConnectionLimits->setLimit(&limits[0], Ux::PatientConnectionBF, Ux::ResultACDCCombined, 1);
    ui->patientConnectionLimits->setLimit(&limits[1], Ux::PatientConnectionBF, Ux::ResultACDCCombined, 2);
    ui->patientConnectionLimits->setLimit(&limits[2], Ux::PatientConnectionCF, Ux::ResultACDCCombined, 1);
    ui->patientConnectionLimits->setLimit(&limits[3], Ux::PatientConnectionCF, Ux::ResultACDCCombined, 2);
    connect(ui->patientConnectionLimits, &PatientConnectionLimitTable::variableModified, this,
            &TestSequenceWidget::modified);
}

TestSequenceWidgetPatientLeakageF::~TestSequenceWidgetPatientLeakageF() = default;
