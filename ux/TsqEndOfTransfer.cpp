#include "ux/TsqEndOfTransfer.h"

namespace Ux {

namespace {
constexpr quint8 trailer = 0xFF;
} // namespace

QDataStream& operator<<(QDataStream& stream, TsqEndOfTransfer& record)
{
    stream.setByteOrder(QDataStream::LittleEndian);
    record.header.tsqVersion = 96;
    record.header.tsqLength = 2;
    record.header.checksum = trailer + TsqEndOfTransferId;
    record.header.identifier = TsqEndOfTransferId;
    return stream << record.header << trailer;
}

QDataStream& operator>>(QDataStream& stream, TsqEndOfTransfer& record)
{
    stream.setByteOrder(QDataStream::LittleEndian);
    quint8 body = 0;
    return stream >> record.header >> body;
}

} // namespace Ux
