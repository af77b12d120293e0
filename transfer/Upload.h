#pragma once

#include "database/DialogProgress.h"
#include "ux/SerialPort.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <memory>

struct UploadRequest;
class QSocketNotifier;
namespace Ux { class TransferPacket; }

// Sends a transfer header, the requested assets, the requested global test
// sequences and the end record to an instrument, one record per packet; a
// record too long for a packet is left out and named once the upload ends. The
// next on ACK, the same frame again on NCK, as often as the instrument
// refuses it. Runs as a modal progress dialog reading the replies whenever
// the port has bytes; it closes right after sending the end record, on Abort,
// or when the device goes away (which the user is told). Nothing in the
// database changes.
class Upload : public DialogProgress
{
    Q_OBJECT
public:
    // The request must outlive the upload.
    explicit Upload(const UploadRequest* request);
    ~Upload() override;

    // Opens the port, asks whether the instrument is ready, runs the
    // transfer; returns when it has ended or was not started.
    void start();
    void writeNextPacket();

public slots:
    void ackReceived(quint8 id);
    void nckReceived(quint8 id);
    void onPollPort();

private:
    // Builds the asset and sequence records before anything is sent, so that
    // the header counts only what goes out; names what cannot be sent.
    void buildRecords();
    void tellLeftOut();

    const UploadRequest* request;
    QList<QByteArray> records;
    QStringList leftOut;
    int recordIndex = 0;
    quint8 packetId = 0; // 0: nothing sent yet
    int total = 0;
    Ux::SerialPort port;
    std::unique_ptr<Ux::TransferPacket> sender;
    // Fires while the port has bytes or has gone; nothing runs on a quiet line.
    QSocketNotifier* portWatch = nullptr;
    // Set when the device went away under the upload.
    bool lineLost = false;
    // True from the first packet until the dialog closes; replies that come
    // after the end record or the Abort send nothing more.
    bool running = false;
};
