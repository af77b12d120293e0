#pragma once

#include <QList>
#include <QString>

namespace Ux {

// One serial port as the port listing finds it.
struct SerialPortInfo
{
    QString portName;   // device path handed to SerialPort::open, e.g. /dev/ttyUSB0
    QString physName;   // kernel name of the device, e.g. ttyUSB0
    QString friendName; // "description (name)" for the port choice
    QString enumName;   // manufacturer as the device reports it, else empty
    int vendorId = 0;   // USB vendor id, 0 when not a USB device
    int productId = 0;  // USB product id, 0 when not a USB device
};

using SerialPortInfoList = QList<SerialPortInfo>;

} // namespace Ux
