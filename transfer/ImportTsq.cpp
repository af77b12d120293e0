#include "transfer/ImportTsq.h"

#include "core/DateFormat.h"
#include "database/Database.h"
#include "database/DatabaseTransaction.h"
#include "database/PendingWrite.h"
#include "database/SqlQuery.h"
#include "database/StatementBatch.h"
#include "database/StatementCache.h"
#include "results/ComparisonAlert.h"
#include "ux/CodeTables.h"
#include "ux/InstrumentTypeString.h"
#include "ux/TsqEndOfTransfer.h"
#include "ux/TsqMedicalApplianceResult.h"
#include "ux/TsqStartOfTransfer.h"
#include "ux/TsqTestResults.h"
#include "ux/TsqTestSequenceBlock.h"

#include <QDebug>
#include <QVariantList>
#include <algorithm>

namespace {

// What the last transfer header of the running download announced.
int g_expectedRecordCount = -1;
int g_instrumentId = 0; // 0: no header seen in this download

// The instruments' defaults for a newly seen instrument's port settings.
constexpr int instrumentBaudRate = 57600;
constexpr int instrumentDataBits = 8;
constexpr int instrumentParity = 0;
constexpr int instrumentStopBits = 0;

// A blob column is written as it came; an absent blob is an empty one, not NULL.
QByteArray blobValue(const QByteArray& data)
{
    return data.isNull() ? QByteArray("", 0) : data;
}

QVariant nullIfZero(int value)
{
    return value == 0 ? QVariant() : QVariant(value);
}

QVariant nullIfEmpty(const QString& text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// Statements on the current database; kept for the whole download while it
// holds a StatementCache.
StatementCache::Statement statement(const QString& text)
{
    return StatementCache::prepare(Database::instance()->connection(), text);
}

StatementCache::Statement insertStatement(const QString& table, const QStringList& fields, int backend)
{
    return StatementCache::prepareInsert(Database::instance()->connection(), table, fields, backend);
}

bool refused(const QDataStream& stream, const char* kind)
{
    if (stream.status() == QDataStream::Ok)
        return false;
    qDebug() << "ImportTsq: unreadable" << kind << "record ignored";
    return true;
}

// The asset's lookup, bound and not yet run: its answer is the asset's id
// and its latest set.
StatementCache::Statement assetLookup(const Ux::TsqMedicalApplianceResult& record)
{
    // Trimmed as the insert stores them, so that a record finds its own asset
    // again. An empty text may have been stored as NULL or as '': both match
    // an empty one, and an empty text is bound as '', never as NULL.
    const QString name = record.applianceName.trimmed();
    StatementCache::Statement query = statement(
        name.isEmpty() ? QStringLiteral("SELECT Id,LatestResultSetId FROM Asset WHERE (Name IS NULL OR Name='') AND "
                                        "(SerialNo=:SerialNo OR SerialNo IS NULL)")
                       : QStringLiteral("SELECT Id,LatestResultSetId FROM Asset WHERE Name=:Name AND "
                                        "(SerialNo=:SerialNo OR SerialNo IS NULL)"));
    if (!name.isEmpty())
        query->bindValue(QStringLiteral(":Name"), name);
    const QString serialNo = record.serialNo.trimmed();
    query->bindValue(QStringLiteral(":SerialNo"), serialNo.isNull() ? QStringLiteral("") : serialNo);
    return query;
}

void updateAsset(int assetId, const Ux::TsqMedicalApplianceResult& record, int locationId, int equipmentId,
                 StatementBatch& batch)
{
    StatementCache::Statement update = statement(QStringLiteral(
        "UPDATE Asset SET Description=:Description, ServiceCode=:ServiceCode, LocationId=:LocationId, "
        "EquipmentId=:EquipmentId, RetestPeriod=:RetestPeriod, DeletedLocation=NULL WHERE Id=:AssetId"));
    update->bindValue(QStringLiteral(":Description"), record.applianceDescription.trimmed());
    update->bindValue(QStringLiteral(":ServiceCode"), record.serviceCode.trimmed());
    update->bindValue(QStringLiteral(":LocationId"), locationId);
    update->bindValue(QStringLiteral(":EquipmentId"), equipmentId);
    update->bindValue(QStringLiteral(":RetestPeriod"), int(record.retestPeriod));
    update->bindValue(QStringLiteral(":AssetId"), assetId);
    batch.add(*update);
}

void deleteAssetRows(const QString& table, int assetId, StatementBatch& batch)
{
    StatementCache::Statement remove = statement(QStringLiteral("DELETE FROM %1 WHERE AssetId=:AssetId").arg(table));
    remove->bindValue(QStringLiteral(":AssetId"), assetId);
    batch.add(*remove);
}

// MySQL's driver runs a batch as one statement per row, a round trip each;
// one statement with many rows takes the same rows in the same order.
void insertRows(const QString& table, const QStringList& columns, const QVector<QVariantList>& values,
                StatementBatch& batch)
{
    constexpr int rowsPerStatement = 100;
    const int rowCount = int(values.at(0).size());
    const QString row = QLatin1Char('(') + QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(','))
                        + QLatin1Char(')');
    for (int first = 0; first < rowCount; first += rowsPerStatement) {
        const int rows = std::min(rowsPerStatement, rowCount - first);
        StatementCache::Statement insert =
            statement(QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                          .arg(table, columns.join(QLatin1Char(',')), QStringList(rows, row).join(QLatin1Char(','))));
        int position = 0;
        for (int r = first; r < first + rows; ++r)
            for (int c = 0; c < columns.size(); ++c)
                insert->bindValue(position++, values.at(c).at(r));
        batch.add(*insert);
    }
}

void replaceAppliedParts(int assetId, const Ux::TsqMedicalApplianceResult& record, int backend,
                         StatementBatch& batch)
{
    deleteAssetRows(QStringLiteral("AppliedPart"), assetId, batch);

    static const QStringList columns = {QStringLiteral("AssetId"), QStringLiteral("Name"),
                                        QStringLiteral("ConnectionClass"), QStringLiteral("Connection"),
                                        QStringLiteral("NumConnections")};
    QVector<QVariantList> values(columns.size());
    for (int i = 0; i < Ux::TsqMedicalApplianceResult::AppliedPartSlots; ++i) {
        const Ux::TsqAppliedPart& part = record.appliedParts[i];
        if (part.numConnections == 0)
            break; // the slots after the first empty one are never used
        values[0] << assetId;
        values[1] << part.name;
        values[2] << part.appliedPartClass;
        values[3] << i;
        values[4] << int(part.numConnections);
    }
    if (values[0].isEmpty())
        return;
    if (backend == DatabaseMySql) {
        insertRows(QStringLiteral("AppliedPart"), columns, values, batch);
        return;
    }
    StatementCache::Statement insert = insertStatement(QStringLiteral("AppliedPart"), columns, backend);
    for (int r = 0; r < values[0].size(); ++r) {
        for (int c = 0; c < columns.size(); ++c)
            insert->bindValue(QLatin1Char(':') + columns.at(c), values.at(c).at(r));
        batch.add(*insert);
    }
}

void replaceTestSequence(int assetId, const Ux::TsqMedicalApplianceResult& record, int backend,
                         StatementBatch& batch)
{
    deleteAssetRows(QStringLiteral("TestSequence"), assetId, batch);

    StatementCache::Statement insert = insertStatement(
        QStringLiteral("TestSequence"), {QStringLiteral("Name"), QStringLiteral("AssetId"), QStringLiteral("Data")},
        backend);
    insert->bindValue(QStringLiteral(":Name"), record.testSequenceName);
    insert->bindValue(QStringLiteral(":AssetId"), assetId);
    insert->bindValue(QStringLiteral(":Data"), blobValue(record.testSequenceData));
    batch.add(*insert);
}

// What the asset's stored sets say of a record's set: whether one has the
// record's date, whether there are any, and whether one is dated later. The
// record's set is then the asset's newest exactly when it comes first by
// date, newest first (a set without a date comes last), without reading the
// sets back once it is stored.
struct StoredSets
{
    bool sameDate = false;
    bool any = false;
    bool later = false;

