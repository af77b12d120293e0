#include "ux/TsqTestSequenceBlock.h"

#include "ux/TsqText.h"

namespace Ux {

namespace {
constexpr int nameWidth = 26;
// The block length counts itself, the name, the class and the end-of-sequence record.
constexpr int blockOverhead = 2 + nameWidth + 1 + 2;
} // namespace

QDataStream& operator<<(QDataStream& stream, TsqTestSequenceBlock& record)
{
    if (record.data.size() + blockOverhead > 0xFFFF) {
        TsqHeader::refuse(stream, QDataStream::WriteFailed, "sequence too long for its block");
        return stream;
    }
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out.setByteOrder(stream.byteOrder());
    out << quint16(record.data.size() + blockOverhead);
    TsqText::writeFixed(out, record.name, nameWidth);
    out << record.equipmentClass;
    out.writeRawData(record.data.constData(), int(record.data.size()));
    out << quint8(0x02) << quint8(0xFE) << quint8(0xFF);
    TsqHeader::writeRecord(stream, record.header, TsqTestSequenceBlockId, body);
    return stream;
}

QDataStream& operator>>(QDataStream& stream, TsqTestSequenceBlock& record)
{
    QByteArray body;
    if (!TsqHeader::readBody(stream, record.header, body))
        return stream;
    QDataStream in(body);
    in.setByteOrder(stream.byteOrder());
    quint16 blockLength = 0;
    in >> blockLength;
    record.name = TsqText::readFixed(in, nameWidth);
    in >> record.equipmentClass;
    const int dataLength = int(blockLength) - blockOverhead;
    QByteArray data(qMax(dataLength, 0), '\0');
    if (in.status() != QDataStream::Ok || dataLength < 0
        || in.readRawData(data.data(), dataLength) != dataLength) {
        TsqHeader::refuse(stream, QDataStream::ReadCorruptData, "test-sequence block length");
        return stream;
    }
    record.data = data;
    return stream;
}

} // namespace Ux
