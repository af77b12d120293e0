#pragma once

#include "ux/TsqHeader.h"

#include <QDate>
#include <QString>

namespace Ux {

// Opens a transfer: which instrument speaks and, optionally, how many records
// follow, its calibration date and firmware version.
struct TsqStartOfTransfer
{
    TsqHeader header;
    QString testerType;
    QString testerSerialNumber;
    int numberOfRecords = -1; // -1: the optional part is absent
    QDate calibrationDate;
    QString firmwareVersion;
};

// Writes header and body; the optional part only when numberOfRecords >= 0.
QDataStream& operator<<(QDataStream& stream, TsqStartOfTransfer& record);
// Reads the body after the caller has read the header into record.header.
// A record that does not fit the data is refused (status ReadCorruptData).
QDataStream& operator>>(QDataStream& stream, TsqStartOfTransfer& record);

} // namespace Ux