    bool recordIsNewest(const QVariant& dateValue) const { return !any || (!dateValue.isNull() && !later); }
};

StoredSets storedSets(int assetId, const QVariant& dateValue, StatementBatch& batch)
{
    // A record without a valid date matches a stored set without one.
    StatementCache::Statement query = statement(
        dateValue.isNull()
            ? QStringLiteral("SELECT MAX(CASE WHEN Date IS NULL THEN Id END),COUNT(*),0 FROM ResultSet "
                             "WHERE AssetId=:AssetId")
            : QStringLiteral("SELECT MAX(CASE WHEN Date=:Date THEN Id END),COUNT(*),"
                             "COUNT(CASE WHEN Date>:Later THEN 1 END) FROM ResultSet WHERE AssetId=:AssetId"));
    query->bindValue(QStringLiteral(":AssetId"), assetId);
    if (!dateValue.isNull()) {
        query->bindValue(QStringLiteral(":Date"), dateValue);
        query->bindValue(QStringLiteral(":Later"), dateValue);
    }
    batch.exec(*query);
    StoredSets sets;
    if (query->next()) {
        sets.sameDate = query->value(0).toInt() != 0;
        sets.any = query->value(1).toInt() != 0;
        sets.later = query->value(2).toInt() != 0;
    }
    return sets;
}

void insertResults(int resultSetId, const QByteArray& data, QDataStream::ByteOrder order, int backend,
                   StatementBatch& batch)
{
    static const QStringList columns = {
        QStringLiteral("ResultSetId"),       QStringLiteral("TestId"),
        QStringLiteral("Status"),            QStringLiteral("ResultLimit"),
        QStringLiteral("Result"),            QStringLiteral("ResultACDC"),
        QStringLiteral("ResultGreaterThan"), QStringLiteral("SingleFaultCondition"),
        QStringLiteral("MainsPolarity"),     QStringLiteral("PatientConnection"),
        QStringLiteral("PatientAuxConnection"), QStringLiteral("CustomName"),
        QStringLiteral("CustomUnits")};

    Ux::TsqTestResults elements;
    QDataStream in(data);
    in.setByteOrder(order);
    in >> elements;
    if (in.status() != QDataStream::Ok)
        qDebug() << "ImportTsq: result data corrupt after" << elements.size() << "results";

    QVector<QVariantList> values(columns.size());
    for (const Ux::TsqTestResultElement* e : std::as_const(elements)) {
        values[0] << resultSetId;
        values[1] << int(e->id);
        values[2] << e->status();
        values[3] << e->limit();
        values[4] << e->result();
        values[5] << (e->acDc() == 0 ? QVariant() : QVariant(e->acDc() == 1));
        values[6] << (e->relation() == -1 ? QVariant() : QVariant(e->relation() == 1));
        values[7] << nullIfZero(e->conditions() & 0x0E);
        values[8] << nullIfZero(e->conditions() & 0x01);
        values[9] << nullIfZero(e->patientConnection());
        values[10] << nullIfZero(e->auxPatientConnection());
        values[11] << nullIfEmpty(e->testName());
        values[12] << nullIfEmpty(e->testUnits());
    }
    qDeleteAll(elements);
    if (values[0].isEmpty())
        return;

    if (backend == DatabaseMySql) {
        insertRows(QStringLiteral("Result"), columns, values, batch);
        return;
    }
    batch.exec();
    StatementCache::Statement insert = insertStatement(QStringLiteral("Result"), columns, backend);
    for (int i = 0; i < columns.size(); ++i)
        insert->bindValue(QLatin1Char(':') + columns.at(i), values.at(i));
    // A set must never be committed with only part of its results.
    if (!insert->execBatch())
        insert->displayError();
}

} // namespace

