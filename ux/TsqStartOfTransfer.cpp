#include "ux/TsqStartOfTransfer.h"

#include "ux/TsqText.h"

namespace Ux {

namespace {
const QString dateFormat = QStringLiteral("dd.MM.yyyy");
constexpr int testerTextWidth = 20;
constexpr int lengthWithOptionalPart = 43;
} // namespace

QDataStream& operator<<(QDataStream& stream, TsqStartOfTransfer& record)
{
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out.setByteOrder(stream.byteOrder());
    TsqText::writeFixed(out, record.testerType, testerTextWidth);
    TsqText::writeFixed(out, record.testerSerialNumber, testerTextWidth);
    if (record.numberOfRecords >= 0) {
        TsqText::writeTerminated(out, QString::number(record.numberOfRecords));
        TsqText::writeTerminated(out, record.calibrationDate.toString(dateFormat));
        TsqText::writeTerminated(out, record.firmwareVersion);
    }
    out << quint8(0xFF);
    TsqHeader::writeRecord(stream, record.header, TsqStartOfTransferId, body);
    return stream;
}

QDataStream& operator>>(QDataStream& stream, TsqStartOfTransfer& record)
{
    QByteArray body;
    if (!TsqHeader::readBody(stream, record.header, body))
        return stream;
    QDataStream in(body);
    in.setByteOrder(stream.byteOrder());
    record.testerType = TsqText::readFixed(in, testerTextWidth);
    record.testerSerialNumber = TsqText::readFixed(in, testerTextWidth);
    if (in.status() != QDataStream::Ok) {
        TsqHeader::refuse(stream, QDataStream::ReadCorruptData, "start of transfer too short");
        return stream;
    }
    if (record.header.tsqLength >= lengthWithOptionalPart) {
        bool ok = false;
        record.numberOfRecords = TsqText::readTerminated(in).toInt(&ok);
        if (!ok)
            record.numberOfRecords = 0;
        record.calibrationDate = QDate::fromString(TsqText::readTerminated(in), dateFormat);
        record.firmwareVersion = TsqText::readTerminated(in);
    } else {
        record.numberOfRecords = -1;
    }
    return stream;
}

} // namespace Ux
