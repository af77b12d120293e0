#include "ux/TsqMedicalApplianceResult.h"

#include "core/DateFormat.h"
#include "ux/TsqText.h"

namespace Ux {

namespace {

constexpr int textMax = 25;
constexpr int testCodeMax = 4;
constexpr int commentsMax = 127;
constexpr int spareWidth = 16;
constexpr int sequenceNameWidth = 26;
// A sequence block length counts itself, the name, the class and the end-of-sequence record.
constexpr int sequenceOverhead = 2 + sequenceNameWidth + 1 + 2;

QByteArray assetBlock(const TsqMedicalApplianceResult& r, QDataStream::ByteOrder order)
{
    QByteArray block;
    QDataStream out(&block, QIODevice::WriteOnly);
    out.setByteOrder(order);
    const QDate date = r.testDate.date();
    const QTime time = r.testDate.time();
    out << quint8(r.overallResult) << quint8(time.hour()) << quint8(time.minute())
        << quint8(time.second()) << quint8(date.day()) << quint8(date.month())
        << quint16(date.year()) << r.retestPeriod << quint8(r.testType) << quint8(r.testMode);
    for (const QString* text : {&r.applianceName, &r.siteName, &r.userName})
        TsqText::writeTerminated(out, *text, textMax);
    TsqText::writeTerminated(out, r.testCode, testCodeMax);
    for (const QString* text : {&r.serviceCode, &r.locationName, &r.make, &r.model,
                                &r.applianceDescription, &r.serialNo, &r.clientName})
        TsqText::writeTerminated(out, *text, textMax);
    TsqText::writeTerminated(out, r.comments, commentsMax);
    for (const TsqAppliedPart& part : r.appliedParts) {
        out << part.numConnections << quint8(part.appliedPartClass);
        TsqText::writeTerminated(out, part.name, textMax);
    }
    TsqText::writeFixed(out, r.spareStrings, spareWidth);
    return block;
}

void readAssetBlock(QDataStream& in, TsqMedicalApplianceResult& r)
{
    quint8 overall = 0, hour = 0, minute = 0, second = 0, day = 0, month = 0;
    quint8 testType = 0, testMode = 0;
    quint16 year = 0;
    in >> overall >> hour >> minute >> second >> day >> month >> year >> r.retestPeriod >> testType
        >> testMode;
    r.overallResult = overall;
    r.testType = testType;
    r.testMode = testMode;
    r.testDate = wallClockDateTime(QDate(year, month, day), QTime(hour, minute, second, 0));
    for (QString* text : {&r.applianceName, &r.siteName, &r.userName})
        *text = TsqText::readTerminated(in, textMax);
    r.testCode = TsqText::readTerminated(in, testCodeMax);
    for (QString* text : {&r.serviceCode, &r.locationName, &r.make, &r.model,
                          &r.applianceDescription, &r.serialNo, &r.clientName})
        *text = TsqText::readTerminated(in, textMax);
    r.comments = TsqText::readTerminated(in, commentsMax);
    for (TsqAppliedPart& part : r.appliedParts) {
        quint8 partClass = 0;
        in >> part.numConnections >> partClass;
        part.appliedPartClass = partClass;
        part.name = TsqText::readTerminated(in, textMax);
    }
    r.spareStrings = TsqText::readFixed(in, spareWidth);
}

// Reads a block led by its own 16-bit length; false when it does not fit.
bool readBlock(QDataStream& in, int minimumLength, QByteArray& block)
{
    quint16 blockLength = 0;
    in >> blockLength;
    if (in.status() != QDataStream::Ok || blockLength < minimumLength)
        return false;
    const int size = blockLength - 2;
    block = QByteArray(size, '\0');
    return in.readRawData(block.data(), size) == size;
}

} // namespace

QDataStream& operator<<(QDataStream& stream, TsqMedicalApplianceResult& record)
{
    const QByteArray asset = assetBlock(record, stream.byteOrder());
    QByteArray sequence;
    QDataStream seq(&sequence, QIODevice::WriteOnly);
    seq.setByteOrder(stream.byteOrder());
    TsqText::writeFixed(seq, record.testSequenceName, sequenceNameWidth);
    seq << quint8(record.equipmentClass);
    seq.writeRawData(record.testSequenceData.constData(), int(record.testSequenceData.size()));
    seq << quint8(0x02) << quint8(0xFE);
    if (asset.size() + 2 > 0xFFFF || sequence.size() + 2 > 0xFFFF) {
        TsqHeader::refuse(stream, QDataStream::WriteFailed, "asset or sequence block too long");
        return stream;
    }

    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out.setByteOrder(stream.byteOrder());
    out << quint16(asset.size() + 2);
    out.writeRawData(asset.constData(), int(asset.size()));
    out << quint16(sequence.size() + 2);
    out.writeRawData(sequence.constData(), int(sequence.size()));
    out.writeRawData(record.testResultsData.constData(), int(record.testResultsData.size()));
    out << quint8(0x02) << quint8(0xFF);
    TsqHeader::writeRecord(stream, record.header, TsqMedicalApplianceResultId, body);
    return stream;
}

QDataStream& operator>>(QDataStream& stream, TsqMedicalApplianceResult& record)
{
    QByteArray body;
    if (!TsqHeader::readBody(stream, record.header, body))
        return stream;
    QDataStream in(body);
    in.setByteOrder(stream.byteOrder());

    QByteArray asset;
    if (!readBlock(in, 2, asset)) {
        TsqHeader::refuse(stream, QDataStream::ReadCorruptData, "asset block length");
        return stream;
    }
    QDataStream assetIn(asset);
    assetIn.setByteOrder(stream.byteOrder());
    readAssetBlock(assetIn, record);
    if (assetIn.status() != QDataStream::Ok) {
        TsqHeader::refuse(stream, QDataStream::ReadCorruptData, "asset block too short");
        return stream;
    }

    QByteArray sequence;
    if (!readBlock(in, sequenceOverhead, sequence)) {
        TsqHeader::refuse(stream, QDataStream::ReadCorruptData, "sequence block length");
        return stream;
    }
    QDataStream sequenceIn(sequence);
    sequenceIn.setByteOrder(stream.byteOrder());
    record.testSequenceName = TsqText::readFixed(sequenceIn, sequenceNameWidth);
    quint8 equipmentClass = 0;
    sequenceIn >> equipmentClass;
    record.equipmentClass = equipmentClass;
    record.testSequenceData = sequence.mid(sequenceNameWidth + 1,
                                           sequence.size() - (sequenceOverhead - 2));

    // This program ends the body with 02 FF; instruments send one byte more.
    const QByteArray rest = body.mid(int(in.device()->pos()));
    const int trailing = rest.endsWith(QByteArray::fromHex("02FF")) ? 2 : 3;
    record.testResultsData = rest.left(qMax(int(rest.size()) - trailing, 0));
    return stream;
}

} // namespace Ux