ImportTsq::ImportTsq() = default;

void ImportTsq::import(const QByteArray& data)
{
    QDataStream stream(data);
    stream.setByteOrder(QDataStream::LittleEndian);
    Ux::TsqHeader header;
    stream >> header;
    if (stream.status() != QDataStream::Ok) {
        qDebug() << "ImportTsq: record shorter than its header ignored";
        return;
    }
    identifier = header.identifier;
    switch (identifier) {
    case Ux::TsqMedicalApplianceResultId:
        importAsset(stream, header);
        break;
    case Ux::TsqTestSequenceBlockId:
        importGlobalTestSequence(stream, header);
        break;
    case Ux::TsqStartOfTransferId:
        importHeader(stream, header);
        break;
    case Ux::TsqEndOfTransferId:
        importEnd(stream, header);
        break;
    default:
        break;
    }
}

int ImportTsq::expectedRecordCount()
{
    return g_expectedRecordCount;
}

void ImportTsq::resetTransfer()
{
    g_expectedRecordCount = -1;
    g_instrumentId = 0;
}

void ImportTsq::importHeader(QDataStream& stream, const Ux::TsqHeader& header)
{
    Ux::TsqStartOfTransfer record;
    record.header = header;
    stream >> record;
    if (refused(stream, "start of transfer"))
        return;
    g_expectedRecordCount = record.numberOfRecords;
    DatabaseTransaction::run([&record](DatabaseTransaction&) {
        g_instrumentId = Database::instance()->findOrInsertInstrument(
            Ux::InstrumentTypeString::fromName(record.testerType), record.testerSerialNumber,
            record.calibrationDate, record.firmwareVersion, instrumentBaudRate, instrumentDataBits,
            instrumentParity, instrumentStopBits);
    });
}

