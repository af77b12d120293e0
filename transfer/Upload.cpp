#include "transfer/Upload.h"

#include "core/Error.h"
#include "transfer/ExportTsq.h"
#include "transfer/TransferLink.h"
#include "transfer/TransferTempFile.h"
#include "transfer/UploadRequest.h"
#include "ux/TransferPacket.h"

#include <QDebug>
#include <QMessageBox>
#include <QSocketNotifier>

Upload::Upload(const UploadRequest* request)
    : DialogProgress(tr("Uploading ..."), Error::dialogParent()), request(request)
{
    connect(this, &DialogProgress::progressAbortRequest, this, &DialogProgress::abort);
    connect(this, &QDialog::finished, this, [this] {
        running = false;
        if (portWatch)
            portWatch->setEnabled(false);
    });
}

Upload::~Upload()
{
    port.close();
    sender.reset();
}

void Upload::start()
{
    if (!TransferLink::open(port, request->portName, request->baudRate, Error::dialogParent()))
        return;
    packetId = 0;
    recordIndex = 0;

    sender = std::make_unique<Ux::TransferPacket>(&port, Ux::TransferPacket::SenderMode);
    connect(sender.get(), &Ux::TransferPacket::ackReceived, this, &Upload::ackReceived);
    connect(sender.get(), &Ux::TransferPacket::nckReceived, this, &Upload::nckReceived);

    QMessageBox ready(QMessageBox::Information, QString(), tr("Press Ok when ready to send"),
                      QMessageBox::Ok | QMessageBox::Cancel, Error::dialogParent());
    if (ready.exec() != QMessageBox::Ok)
        return;

    buildRecords();
    TransferTempFile::makeFolder();
    lineLost = false;
    portWatch = TransferLink::watch(port, this);
    connect(portWatch, &QSocketNotifier::activated, this, &Upload::onPollPort);
    running = true;
    writeNextPacket();
    exec();
    if (lineLost) {
        QMessageBox::warning(Error::dialogParent(), QString(),
                             tr("The connection to the tester on %1 was lost and the upload has stopped.",
                                "%1 is the serial device")
                                 .arg(request->portName));
    }
    tellLeftOut();
}

void Upload::buildRecords()
{
    records.clear();
    leftOut.clear();
    const auto keep = [this](bool written, const QByteArray& record, const QString& what) {
        if (written && record.size() <= Ux::TransferPacket::MaxDataLength)
            records.append(record);
        else
            leftOut.append(what);
    };
    for (int id : request->assetIds) {
        QByteArray record;
        QString what;
        keep(ExportTsq::writeAsset(&record, id, &what), record, what);
    }
    for (int id : request->globalSequenceIds) {
        QByteArray record;
        QString what;
        keep(ExportTsq::writeGlobalTestSequence(&record, id, &what), record, what);
    }
}

void Upload::tellLeftOut()
{
    if (leftOut.isEmpty())
        return;
    QMessageBox::warning(Error::dialogParent(), QString(),
                         tr("These records are too long to be sent to the tester and were left out:\n\n%1",
                            "%1 lists the assets and test sequences, one a line")
                             .arg(leftOut.join(QLatin1Char('\n'))));
}

void Upload::onPollPort()
{
    if (port.read(TransferLink::PollBytes) || !port.lineLost() || !running)
        return;
    qDebug().noquote() << "Upload: device lost: " + port.errorString();
    lineLost = true;
    running = false;
    abort();
}

void Upload::writeNextPacket()
{
    QByteArray record;
    bool last = false;
    if (packetId == 0) {
        packetId = Ux::TransferPacket::FirstPacketId;
        total = int(records.size());
        ExportTsq::writeHeader(&record, total);
    } else if (recordIndex < records.size()) {
        record = records.at(recordIndex++);
    } else {
        ExportTsq::writeEnd(&record);
        last = true;
    }

    TransferTempFile::write(QStringLiteral("export"), packetId, record);
    sender->sendPacket(packetId, record);
    packetId = packetId >= Ux::TransferPacket::LastPacketId ? Ux::TransferPacket::FirstPacketId
                                                            : quint8(packetId + 1);

    // With nothing to send the header and the end record are all there is:
    // done once the end record is out.
    updateProgress(total > 0 ? float(recordIndex) / float(total) : (last ? 1.0f : 0.0f));
    if (last) {
        running = false;
        accept();
    }
    qDebug() << "end writeNextPacket";
}

void Upload::ackReceived(quint8 id)
{
    qDebug() << "Upload::ackReceived(" << id << ")";
    if (running)
        writeNextPacket();
}

void Upload::nckReceived(quint8 id)
{
    qDebug() << "Upload::nckReceived(" << id << ")";
    if (running)
        sender->resendPacket();
}
