#pragma once

#include <QByteArray>
#include <QString>

// The trace of the last transfer: each record received or sent is kept as
// "<data folder>/TempFiles/<kind><packet id, three digits>.tsq", overwritten
// when a packet id comes round again. Nothing reads the files back, so a
// failure to write one is logged and the transfer goes on.
class TransferTempFile
{
public:
    static QString folder();
    // Creates the folder when missing; false (logged) when that fails.
    static bool makeFolder();
    // kind is "import" or "export".
    static QString path(const QString& kind, quint8 packetId);
    static bool write(const QString& kind, quint8 packetId, const QByteArray& record);
};
