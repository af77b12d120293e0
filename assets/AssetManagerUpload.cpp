// The upload of the selected assets: the transfer dialog for port and baud
// rate, then the upload itself, which runs its own modal progress.
#include "assets/AssetManager.h"

#include <QDebug>

#if __has_include("transfer/UploadRequest.h")
#include "transfer/DialogTransfer.h"
#include "transfer/Upload.h"
#include "transfer/UploadRequest.h"

void AssetManager::runUpload(const QList<int>& assetIds)
{
    DialogTransfer dialog(m_window, 1);
    dialog.setWindowTitle(tr("Upload Assets to Tester"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    UploadRequest request;
    request.portName = dialog.portName();
    request.baudRate = dialog.baudRate();
    request.assetIds = assetIds;
    // The upload keeps a pointer to the request until it has ended.
    Upload upload(&request);
    upload.start();
}

#else

void AssetManager::runUpload(const QList<int>& assetIds)
{
    qDebug() << "Upload of" << assetIds.size() << "assets: this build has no transfer code";
}

#endif
