#pragma once

#include "transfer/ImportOutcome.h"

#include <QByteArray>
#include <QDataStream>
#include <QVariantList>
#include <QVector>
#include <QString>

class DatabaseTransaction;
class StatementBatch;

namespace Ux {
struct TsqHeader;
struct TsqMedicalApplianceResult;
}

// Turns one Tsq record, as received in one download packet, into database
// rows. Made afresh for every packet; what a transfer header announces is
// kept for the records that follow it.
class ImportTsq
{
public:
    ImportTsq();

    // Reads the record header and handles the record by its identifier;
    // records of other kinds are ignored.
    void import(const QByteArray& data);

    // The record count the last transfer header announced, -1 when none.
    static int expectedRecordCount();
    // Forgets what the last transfer announced: count and instrument. Called
    // before each download.
    static void resetTransfer();

    int identifier = 0;             // identifier byte of the record's header
    int outcome = ImportNoResults;  // ImportOutcome, set by asset records only
    // Not empty when another workstation's write kept the database busy
    // through every attempt: nothing of the record was stored, and this
    // names it as the user knows it.
    QString notStored;

private:
    void importHeader(QDataStream& stream, const Ux::TsqHeader& header);
    void importAsset(QDataStream& stream, const Ux::TsqHeader& header);
    // One attempt at storing an asset record in transaction.
    void storeAsset(const Ux::TsqMedicalApplianceResult& record, const QVector<QVariantList>& results,
                    DatabaseTransaction& transaction, StatementBatch& batch);
    void importGlobalTestSequence(QDataStream& stream, const Ux::TsqHeader& header);
    void importEnd(QDataStream& stream, const Ux::TsqHeader& header);

    // An existing asset that the record filed under another location.
    int m_movedAssetId = 0;
};
