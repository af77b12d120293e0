#pragma once

#include <QByteArray>
#include <QString>

// Builds the complete records (header and body, little-endian) that an
// upload sends, one per packet, from the current database. Each writer
// replaces the contents of output. A record too long for its 16-bit length
// fields is refused: output is left empty and false returned. what, when
// given, receives the record's name as the user knows it, so that a caller
// can say what it left out.
namespace ExportTsq {

// Transfer header announcing recordCount records.
bool writeHeader(QByteArray* output, int recordCount);
// One asset with its places, equipment, first ten applied parts by connection
// and its test sequence, marked as uploaded and without results. An asset Id
// without a row gives a record with empty fields.
bool writeAsset(QByteArray* output, int assetId, QString* what = nullptr);
// One global test sequence; an Id without a row gives empty name and data.
bool writeGlobalTestSequence(QByteArray* output, int sequenceId, QString* what = nullptr);
// The fixed end-of-transfer record.
bool writeEnd(QByteArray* output);

} // namespace ExportTsq
