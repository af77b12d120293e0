#include "transfer/Download.h"

#include "core/Error.h"
#include "database/ConnectionLoss.h"
#include "database/Database.h"
#include "database/DatabaseBusy.h"
#include "database/PendingWrite.h"
#include "database/StatementCache.h"
#include "transfer/DownloadStats.h"
#include "transfer/ImportTsq.h"
#include "transfer/TransferLink.h"
#include "transfer/TransferTempFile.h"
#include "ux/PerformanceTimer.h"
#include "ux/TransferPacket.h"
#include "ux/TsqHeader.h"

#include <QDebug>
#include <QMessageBox>
#include <QSocketNotifier>
#include <optional>

Download::Download(const QString& portName, int baudRate, DownloadStats* stats)
    : DialogProgress(tr("Downloading ..."), Error::dialogParent()), stats(stats), portName(portName),
      baudRate(baudRate)
{
    connect(this, &DialogProgress::progressAbortRequest, this, &DialogProgress::abort);
    connect(this, &QDialog::finished, this, [this] {
        running = false;
        if (portWatch)
            portWatch->setEnabled(false);
    });
}

Download::~Download()
{
    port.close();
    receiver.reset();
}

bool Download::start()
{
    ImportTsq::resetTransfer();
    if (!TransferLink::open(port, portName, baudRate, Error::dialogParent()))
        return false;
    TransferTempFile::makeFolder();

    receiver = std::make_unique<Ux::TransferPacket>(&port, Ux::TransferPacket::ReceiverMode);
    connect(receiver.get(), &Ux::TransferPacket::packetReceived, this, &Download::packetReceived);

    lineLost = false;
    anyReceived = false;
    portWatch = TransferLink::watch(port, this);
    connect(portWatch, &QSocketNotifier::activated, this, &Download::update);
    running = true;
    // Every record runs the same statements: prepare them once per download.
    std::optional<StatementCache> statements;
    if (Database::instance())
        statements.emplace(Database::instance()->connection());
    PendingWrite pending(tr("the rest of this download (the records received before are stored): download "
                            "again once connected"));
    exec();
    if (!busyRecord.isEmpty()) {
        QMessageBox::warning(Error::dialogParent(), QString(),
                             DatabaseBusy::downloadStopped(
                                 {busyRecord, tr("the records the tester sent after it: download again")}));
    }
    if (lineLost) {
        QMessageBox::warning(Error::dialogParent(), QString(),
                             tr("The connection to the tester on %1 was lost and the download has stopped. "
                                "The records received before are stored.",
                                "%1 is the serial device")
                                 .arg(portName));
        // With nothing received the message is the whole outcome: a report
        // of zeros would read as an empty download that worked.
        if (!anyReceived)
            return false;
    }
    return true;
}

void Download::update()
{
    if (port.read(TransferLink::PollBytes) || !port.lineLost() || !running)
        return;
    qDebug().noquote() << "Download: device lost: " + port.errorString();
    lineLost = true;
    abort();
}

void Download::packetReceived(quint8 id, const QByteArray& data)
{
    // The receiver has acknowledged the packet already: the instrument counts
    // it as delivered, so it is imported even when it came in the same read
    // as the record that closed the dialog.
    qDebug() << "Packet received with id=" << id << " and data length of " << data.size();
    anyReceived = true;
    setInfo(1, tr("Received packet (id:%1)", "Shows progress of download. %%1 is the packet id").arg(id));
    TransferTempFile::write(QStringLiteral("import"), id, data);

    // The server went away, or stayed busy, under an earlier record of this
    // read: nothing more is stored.
    if (ConnectionLoss::happened() || !busyRecord.isEmpty())
        return;
    int identifier = 0;
    {
        Ux::PerformanceTimer timer(QStringLiteral("Import"));
        ImportTsq importer;
        importer.import(data);
        identifier = importer.identifier;
        if (ConnectionLoss::happened() || !importer.notStored.isEmpty()) {
            // The record was not stored and is not counted; after a lost
            // connection the user has been told, a busy database is told
            // once the download has stopped.
            busyRecord = importer.notStored;
            running = false;
            abort();
            return;
        }
        count(identifier, importer.outcome);
    }
    if (!running)
        return;
    if (identifier == Ux::TsqEndOfTransferId) {
        updateProgress(1.0f);
        finish();
        return;
    }

    // The header announces the records that follow; with the header and the
    // end record that makes the whole transfer. Without an announcement
    // (-1) there is nothing to show and only the end record closes.
    const int expected = ImportTsq::expectedRecordCount() + 2;
    if (expected <= 1)
        return;
    ++received;
    updateProgress(float(received) / float(expected));
    if (received == expected)
        finish();
}

void Download::count(int identifier, int outcome)
{
    if (identifier == Ux::TsqTestSequenceBlockId) {
        ++(*stats)[DownloadStats::GlobalSequences];
        return;
    }
    if (identifier != Ux::TsqMedicalApplianceResultId)
        return;
    switch (outcome) {
    case 1: ++(*stats)[DownloadStats::Pass]; break;
    case 2: ++(*stats)[DownloadStats::Fail]; break;
    case 5: ++(*stats)[DownloadStats::Alert]; break;
    case 6: ++(*stats)[DownloadStats::AlreadyStored]; break;
    default: ++(*stats)[DownloadStats::Other]; break;
    }
}

void Download::finish()
{
    running = false;
    accept();
}
