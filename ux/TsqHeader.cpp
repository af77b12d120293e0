#include "ux/TsqHeader.h"

#include <QDebug>

namespace Ux {

QDataStream& operator<<(QDataStream& stream, const TsqHeader& header)
{
    return stream << header.tsqVersion << header.tsqLength << header.checksum << header.identifier;
}

QDataStream& operator>>(QDataStream& stream, TsqHeader& header)
{
    return stream >> header.tsqVersion >> header.tsqLength >> header.checksum >> header.identifier;
}

void TsqHeader::refuse(QDataStream& stream, QDataStream::Status status, const char* why)
{
    qDebug() << "Tsq record refused:" << why;
    stream.resetStatus();
    stream.setStatus(status);
}

bool TsqHeader::writeRecord(QDataStream& stream, TsqHeader& header, quint8 identifier,
                            const QByteArray& body)
{
    if (body.size() + 1 > 0xFFFF) {
        refuse(stream, QDataStream::WriteFailed, "body too long for its length field");
        return false;
    }
    quint32 sum = identifier;
    for (char byte : body)
        sum += quint8(byte);
    header.tsqVersion = 96;
    header.tsqLength = quint16(body.size() + 1);
    header.checksum = sum;
    header.identifier = identifier;
    stream << header;
    stream.writeRawData(body.constData(), int(body.size()));
    return stream.status() == QDataStream::Ok;
}

bool TsqHeader::readBody(QDataStream& stream, const TsqHeader& header, QByteArray& body)
{
    const int size = int(header.tsqLength) - 1;
    body = QByteArray(qMax(size, 0), '\0');
    if (size < 0 || stream.status() != QDataStream::Ok
        || stream.readRawData(body.data(), size) != size) {
        body.clear();
        refuse(stream, QDataStream::ReadCorruptData, "length beyond the data");
        return false;
    }
    return true;
}

} // namespace Ux
