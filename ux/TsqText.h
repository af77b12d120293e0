#pragma once

#include <QDataStream>
#include <QString>

namespace Ux {

// Single-byte texts of the instrument format. Characters outside Latin-1, and
// NUL, are written as '?'; bytes are read back as Latin-1.
class TsqText
{
public:
    TsqText() = delete;

    // At most maxChars characters, then a 0 byte.
    static void writeTerminated(QDataStream& stream, const QString& text, int maxChars);
    // Reads at most maxChars + 1 bytes; a 0 byte ends the text and is consumed.
    static QString readTerminated(QDataStream& stream, int maxChars);

    // Every character, then a 0 byte.
    static void writeTerminated(QDataStream& stream, const QString& text);
    // Reads up to a 0 byte or to the end of the data.
    static QString readTerminated(QDataStream& stream);

    // Exactly width bytes: at most width - 1 characters, zero-filled.
    static void writeFixed(QDataStream& stream, const QString& text, int width);
    // Reads width bytes and keeps every non-zero byte wherever it stands.
    static QString readFixed(QDataStream& stream, int width);

    // Number of characters that writeTerminated(.., maxChars) puts out.
    static int writtenLength(const QString& text, int maxChars);
};

} // namespace Ux
