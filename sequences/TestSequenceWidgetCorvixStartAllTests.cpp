#include "sequences/TestSequenceWidgetCorvixStartAllTests.h"

#include "ui_TestSequenceWidgetCorvixStartAllTests.h"

TestSequenceWidgetCorvixStartAllTests::TestSequenceWidgetCorvixStartAllTests(const Ux::TsqTestSequenceElement* element, QWidget* parent)
    : TestSequenceWidget(parent), m_element(as<Ux::TsqTestSequenceElementCorvixStartAllTests>(element)), ui(std::make_unique<Ui::TestSequenceWidgetCorvixStartAllTests>())
{
    ui->setupUi(this);
    limitInteger(ui->duration, 1, 255);
    bindInteger(ui->duration, m_element.duration);
}

TestSequenceWidgetCorvixStartAllTests::~TestSequenceWidgetCorvixStartAllTests() = default;
