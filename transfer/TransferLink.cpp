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
    const Ux::SerialPort::DeviceGroup group =
        port.accessDenied() ? Ux::SerialPort::deviceGroup(portName) : Ux::SerialPort::DeviceGroup();
    if (port.accessDenied() && !group.groupMayUse) {
        // Joining a group would not help: the device's own permissions
        // shut every group out.
        box.setText(QCoreApplication::translate(
                        "TransferLink",
                        "You may not use the serial port %1.\n\nIts permissions let no group use it (it belongs to "
                        "the group \"%2\"), so joining a group does not open it. Ask your administrator to give "
                        "the port to the group \"dialout\" with read and write access for the group.",
                        "%1 is the device, %2 the device's group")
                        .arg(portName, group.name));
    } else if (port.accessDenied() && group.listed && !group.held) {
        box.setText(QCoreApplication::translate(
                        "TransferLink",
                        "You may not use the serial port %1 yet.\n\nYou (%2) were added to its group \"%3\" after "
                        "you logged in: log out and log in again.",
                        "%1 is the device, %2 the user's login name, %3 the device's group")
                        .arg(portName, userName(), group.name));
    } else if (port.accessDenied() && !group.held) {
        // A refusal that the user can have lifted, so the box says how.
        box.setText(QCoreApplication::translate(
                        "TransferLink",
                        "You may not use the serial port %1.\n\nOn this computer it belongs to the group \"%3\". "
                        "Ask your administrator to add you (%2) to that group, for example with \"sudo adduser "
                        "%2 %3\", then log out and log in again.",
                        "%1 is the device, %2 the user's login name, %3 the device's group")
                        .arg(portName, userName(), group.name));
    } else {
        // The system's reason (busy, missing, refused in spite of the
        // group, ...) tells the user what to look at: another program on
        // the port, a cable, the port chosen.
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
