#include "transfer/DialogTransfer.h"

#include "ui_DialogTransfer.h"
#include "ux/SerialPort.h"

#include <QDataStream>
#include <QIODevice>
#include <QSettings>

namespace {

// The remembered choice, shared by every transfer dialog of the run.
int rememberedBaudRateIndex = 6;
int rememberedComPortIndex = 0;

} // namespace

DialogTransfer::DialogTransfer(QWidget* parent, int /*mode*/) : QDialog(parent), ui(new Ui::DialogTransfer)
{
    ui->setupUi(this);
    populateComPorts();

    const QVariant stored = QSettings().value(QLatin1String(SettingsKey));
    if (stored.isValid() && !stored.isNull()) {
        const QByteArray state = stored.toByteArray();
        if (state.size() >= 8) {
            QDataStream in(state);
            qint32 baud = 0;
            qint32 port = 0;
            in >> baud >> port;
            rememberedBaudRateIndex = baud;
            rememberedComPortIndex = port;
        }
    }

    ui->baudRate->setCurrentIndex(rememberedBaudRateIndex);
    ui->comPorts->setCurrentIndex(rememberedComPortIndex);

    connect(ui->rescanComPortBtn, &QPushButton::pressed, this, &DialogTransfer::populateComPorts);
    connect(ui->comPorts, &QComboBox::currentIndexChanged, this, &DialogTransfer::currentComPortChanged);
    connect(ui->baudRate, &QComboBox::currentIndexChanged, this, &DialogTransfer::baudRateChanged);
}

DialogTransfer::~DialogTransfer()
{
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    out << qint32(rememberedBaudRateIndex) << qint32(rememberedComPortIndex);
    QSettings().setValue(QLatin1String(SettingsKey), state);
}

QString DialogTransfer::portName() const
{
    return ui->comPorts->currentData(Qt::UserRole).toString();
}

int DialogTransfer::baudRate() const
{
    return ui->baudRate->currentText().toInt();
}

void DialogTransfer::populateComPorts()
{
    ui->comPorts->clear();
    const Ux::SerialPortInfoList ports = Ux::SerialPort::enumeratePorts();
    for (const Ux::SerialPortInfo& port : ports)
        ui->comPorts->addItem(port.friendName, port.portName);
}

void DialogTransfer::currentComPortChanged(int index)
{
    rememberedComPortIndex = index;
}

void DialogTransfer::baudRateChanged(int index)
{
    rememberedBaudRateIndex = index;
}
