#pragma once

#include <QList>
#include <QString>

// What one upload sends and where. Made on the stack by the code that starts
// the upload, which fills the ids and, from the transfer dialog, the port and
// baud rate; the upload keeps a pointer to it while it runs.
struct UploadRequest
{
    QList<int> assetIds;
    QList<int> globalSequenceIds;
    QString portName;
    int baudRate = 0;
};