void ImportTsq::importAsset(QDataStream& stream, const Ux::TsqHeader& header)
{
    Ux::TsqMedicalApplianceResult record;
    record.header = header;
    stream >> record;
    if (refused(stream, "asset"))
        return;
    // Another workstation's transaction may end an attempt (a deadlock, a
    // lock not granted in time): the record is then stored from the start.
    const QDataStream::ByteOrder order = stream.byteOrder();
    PendingWrite pending(QCoreApplication::translate("ImportTsq", "the test record of asset %1, tested %2",
                                                     "%1 is the asset's name, %2 the test date")
                             .arg(record.applianceName, record.testDate.toString(dateFormat)));
    DatabaseTransaction::run([&](DatabaseTransaction& transaction, StatementBatch& batch) {
        storeAsset(record, order, transaction, batch);
    });
}

// The writes that need no answer wait in batch for the next statement whose
// answer is needed, and go to the server with it; on a server the
// transaction's start, with the write lock, and its commit go with the
// record's first and last statements.
void ImportTsq::storeAsset(const Ux::TsqMedicalApplianceResult& record, QDataStream::ByteOrder order,
                           DatabaseTransaction& transaction, StatementBatch& batch)
{
    outcome = ImportNoResults;
    Database* db = Database::instance();
    const int backend = db->type();
    const int clientId = db->findOrInsertClient(record.clientName);
    int assetId = 0;
    int previousId = 0; // the asset's latest set before this record
    {
        StatementCache::Statement asset = assetLookup(record);
        db->lookUpPlaces(batch, clientId, record.siteName, record.locationName, record.make, record.model,
                         record.serialNo, record.equipmentClass, *asset);
        if (asset->next()) {
            assetId = asset->value(0).toInt();
            previousId = asset->value(1).toInt();
        }
    }
    const int siteId = db->findOrInsertSite(clientId, record.siteName);
    const int locationId = db->findOrInsertLocation(siteId, record.locationName);
    const int equipmentId =
        db->findOrInsertEquipment(record.make, record.model, record.serialNo, record.equipmentClass);

    const bool newAsset = assetId == 0;
    if (!newAsset)
        updateAsset(assetId, record, locationId, equipmentId, batch);
    else
        assetId = db->insertAsset(record.applianceName, record.applianceDescription, record.serviceCode,
                                  record.serialNo, locationId, equipmentId, record.retestPeriod);

    replaceAppliedParts(assetId, record, backend, batch);
    replaceTestSequence(assetId, record, backend, batch);

    if (record.testResultsData.size() < 4) {
        transaction.commit(batch);
        return;
    }
    const QVariant dateValue = Database::dateTimeValue(record.testDate);
    const StoredSets stored = storedSets(assetId, dateValue, batch);
    if (stored.sameDate) {
        outcome = ImportAlreadyStored;
        transaction.commit(batch);
        return;
    }
    // This record has just written the asset's retest period: it needs no
    // reading back.
    const int newId = db->insertResultSet(g_instrumentId == 0 ? QVariant() : QVariant(g_instrumentId),
                                          assetId, record.testDate, record.testType, record.testMode,
                                          record.overallResult, record.userName, record.comments,
                                          int(record.retestPeriod), stored.recordIsNewest(dateValue), &batch);
    insertResults(newId, record.testResultsData, order, backend, batch);

    outcome = record.overallResult;
    if (previousId != 0) {
        // The compare reads the results just written, which go to the server
        // with its read; what it marks goes with the commit.
        const ComparisonAlert alert(previousId, newId, &batch);
        // The compare marks only a set that passed.
        if (alert.status == Ux::StatusAlert && record.overallResult == Ux::StatusPass)
            outcome = ImportAlert;
    }
    transaction.commit(batch);
}

void ImportTsq::importGlobalTestSequence(QDataStream& stream, const Ux::TsqHeader& header)
{
    Ux::TsqTestSequenceBlock record;
    record.header = header;
    stream >> record;
    if (refused(stream, "test sequence"))
        return;
    StatementCache::Statement insert =
        insertStatement(QStringLiteral("GlobalTestSequence"),
                        {QStringLiteral("Name"), QStringLiteral("EquipmentClass"), QStringLiteral("Data")},
                        Database::instance()->type());
    insert->bindValue(QStringLiteral(":Name"), record.name);
    insert->bindValue(QStringLiteral(":EquipmentClass"), int(record.equipmentClass));
    insert->bindValue(QStringLiteral(":Data"), blobValue(record.data));
    insert->exec();
}

void ImportTsq::importEnd(QDataStream& stream, const Ux::TsqHeader& header)
{
    Q_UNUSED(header);
    quint8 body = 0;
    stream >> body; // the end record carries nothing for the database
}
