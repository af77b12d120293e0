#include "sequences/TestSequenceWidgetPatientLeakage.h"

#include "ui_TestSequenceWidgetPatientLeakage.h"
#include "ux/CodeTables.h"

TestSequenceWidgetPatientLeakage::TestSequenceWidgetPatientLeakage(const Ux::TsqTestSequenceElement* element, quint8 id, int equipmentClass, QWidget* parent)
    : TestSequenceWidget(parent), m_element(id, equipmentClass, as<Ux::TsqTestSequenceElementPatientLeakageTest>(element)), ui(std::make_unique<Ui::TestSequenceWidgetPatientLeakage>())
{
    ui->setupUi(this);
    bindInteger(ui->duration, m_element.duration);
    bindConditions(ui->testConditions, m_element.conditions);
    // The element holds each class's limits as mains AC, mains DC, single
    // fault AC, single fault DC.
    for (int type = Ux::PatientConnectionB; type <= Ux::PatientConnectionCF; ++type) {
        double* limits = m_element.limits + 4 * (type - 1);
        ui->patientConnectionLimits->setLimit(&limits[0], type, Ux::ResultAC, 1);
        ui->patientConnectionLimits->setLimit(&limits[2], type, Ux::ResultAC, 2);
        ui->patientConnectionLimits->setLimit(&limits[1], type, Ux::ResultDC, 1);
        ui->patientConnectionLimits->setLimit(&limits[3], type, Ux::ResultDC, 2);
    }
    // The table has written the limit already.
    connect(ui->patientConnectionLimits, &PatientConnectionLimitTable::variableModified, this,
            &TestSequenceWidget::modified);
}

TestSequenceWidgetPatientLeakage::~TestSequenceWidgetPatientLeakage() = default;
