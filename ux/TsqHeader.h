#pragma once

#include <QByteArray>
#include <QDataStream>
#include <QIODevice>

namespace Ux {

enum TsqRecordIdentifier {
    TsqMedicalApplianceResultId = 2,
    TsqTestSequenceBlockId = 16,
    TsqStartOfTransferId = 85,
    TsqEndOfTransferId = 170
};

// The eight bytes before every record body. tsqLength and checksum cover the
// identifier and the body.
struct TsqHeader
{
    quint8 tsqVersion = 96;
    quint16 tsqLength = 0;
    quint32 checksum = 0;
    quint8 identifier = 0;

    // Fills the header for body and writes header and body. A body that does
    // not fit the 16-bit length is refused: nothing is written and the
    // stream status becomes WriteFailed.
    static bool writeRecord(QDataStream& stream, TsqHeader& header, quint8 identifier,
                            const QByteArray& body);
    // Reads the tsqLength - 1 body bytes that follow the header. A length
    // that the remaining data cannot hold is refused with ReadCorruptData.
    static bool readBody(QDataStream& stream, const TsqHeader& header, QByteArray& body);
    // Marks the stream as failed with status and logs why.
    static void refuse(QDataStream& stream, QDataStream::Status status, const char* why);
};

QDataStream& operator<<(QDataStream& stream, const TsqHeader& header);
QDataStream& operator>>(QDataStream& stream, TsqHeader& header);

} // namespace Ux
