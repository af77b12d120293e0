#include "transfer/TransferLink.h"

#include "ux/SerialPort.h"

#include <QDebug>
#include <QMessageBox>
#include <QSocketNotifier>

bool TransferLink::open(Ux::SerialPort& port, const QString& portName, int baudRate, QWidget* parent)
{
    if (port.open(portName, unsigned(baudRate)))
        return true;
    qDebug().noquote() << "device failed to open: " + port.errorString();
    // Shown as it stands: the text is not translated.
    QMessageBox box(parent);
    box.setText(QStringLiteral("device failed to open"));
    box.exec();
    return false;
}

QSocketNotifier* TransferLink::watch(Ux::SerialPort& port, QObject* owner)
{
    return new QSocketNotifier(qintptr(port.descriptor()), QSocketNotifier::Read, owner);
}
