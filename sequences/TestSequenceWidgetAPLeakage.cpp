#include "sequences/TestSequenceWidgetAPLeakage.h"

#include "ui_TestSequenceAPLeakage.h"

TestSequenceWidgetAPLeakage::TestSequenceWidgetAPLeakage(const Ux::TsqTestSequenceElement* element, quint8 id, QWidget* parent)
    : TestSequenceWidget(parent), m_element(id, as<Ux::TsqTestSequenceElementAppliedPartLeakageTest>(element)), ui(std::make_unique<Ui::TestSequenceAPLeakage>())
{
    ui->setupUi(this);
    bindInteger(ui->duration, m_element.duration, EditingFinished);
    bindDecimal(ui->bfPassFailLimit, m_element.bfLimit);
    bindDecimal(ui->cfPassFailLimit, m_element.cfLimit);
}

TestSequenceWidgetAPLeakage::~TestSequenceWidgetAPLeakage() = default;
