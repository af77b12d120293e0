#include "transfer/DialogTransfer.h"

#include "ui_DialogTransfer.h"
#include "ux/SerialPort.h"

#include <QDataStream>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QIODevice>
#include <QSettings>

namespace {

// The remembered choice, shared by every transfer dialog of the run. The
// port is known by its device: its place in the list moves as adapters come
// and go. The index is still stored, for a setting without a device.
int rememberedBaudRateIndex = 6;
int rememberedComPortIndex = 0;
QString rememberedComPort;

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
            QString device;
            in >> baud >> port;
            if (!in.atEnd())
                in >> device;
            rememberedBaudRateIndex = baud;
            rememberedComPortIndex = port;
            rememberedComPort = in.status() == QDataStream::Ok ? device : QString();
        }
    }

    ui->baudRate->setCurrentIndex(rememberedBaudRateIndex);
    int port = rememberedComPortIndex;
    if (!rememberedComPort.isEmpty()) {
        port = ui->comPorts->findData(rememberedComPort, Qt::UserRole);
        // Unplugged since: shown by its name, so that the user sees which
        // port it was, and a try to open it says what became of it.
        if (port < 0) {
            ui->comPorts->addItem(tr("%1 (not connected)",
                                     "a serial port used before that the system no longer lists; %1 is its device")
                                      .arg(rememberedComPort),
                                  rememberedComPort);
            port = ui->comPorts->count() - 1;
        }
    }
    ui->comPorts->setCurrentIndex(port);

    connect(ui->rescanComPortBtn, &QPushButton::pressed, this, &DialogTransfer::populateComPorts);
    connect(ui->comPorts, &QComboBox::currentIndexChanged, this, &DialogTransfer::currentComPortChanged);
    connect(ui->baudRate, &QComboBox::currentIndexChanged, this, &DialogTransfer::baudRateChanged);
    // Without a port there is nothing to open: OK would only fail on a name
    // that the user never saw.
    const auto okWhenChosen = [this] {
        ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(ui->comPorts->currentIndex() >= 0);
    };
    connect(ui->comPorts, &QComboBox::currentIndexChanged, this, okWhenChosen);
    okWhenChosen();
}

DialogTransfer::~DialogTransfer()
{
    QByteArray state;
    QDataStream out(&state, QIODevice::WriteOnly);
    out << qint32(rememberedBaudRateIndex) << qint32(rememberedComPortIndex) << rememberedComPort;
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
    rememberedComPort = ui->comPorts->itemData(index, Qt::UserRole).toString();
}

void DialogTransfer::baudRateChanged(int index)
{
    rememberedBaudRateIndex = index;
}
