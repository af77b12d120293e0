#include "sequences/TestSequenceWidgetNIBPLeakage.h"

#include "ui_TestSequenceWidgetNIBPLeakage.h"

TestSequenceWidgetNIBPLeakage::TestSequenceWidgetNIBPLeakage(const Ux::TsqTestSequenceElement* element, quint8 id, QWidget* parent)
    : TestSequenceWidget(parent), m_element(id, as<Ux::TsqTestSequenceElementNIBPLeakTest>(element)), ui(std::make_unique<Ui::TestSequenceWidgetNIBPLeakage>())
{
    ui->setupUi(this);
    limitInteger(ui->setPoint, 0, 350);
    bindInteger(ui->setPoint, m_element.setPoint);
    limitInteger(ui->duration, 0, 900);
    bindInteger(ui->duration, m_element.duration);
}

TestSequenceWidgetNIBPLeakage::~TestSequenceWidgetNIBPLeakage() = default;
