#pragma once

#include <QByteArray>

// Builds the complete records (header and body, little-endian) that an
// upload sends, one per packet, from the current database. Each writer
// replaces the contents of output. A record too long for its 16-bit length
// fields is refused with a message: output is left empty and false returned.
namespace ExportTsq {

// Transfer header announcing recordCount records.
bool writeHeader(QByteArray* output, int recordCount);
// One asset with its places, equipment, first ten applied parts by connection
// and its test sequence, marked as uploaded and without results. An asset Id
// without a row gives a record with empty fields.
bool writeAsset(QByteArray* output, int assetId);
// One global test sequence; an Id without a row gives empty name and data.
bool writeGlobalTestSequence(QByteArray* output, int sequenceId);
// The fixed end-of-transfer record.
bool writeEnd(QByteArray* output);

} // namespace ExportTsq
