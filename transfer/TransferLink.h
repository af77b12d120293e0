#pragma once

#include <QString>

class QObject;
class QSocketNotifier;
class QWidget;
namespace Ux { class SerialPort; }

// What a download and an upload share when they open their port.
class TransferLink
{
public:
    // Opens the port; on failure logs the system's reason, tells the user
    // the port and that reason, and returns false once the message is closed.
    static bool open(Ux::SerialPort& port, const QString& portName, int baudRate, QWidget* parent);
    // The bytes one poll of a transfer reads at most, so that a tick stays short.
    static constexpr unsigned PollBytes = 100;
    // A notifier, owned by owner, that fires while the open port has bytes to
    // read or has gone: the transfer reads when there is something to read,
    // and an idle line costs no processor time.
    static QSocketNotifier* watch(Ux::SerialPort& port, QObject* owner);
};
