#pragma once

#include "ux/TsqHeader.h"

namespace Ux {

// Closes a transfer; always the same nine bytes.
struct TsqEndOfTransfer
{
    TsqHeader header;
};

QDataStream& operator<<(QDataStream& stream, TsqEndOfTransfer& record);
// Reads header and body byte; a record cut short leaves ReadPastEnd.
QDataStream& operator>>(QDataStream& stream, TsqEndOfTransfer& record);

} // namespace Ux
