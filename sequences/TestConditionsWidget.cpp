#include "sequences/TestConditionsWidget.h"

#include "ui_TestConditionsWidget.h"

#include "ux/CodeTables.h"

TestConditionsWidget::TestConditionsWidget(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TestConditionsWidget>())
{
    ui->setupUi(this);
    for (QCheckBox* box : {ui->earthOpen, ui->neutralOpen, ui->sourceReversed, ui->mainsReversed})
        connect(box, &QCheckBox::stateChanged, this, &TestConditionsWidget::stateChanged);
}

TestConditionsWidget::~TestConditionsWidget() = default;

void TestConditionsWidget::setConditions(int enabled, int checked)
{
    const struct {
        QCheckBox* box;
        int bit;
    } boxes[] = {{ui->mainsReversed, Ux::ConditionMainsReversed},
                 {ui->neutralOpen, Ux::ConditionNeutralOpen},
                 {ui->earthOpen, Ux::ConditionEarthOpen},
                 {ui->sourceReversed, Ux::ConditionSourceReversed}};
    for (const auto& b : boxes)
        b.box->setEnabled(enabled & b.bit);
    for (const auto& b : boxes)
        b.box->setChecked(checked & b.bit);
}

int TestConditionsWidget::conditions() const
{
    int mask = 0;
    if (ui->mainsReversed->isChecked())
        mask |= Ux::ConditionMainsReversed;
    if (ui->neutralOpen->isChecked())
        mask |= Ux::ConditionNeutralOpen;
    if (ui->earthOpen->isChecked())
        mask |= Ux::ConditionEarthOpen;
    if (ui->sourceReversed->isChecked())
        mask |= Ux::ConditionSourceReversed;
    return mask;
}

void TestConditionsWidget::stateChanged(int)
{
    emit modified();
}
