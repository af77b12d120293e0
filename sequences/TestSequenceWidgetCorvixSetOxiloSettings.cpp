#include "sequences/TestSequenceWidgetCorvixSetOxiloSettings.h"

#include "ui_TestSequenceWidgetCorvixSetOxiloSettings.h"

TestSequenceWidgetCorvixSetOxiloSettings::TestSequenceWidgetCorvixSetOxiloSettings(const Ux::TsqTestSequenceElement* element, QWidget* parent)
    : TestSequenceWidget(parent), m_element(as<Ux::TsqTestSequenceElementCorvixSetOxiloSettings>(element)), ui(std::make_unique<Ui::TestSequenceWidgetCorvixSetOxiloSettings>())
{
    ui->setupUi(this);
    ui->monitorName->addItems({QStringLiteral("Nellcor (Standard)"), QStringLiteral("Nellcor (Oximax)"),
                               QStringLiteral("Datascope"), QStringLiteral("Masimo"), QStringLiteral("Philips")});
    limitDecimal(ui->spo2, 0.0, 100.0, 1);
    bindDecimal(ui->spo2, m_element.spo2, 1);
    limitInteger(ui->heartRate, 0, 255);
    bindInteger(ui->heartRate, m_element.heartRate);
    limitDecimal(ui->perfusion, 0.0, 20.0, 1);
    bindDecimal(ui->perfusion, m_element.perfusion, 1);
    bindIndex(ui->skinColour, m_element.skinColour);
    bindIndex(ui->ledState, m_element.ledState);
    // The index decides what is shown; the stored name is only replaced by a choice.
    bindCombo(ui->monitorName, m_element.monitorIndex, [this](int index) {
        m_element.monitorName = ui->monitorName->itemText(index);
        m_element.monitorIndex = quint8(index);
    });
}

TestSequenceWidgetCorvixSetOxiloSettings::~TestSequenceWidgetCorvixSetOxiloSettings() = default;
