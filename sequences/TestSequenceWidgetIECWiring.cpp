#include "sequences/TestSequenceWidgetIECWiring.h"

#include "ui_TestSequenceWidgetIECWiring.h"

TestSequenceWidgetIECWiring::TestSequenceWidgetIECWiring(const Ux::TsqTestSequenceElement* element, QWidget* parent)
    : TestSequenceWidget(parent), m_element(as<Ux::TsqTestSequenceElementIECWiringTest>(element)), ui(std::make_unique<Ui::TestSequenceWidgetIECWiring>())
{
    ui->setupUi(this);
    bindInteger(ui->numTests, m_element.numberOfTests);
}

TestSequenceWidgetIECWiring::~TestSequenceWidgetIECWiring() = default;
