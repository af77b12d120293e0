#include "sequences/TestSequenceWidgetEmpty.h"

#include "ui_TestSequenceWidgetEmpty.h"

TestSequenceWidgetEmpty::TestSequenceWidgetEmpty(quint8 id, QWidget* parent)
    : TestSequenceWidget(parent), m_element(id), ui(std::make_unique<Ui::TestSequenceWidgetEmpty>())
{
    ui->setupUi(this);
}

TestSequenceWidgetEmpty::~TestSequenceWidgetEmpty() = default;
