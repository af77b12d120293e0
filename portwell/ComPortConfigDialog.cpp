#include "portwell/ComPortConfigDialog.h"

#include "portwell/TCustomComPort.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QMetaEnum>
#include <QSpinBox>

using namespace ComPortTypes;

namespace {

// "br57600" -> "57600", "sb1_5" -> "1.5", "dcHandshake" -> "Handshake".
QString valueText(const char* key)
{
    QString text = QString::fromLatin1(key);
    int i = 0;
    while (i < text.size() && text.at(i).isLower())
        ++i;
    return text.mid(i).replace(QLatin1Char('_'), QLatin1Char('.'));
}

} // namespace

ComPortConfigDialog::ComPortConfigDialog(TCustomComPort* port, QWidget* parent)
    : QDialog(parent), m_port(port)
{
    setWindowTitle(QStringLiteral("%1 Properties").arg(port->ShortDeviceName()));
    auto* box = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    box->addLayout(form);

    m_baudRate = addChoice("BaudRate", QMetaEnum::fromType<TBaudRate>(), port->BaudRate());
    form->addRow(QStringLiteral("Bits per second:"), m_baudRate);
    m_customBaudRate = new QSpinBox(this);
    m_customBaudRate->setObjectName(QStringLiteral("CustomBaudRate"));
    m_customBaudRate->setRange(1, 4000000);
    m_customBaudRate->setValue(port->CustomBaudRate());
    form->addRow(QStringLiteral("Custom rate:"), m_customBaudRate);
    m_dataBits = addChoice("DataBits", QMetaEnum::fromType<TDataBits>(), port->DataBits());
    form->addRow(QStringLiteral("Data bits:"), m_dataBits);
    m_parity = addChoice("Parity", QMetaEnum::fromType<TParity>(), port->Parity());
    form->addRow(QStringLiteral("Parity:"), m_parity);
    m_stopBits = addChoice("StopBits", QMetaEnum::fromType<TStopBits>(), port->StopBits());
    form->addRow(QStringLiteral("Stop bits:"), m_stopBits);
    m_dtr = addChoice("DTRControl", QMetaEnum::fromType<TDTRControl>(),
                      port->FlowControl().DTRControl());
    form->addRow(QStringLiteral("DTR:"), m_dtr);
    m_rts = addChoice("RTSControl", QMetaEnum::fromType<TRTSControl>(),
                      port->FlowControl().RTSControl());
    form->addRow(QStringLiteral("RTS:"), m_rts);
    m_xonxoff = addChoice("XOnXOff", QMetaEnum::fromType<TXOnXOffControl>(),
                          port->FlowControl().XOnXOff());
    form->addRow(QStringLiteral("Xon / Xoff:"), m_xonxoff);

    m_customBaudRate->setEnabled(port->BaudRate() == brCustom);
    connect(m_baudRate, &QComboBox::currentIndexChanged, this,
            [this] { m_customBaudRate->setEnabled(m_baudRate->currentData().toInt() == brCustom); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    box->addWidget(buttons);
}

QComboBox* ComPortConfigDialog::addChoice(const char* name, const QMetaEnum& values, int current)
{
    auto* combo = new QComboBox(this);
    combo->setObjectName(QString::fromLatin1(name));
    for (int i = 0; i < values.keyCount(); ++i)
        combo->addItem(valueText(values.key(i)), values.value(i));
    combo->setCurrentIndex(combo->findData(current));
    return combo;
}

void ComPortConfigDialog::apply()
{
    // The rate first: a custom rate sets the rate choice itself.
    if (m_baudRate->currentData().toInt() == brCustom)
        m_port->SetCustomBaudRate(m_customBaudRate->value());
    else
        m_port->SetBaudRate(TBaudRate(m_baudRate->currentData().toInt()));
    m_port->SetDataBits(TDataBits(m_dataBits->currentData().toInt()));
    m_port->SetParity(TParity(m_parity->currentData().toInt()));
    m_port->SetStopBits(TStopBits(m_stopBits->currentData().toInt()));
    m_port->FlowControl().SetDTRControl(TDTRControl(m_dtr->currentData().toInt()));
    m_port->FlowControl().SetRTSControl(TRTSControl(m_rts->currentData().toInt()));
    m_port->FlowControl().SetXOnXOff(TXOnXOffControl(m_xonxoff->currentData().toInt()));
}
