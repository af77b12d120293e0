#include "sequences/TestSequenceWidgetContainer.h"

#include "ui_TestSequenceWidgetContainer.h"

#include "sequences/TestSequenceWidget.h"

TestSequenceWidgetContainer::TestSequenceWidgetContainer(const QString& name)
    : m_name(name), ui(std::make_unique<Ui::TestSequenceWidgetContainer>())
{
    ui->setupUi(this);
    ui->sequenceElementLabel->setText(m_name);
    QIcon toggle;
    toggle.addFile(QStringLiteral(":/icons/icons/bullet_toggle_plus.png"), QSize(), QIcon::Normal, QIcon::Off);
    toggle.addFile(QStringLiteral(":/icons/icons/bullet_toggle_minus.png"), QSize(), QIcon::Normal, QIcon::On);
    ui->detailsBtn->setIcon(toggle);
    ui->variablesContainer->hide();
    connect(ui->detailsBtn, &QToolButton::clicked, this, &TestSequenceWidgetContainer::showDetails);
    connect(ui->sequenceElementLabel, &ClickableLabel::clicked, this, &TestSequenceWidgetContainer::labelClicked);
}

TestSequenceWidgetContainer::~TestSequenceWidgetContainer()
{
    delete widget();
}

void TestSequenceWidgetContainer::addWidget(QWidget* editor)
{
    ui->variablesContainerLayout->addWidget(editor);
}

TestSequenceWidget* TestSequenceWidgetContainer::widget() const
{
    QLayoutItem* item = ui->variablesContainerLayout->itemAt(0);
    return item ? qobject_cast<TestSequenceWidget*>(item->widget()) : nullptr;
}

void TestSequenceWidgetContainer::setSelected(bool selected)
{
    setFrameStyle(selected ? (QFrame::Box | QFrame::Plain) : (QFrame::Box | QFrame::Sunken));
}

void TestSequenceWidgetContainer::showDetails()
{
    ui->variablesContainer->setVisible(ui->detailsBtn->isChecked());
    emit clicked(this);
}

void TestSequenceWidgetContainer::labelClicked()
{
    emit clicked(this);
}
