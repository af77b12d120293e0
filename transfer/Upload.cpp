#include "transfer/Upload.h"

#include "core/Error.h"
#include "transfer/ExportTsq.h"
#include "transfer/TransferLink.h"
#include "transfer/TransferTempFile.h"
#include "transfer/UploadRequest.h"
#include "ux/TransferPacket.h"

#include <QDebug>
#include <QMessageBox>
#include <QTimer>

Upload::Upload(const UploadRequest* request)
    : DialogProgress(tr("Uploading ..."), Error::dialogParent()), request(request)
{
    connect(this, &DialogProgress::progressAbortRequest, this, &DialogProgress::abort);
    connect(this, &QDialog::finished, this, [this] {
        running = false;
        if (pollTimer)
            pollTimer->stop();
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
    assetIndex = 0;
    sequenceIndex = 0;

    sender = std::make_unique<Ux::TransferPacket>(&port, Ux::TransferPacket::SenderMode);
    connect(sender.get(), &Ux::TransferPacket::ackReceived, this, &Upload::ackReceived);
    connect(sender.get(), &Ux::TransferPacket::nckReceived, this, &Upload::nckReceived);

    QMessageBox ready(QMessageBox::Information, QString(), tr("Press Ok when ready to send"),
                      QMessageBox::Ok | QMessageBox::Cancel, Error::dialogParent());
    if (ready.exec() != QMessageBox::Ok)
        return;

    TransferTempFile::makeFolder();
    pollTimer = new QTimer(this);
    connect(pollTimer, &QTimer::timeout, this, &Upload::onPollPort);
    pollTimer->start(0);
    running = true;
    writeNextPacket();
    exec();
}

void Upload::onPollPort()
{
    port.read(TransferLink::PollBytes);
}

void Upload::writeNextPacket()
{
    QByteArray record;
    bool last = false;
    if (packetId == 0) {
        packetId = Ux::TransferPacket::FirstPacketId;
        total = int(request->assetIds.size() + request->globalSequenceIds.size());
        ExportTsq::writeHeader(&record, total);
    } else if (assetIndex < request->assetIds.size()) {
        ExportTsq::writeAsset(&record, request->assetIds.at(assetIndex++));
    } else if (sequenceIndex < request->globalSequenceIds.size()) {
        ExportTsq::writeGlobalTestSequence(&record, request->globalSequenceIds.at(sequenceIndex++));
    } else {
        ExportTsq::writeEnd(&record);
        last = true;
    }

    TransferTempFile::write(QStringLiteral("export"), packetId, record);
    sender->sendPacket(packetId, record);
    packetId = packetId >= Ux::TransferPacket::LastPacketId ? Ux::TransferPacket::FirstPacketId
                                                            : quint8(packetId + 1);

    // With nothing requested the header and the end record are all there is:
    // done once the end record is out.
    const int sent = assetIndex + sequenceIndex;
    updateProgress(total > 0 ? float(sent) / float(total) : (last ? 1.0f : 0.0f));
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
