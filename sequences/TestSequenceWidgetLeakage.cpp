#include "sequences/TestSequenceWidgetLeakage.h"

#include "ui_TestSequenceWidgetLeakage.h"

TestSequenceWidgetLeakage::TestSequenceWidgetLeakage(const Ux::TsqTestSequenceElement* element, quint8 id, int equipmentClass, QWidget* parent)
    : TestSequenceWidget(parent), m_element(id, equipmentClass, as<Ux::TsqTestSequenceElementLeakageTest>(element)), ui(std::make_unique<Ui::TestSequenceWidgetLeakage>())
{
    ui->setupUi(this);
    limitInteger(ui->duration, 1, 255);
    bindInteger(ui->duration, m_element.duration);
    bindDecimal(ui->passFailLimit, m_element.limit);
    bindDecimal(ui->sfcPassFailLimit, m_element.sfcLimit);
    bindConditions(ui->testConditions, m_element.conditions);
    // The direct, alternative and differential equipment leakage tests have
    // no single-fault limit to set; the element still carries one.
    if (id == 69 || id == 70 || id == 83) {
        ui->sfcPassFailLimit->hide();
        ui->labelSFCPassFailLimit->hide();
        ui->labelPassFailLimitUnits->hide();
    }
}

TestSequenceWidgetLeakage::~TestSequenceWidgetLeakage() = default;
