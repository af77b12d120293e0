#pragma once

#include <QByteArray>
#include <QDataStream>
#include <QDebug>
#include <QList>

namespace Ux {

// Reads [length][id][payload] records into a list of elements, for sequence
// blobs and result lists alike. A record of an unknown id is skipped whole;
// the element never reads past its own record. A length below 2 or a record
// that runs past the data marks the data as corrupt: reading stops, the
// elements read so far stay in the list and the stream status says
// ReadCorruptData.
class TsqElementRecordReader
{
public:
    TsqElementRecordReader() = delete;

    template <typename Element, typename Create>
    static void read(QDataStream& stream, QList<Element*>& list, Create create, int endId = -1)
    {
        while (!stream.atEnd() && stream.status() == QDataStream::Ok) {
            quint8 length = 0;
            quint8 id = 0;
            stream >> length >> id;
            if (stream.status() != QDataStream::Ok)
                return refuse(stream, "element record cut short after its length byte");
            if (int(id) == endId)
                return;
            if (length < 2)
                return refuse(stream, "element record with a length below 2");
            const int payloadSize = length - 2;
            QByteArray payload(payloadSize, '\0');
            if (payloadSize > 0
                && stream.readRawData(payload.data(), payloadSize) != payloadSize)
                return refuse(stream, "element record longer than the data that remains");

            Element* element = create(id);
            if (!element)
                continue;
            if (payloadSize > 0) {
                QDataStream inner(payload);
                inner.setByteOrder(stream.byteOrder());
                element->read(inner, false);
            }
            list.append(element);
        }
    }

private:
    static void refuse(QDataStream& stream, const char* why)
    {
        qDebug() << "Corrupt element data:" << why << "- reading stopped";
        stream.resetStatus();
        stream.setStatus(QDataStream::ReadCorruptData);
    }
};

} // namespace Ux
