#pragma once

#include "ux/TsqHeader.h"

#include <QString>

namespace Ux {

// One named test sequence for an equipment class.
struct TsqTestSequenceBlock
{
    TsqHeader header;
    QString name;
    quint8 equipmentClass = 0;
    QByteArray data; // a test-sequence blob
};

// Writes header and body; data too long for the block length is refused
// (status WriteFailed, nothing written).
QDataStream& operator<<(QDataStream& stream, TsqTestSequenceBlock& record);
// Reads the body after the caller has read the header into record.header.
// A record that does not fit the data is refused (status ReadCorruptData).
QDataStream& operator>>(QDataStream& stream, TsqTestSequenceBlock& record);

} // namespace Ux
