#include "transfer/TransferLink.h"

#include "ux/SerialPort.h"

#include <QCoreApplication>
#include <QDebug>
#include <QMessageBox>
#include <QSocketNotifier>

#include <pwd.h>
#include <unistd.h>

namespace {
QString userName()
{
    const passwd* entry = ::getpwuid(::geteuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : qEnvironmentVariable("USER");
}
} // namespace

bool TransferLink::open(Ux::SerialPort& port, const QString& portName, int baudRate, QWidget* parent)
{
    if (port.open(portName, unsigned(baudRate)))
        return true;
    qDebug().noquote() << "device failed to open: " + port.errorString();
    QMessageBox box(parent);
    if (port.accessDenied()) {
        // A refusal that the user can have lifted, so the box says how.
        box.setText(QCoreApplication::translate(
                        "TransferLink",
                        "You may not use the serial port %1.\n\nOn this computer the serial ports belong to the "
                        "group \"dialout\". Ask your administrator to add you (%2) to that group, for example "
                        "with \"sudo adduser %2 dialout\", then log out and log in again.",
                        "%1 is the device, %2 the user's login name")
                        .arg(portName, userName()));
    } else {
        // The system's reason (busy, missing, ...) tells the user what to
        // look at: another program on the port, a cable, the port chosen.
        box.setText(QCoreApplication::translate("TransferLink", "The serial port %1 could not be opened: %2.",
                                                "%1 is the device, %2 the system's reason, e.g. "
                                                "\"Device or resource busy\"")
                        .arg(portName, port.errorString()));
    }
    box.exec();
    return false;
}

QSocketNotifier* TransferLink::watch(Ux::SerialPort& port, QObject* owner)
{
    return new QSocketNotifier(qintptr(port.descriptor()), QSocketNotifier::Read, owner);
}
