#pragma once

#include "database/DialogProgress.h"
#include "ux/SerialPort.h"

#include <memory>

struct DownloadStats;
class QSocketNotifier;
namespace Ux { class TransferPacket; }

// Receives the records an instrument sends and imports each one into the
// current database as it arrives, counting what they brought. Runs as a
// modal progress dialog reading the port whenever it has bytes; it ends on
// the end-of-transfer record, when the announced number of records has come,
// on Abort, or when the device goes away (which the user is told). Each
// record is committed on its own, so an aborted download keeps what came
// before the Abort.
class Download : public DialogProgress
{
    Q_OBJECT
public:
    // stats is the caller's zero-filled record, counted into in place.
    Download(const QString& portName, int baudRate, DownloadStats* stats);
    ~Download() override;

    // Opens the port and runs the dialog; returns when it has closed. False
    // when the port cannot be opened (at once) or the line was lost before
    // any record came: the user has been told why, and nothing was received
    // to report.
    bool start();

public slots:
    void update();
    void packetReceived(quint8 id, const QByteArray& data);

private:
    void count(int identifier, int outcome);
    void finish();

    Ux::SerialPort port;
    DownloadStats* stats;
    int received = 0;
    QString portName;
    int baudRate;
    // Fires while the port has bytes or has gone; nothing runs on a quiet line.
    QSocketNotifier* portWatch = nullptr;
    // Set when the device went away under the download.
    bool lineLost = false;
    // Set by the first packet of the download, stored or not.
    bool anyReceived = false;
    // What was not stored when the database stayed busy, which stops the download.
    QString busyRecord;
    std::unique_ptr<Ux::TransferPacket> receiver;
    // False once the dialog has closed; packets still in the read that
    // closed it are imported but move no progress.
    bool running = false;
};
