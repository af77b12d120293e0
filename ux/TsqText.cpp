#include "ux/TsqText.h"

#include <QByteArray>

namespace Ux {

namespace {

QByteArray toBytes(const QString& text, int count)
{
    QByteArray bytes(count, '\0');
    for (int i = 0; i < count; ++i) {
        const QChar c = text.at(i);
        // A 0 byte would end a terminated text early and shift every later
        // field, so NUL goes out as '?' like any character past Latin-1.
        bytes[i] = (c.unicode() > 0xFF || c.unicode() == 0) ? '?' : char(c.unicode());
    }
    return bytes;
}

bool readByte(QDataStream& stream, quint8& byte)
{
    byte = 0;
    if (stream.atEnd() || stream.status() != QDataStream::Ok)
        return false;
    stream >> byte;
    return stream.status() == QDataStream::Ok;
}

} // namespace

int TsqText::writtenLength(const QString& text, int maxChars)
{
    return qMin(int(text.size()), maxChars);
}

void TsqText::writeTerminated(QDataStream& stream, const QString& text, int maxChars)
{
    const QByteArray bytes = toBytes(text, writtenLength(text, maxChars));
    stream.writeRawData(bytes.constData(), int(bytes.size()));
    stream << quint8(0);
}

QString TsqText::readTerminated(QDataStream& stream, int maxChars)
{
    QString text;
    quint8 byte = 0;
    for (int i = 0; i <= maxChars && readByte(stream, byte); ++i) {
        if (byte == 0)
            break;
        text.append(QChar(byte));
    }
    return text;
}

void TsqText::writeTerminated(QDataStream& stream, const QString& text)
{
    writeTerminated(stream, text, int(text.size()));
}

QString TsqText::readTerminated(QDataStream& stream)
{
    QString text;
    quint8 byte = 0;
    while (readByte(stream, byte) && byte != 0)
        text.append(QChar(byte));
    return text;
}

void TsqText::writeFixed(QDataStream& stream, const QString& text, int width)
{
    QByteArray bytes = toBytes(text, writtenLength(text, width - 1));
    bytes.append(width - bytes.size(), '\0');
    stream.writeRawData(bytes.constData(), int(bytes.size()));
}

QString TsqText::readFixed(QDataStream& stream, int width)
{
    QString text;
    quint8 byte = 0;
    for (int i = 0; i < width; ++i) {
        if (!readByte(stream, byte)) {
            // Let the caller see that the field ran past the data.
            stream.setStatus(QDataStream::ReadPastEnd);
            break;
        }
        if (byte != 0)
            text.append(QChar(byte));
    }
    return text;
}

} // namespace Ux
