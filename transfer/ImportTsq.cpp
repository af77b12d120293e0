#include "transfer/ImportTsq.h"

#include "core/DateFormat.h"
#include "database/Database.h"
#include "database/DatabaseTransaction.h"
#include "database/PendingWrite.h"
#include "database/ServerVariable.h"
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
#include <vector>

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

// The condition that finds a record's asset, for the asset's own lookup and
// for the reads of its rows that go with it before its id is known.
class AssetMatch
{
public:
    explicit AssetMatch(const Ux::TsqMedicalApplianceResult& record)
        // Trimmed as the insert stores them, so that a record finds its own
        // asset again. An empty text may have been stored as NULL or as '':
        // both match an empty one, and an empty text is bound as '', never as
        // NULL.
        : m_name(record.applianceName.trimmed()), m_serialNo(record.serialNo.trimmed())
    {
        if (m_serialNo.isNull())
            m_serialNo = QStringLiteral("");
    }

    // text with %1, %2 ... standing for the condition on Asset, as many times
    // as uses says, bound and not yet run. Each use has placeholders of its
    // own: not every driver binds one name in several places.
    StatementCache::Statement statement(const QString& text, int uses = 1) const
    {
        const QString condition =
            m_name.isEmpty() ? QStringLiteral("(Name IS NULL OR Name='') AND (SerialNo=:SerialNo%1 OR SerialNo IS NULL)")
                             : QStringLiteral("Name=:Name%1 AND (SerialNo=:SerialNo%1 OR SerialNo IS NULL)");
        QString filled = text;
        for (int use = 0; use < uses; ++use)
            filled = filled.arg(condition.arg(use));
        StatementCache::Statement query = ::statement(filled);
        for (int use = 0; use < uses; ++use) {
            const QString at = QString::number(use);
            if (!m_name.isEmpty())
                query->bindValue(QStringLiteral(":Name") + at, m_name);
            query->bindValue(QStringLiteral(":SerialNo") + at, m_serialNo);
        }
        return query;
    }

private:
    QString m_name;
    QString m_serialNo;
};

// Whether a stored value is the one that writing value would store: NULL as
// the driver sends it, texts exactly (a server may compare them without case
// or trailing spaces), blobs byte for byte.
bool storedAs(const QVariant& stored, const QVariant& value)
{
    const bool valueIsNull = value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isNull())
                             || (value.typeId() == QMetaType::QByteArray && value.toByteArray().isNull());
    if (stored.isNull() || valueIsNull)
        return stored.isNull() && valueIsNull;
    switch (value.typeId()) {
    case QMetaType::QString:
        return stored.toString() == value.toString();
    case QMetaType::QByteArray:
        return stored.toByteArray() == value.toByteArray();
    default:
        return stored.toLongLong() == value.toLongLong();
    }
}

// The rows of answer that belong to the asset (its first column), without it.
QList<QVariantList> rowsOf(const QList<QVariantList>& answer, int assetId)
{
    QList<QVariantList> rows;
    for (const QVariantList& row : answer)
        if (!row.isEmpty() && row.first().toInt() == assetId)
            rows.append(row.mid(1));
    return rows;
}

bool allStoredAs(const QList<QVariantList>& stored, const QList<QVariantList>& rows)
{
    if (stored.size() != rows.size())
        return false;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        if (stored.at(r).size() != rows.at(r).size())
            return false;
        for (qsizetype c = 0; c < rows.at(r).size(); ++c)
            if (!storedAs(stored.at(r).at(c), rows.at(r).at(c)))
                return false;
    }
    return true;
}

// The columns of the asset's lookup after Id and LatestResultSetId, in the
// order updateAsset writes them.
const QString assetColumns =
    QStringLiteral("Description,ServiceCode,LocationId,EquipmentId,RetestPeriod,DeletedLocation");

QVariantList assetValues(const Ux::TsqMedicalApplianceResult& record, const QVariant& locationId,
                         const QVariant& equipmentId)
{
    return {record.applianceDescription.trimmed(), record.serviceCode.trimmed(), locationId, equipmentId,
            int(record.retestPeriod), QVariant()};
}

void updateAsset(int assetId, const QVariantList& values, StatementBatch& batch)
{
    StatementCache::Statement update = statement(QStringLiteral(
        "UPDATE Asset SET Description=:Description, ServiceCode=:ServiceCode, LocationId=:LocationId, "
        "EquipmentId=:EquipmentId, RetestPeriod=:RetestPeriod, DeletedLocation=NULL WHERE Id=:AssetId"));
    static const QStringList columns = assetColumns.split(QLatin1Char(','));
    for (int c = 0; c + 1 < columns.size(); ++c)
        update->bindValue(QLatin1Char(':') + columns.at(c), values.at(c));
    update->bindValue(QStringLiteral(":AssetId"), assetId);
    batch.add(*update);
}

void deleteAssetRows(const QString& table, const QVariant& assetId, StatementBatch& batch)
{
    StatementCache::Statement remove = statement(QStringLiteral("DELETE FROM %1 WHERE AssetId=:AssetId").arg(table));
    remove->bindValue(QStringLiteral(":AssetId"), assetId);
    batch.add(*remove);
}

// MySQL's driver runs a batch as one statement per row, a round trip each;
// one statement with many rows takes the same rows in the same order.
// firstValue, when given, is written for the first column of every row in
// place of its values.
void insertRows(const QString& table, const QStringList& columns, const QVector<QVariantList>& values,
                StatementBatch& batch, const QString& firstValue = QString())
{
    constexpr int rowsPerStatement = 100;
    const int rowCount = int(values.at(1).size());
    QStringList placeholders(columns.size(), QStringLiteral("?"));
    if (!firstValue.isEmpty())
        placeholders[0] = firstValue;
    const QString row = QLatin1Char('(') + placeholders.join(QLatin1Char(',')) + QLatin1Char(')');
    for (int first = 0; first < rowCount; first += rowsPerStatement) {
        const int rows = std::min(rowsPerStatement, rowCount - first);
        StatementCache::Statement insert =
            statement(QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                          .arg(table, columns.join(QLatin1Char(',')), QStringList(rows, row).join(QLatin1Char(','))));
        int position = 0;
        for (int r = first; r < first + rows; ++r)
            for (int c = firstValue.isEmpty() ? 0 : 1; c < columns.size(); ++c)
                insert->bindValue(position++, values.at(c).at(r));
        batch.add(*insert);
    }
}

// The applied-part rows a record stores, as the asset's read gives them back.
QList<QVariantList> appliedPartRows(const Ux::TsqMedicalApplianceResult& record)
{
    QList<QVariantList> rows;
    for (int i = 0; i < Ux::TsqMedicalApplianceResult::AppliedPartSlots; ++i) {
        const Ux::TsqAppliedPart& part = record.appliedParts[i];
        if (part.numConnections == 0)
            break; // the slots after the first empty one are never used
        rows.append({part.name, part.appliedPartClass, i, int(part.numConnections)});
    }
    return rows;
}

// Replaces the stored rows by rows, unless they are stored already: a
// retest mostly brings what the asset has, and its rows keep their ids.
void replaceAppliedParts(const QVariant& assetId, const QList<QVariantList>& stored, const QList<QVariantList>& rows,
                         int backend, StatementBatch& batch)
{
    // In slot order, as the record lists them; sorted here, as the server
    // would sort them in a temporary table of its own.
    constexpr int connection = 2;
    QList<QVariantList> inOrder = stored;
    std::stable_sort(inOrder.begin(), inOrder.end(), [](const QVariantList& a, const QVariantList& b) {
        return a.at(connection).toLongLong() < b.at(connection).toLongLong();
    });
    if (allStoredAs(inOrder, rows))
        return;
    if (!stored.isEmpty())
        deleteAssetRows(QStringLiteral("AppliedPart"), assetId, batch);
    if (rows.isEmpty())
        return;

    static const QStringList columns = {QStringLiteral("AssetId"), QStringLiteral("Name"),
                                        QStringLiteral("ConnectionClass"), QStringLiteral("Connection"),
                                        QStringLiteral("NumConnections")};
    QVector<QVariantList> values(columns.size());
    for (const QVariantList& row : rows) {
        values[0] << assetId;
        for (int c = 1; c < columns.size(); ++c)
            values[c] << row.at(c - 1);
    }
    if (backend == DatabaseMySql) {
        insertRows(QStringLiteral("AppliedPart"), columns, values, batch);
        return;
    }
    StatementCache::Statement insert = insertStatement(QStringLiteral("AppliedPart"), columns, backend);
    for (const QVariantList& row : rows) {
        insert->bindValue(QStringLiteral(":AssetId"), assetId);
        for (int c = 1; c < columns.size(); ++c)
            insert->bindValue(QLatin1Char(':') + columns.at(c), row.at(c - 1));
        batch.add(*insert);
    }
}

void replaceTestSequence(const QVariant& assetId, const QList<QVariantList>& stored, const Ux::TsqMedicalApplianceResult& record,
                         int backend, StatementBatch& batch)
{
    const QVariantList row = {record.testSequenceName, blobValue(record.testSequenceData)};
    if (allStoredAs(stored, {row}))
        return;
    if (!stored.isEmpty())
        deleteAssetRows(QStringLiteral("TestSequence"), assetId, batch);

    StatementCache::Statement insert = insertStatement(
        QStringLiteral("TestSequence"), {QStringLiteral("Name"), QStringLiteral("AssetId"), QStringLiteral("Data")},
        backend);
    insert->bindValue(QStringLiteral(":Name"), row.at(0));
    insert->bindValue(QStringLiteral(":AssetId"), assetId);
    insert->bindValue(QStringLiteral(":Data"), row.at(1));
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

// The reads of what is stored of a record's asset: the asset itself (the
// columns of assetColumns after its Id and LatestResultSetId), its applied
// parts, its test sequence and, for a record with results, what its stored
// sets say of the record's (see StoredSets) and the results of its latest
// set; each kind's rows as storedRows gives them, the row's id (its asset's,
// or its set's for a result) and then its own columns. On a server each
// statement costs a round trip, and they go as one: each kind of row has
// columns of its own there, the others' are NULL, so that no value changes
// type on the way, and the first column tells the kinds apart. On SQLite a
// statement costs no round trip, and the one statement cost more to run and
// to take apart than the five: each kind is read on its own.
enum StoredRowKind { AssetRow = 1, PartRow, SequenceRow, SetsRow, ResultRow };
std::vector<StatementCache::Statement> storedRowsReads(const AssetMatch& match, bool hasResults,
                                                       const QVariant& dateValue, int backend)
{
    // SQL Server takes a bare NULL for an int, which a text or binary
    // column of another branch would then be converted to.
    auto null = [backend](const char* type) {
        return backend == DatabaseMsSql ? QStringLiteral("CAST(NULL AS %1)").arg(QLatin1String(type))
                                        : QStringLiteral("NULL");
    };
    const QString name = null("NVARCHAR(255)"), number = null("INT"), data = null("VARBINARY(MAX)"),
                  real = null("FLOAT");
    // A kind's id, its own columns, the NULLs that stand for them in the
    // other kinds' rows, and the rest of its read, %1 standing for the
    // condition on Asset.
    struct Read
    {
        QString id, columns;
        QStringList nulls;
        QString from;
    };
    // A record without a valid date matches a stored set without one.
    const QList<Read> reads = {
        {QStringLiteral("Id"), QStringLiteral("LatestResultSetId,") + assetColumns,
         {number, name, name, number, number, number, name}, QStringLiteral("FROM Asset WHERE %1")},
        {QStringLiteral("AssetId"), QStringLiteral("Name,ConnectionClass,Connection,NumConnections"),
         {name, number, number, number},
         QStringLiteral("FROM AppliedPart WHERE AssetId IN (SELECT Id FROM Asset WHERE %1)")},
        {QStringLiteral("AssetId"), QStringLiteral("Name,Data"), {name, data},
         QStringLiteral("FROM TestSequence WHERE AssetId IN (SELECT Id FROM Asset WHERE %1)")},
        {QStringLiteral("AssetId"),
         dateValue.isNull() ? QStringLiteral("MAX(CASE WHEN Date IS NULL THEN Id END),COUNT(*),0")
                            : QStringLiteral("MAX(CASE WHEN Date=:Date THEN Id END),COUNT(*),"
                                             "COUNT(CASE WHEN Date>:Later THEN 1 END)"),
         {number, number, number},
         QStringLiteral("FROM ResultSet WHERE AssetId IN (SELECT Id FROM Asset WHERE %1) GROUP BY AssetId")},
        {QStringLiteral("ResultSetId"), QStringLiteral("TestId,Result"), {number, real},
         QStringLiteral("FROM Result WHERE ResultSetId IN (SELECT LatestResultSetId FROM Asset WHERE %1)")}};
    const int kinds = hasResults ? 5 : 3;
    auto bindDate = [&](const StatementCache::Statement& query) {
        if (hasResults && !dateValue.isNull()) {
            query->bindValue(QStringLiteral(":Date"), dateValue);
            query->bindValue(QStringLiteral(":Later"), dateValue);
        }
    };
    std::vector<StatementCache::Statement> statements;
    if (backend == DatabaseSqlite) {
        for (int k = 0; k < kinds; ++k) {
            const Read& read = reads.at(k);
            statements.push_back(match.statement(QStringLiteral("SELECT %1,%2 ").arg(read.id, read.columns) + read.from));
            if (k == SetsRow - AssetRow)
                bindDate(statements.back());
        }
        return statements;
    }
    QStringList selects;
    for (int k = 0; k < kinds; ++k) {
        QStringList columns = {QString::number(AssetRow + k), reads.at(k).id};
        for (int other = 0; other < reads.size(); ++other)
            columns << (other == k ? reads.at(k).columns : reads.at(other).nulls.join(QLatin1Char(',')));
        selects << QStringLiteral("SELECT ") + columns.join(QLatin1Char(',')) + QLatin1Char(' ')
                       + QString(reads.at(k).from).replace(QStringLiteral("%1"), QLatin1Char('%') + QString::number(k + 1));
    }
    statements.push_back(match.statement(selects.join(QStringLiteral(" UNION ALL ")), kinds));
    bindDate(statements.back());
    return statements;
}

// The answer of the one read of storedRowsReads as the reads of each kind
// would give it, by kind.
QList<QList<QVariantList>> storedRows(const QList<QVariantList>& answer)
{
    // Where each kind's own columns begin in the answer, and how many.
    struct Columns
    {
        int first, count;
    };
    static const Columns columns[] = {{2, 7}, {9, 4}, {13, 2}, {15, 3}, {18, 2}};
    QList<QList<QVariantList>> rows(std::size(columns));
    for (const QVariantList& row : answer) {
        const int kind = row.value(0).toInt();
        if (kind < AssetRow || kind > ResultRow || row.size() < 20)
            continue;
        const Columns& own = columns[kind - AssetRow];
        rows[kind - AssetRow].append(QVariantList{row.at(1)} + row.mid(own.first, own.count));
    }
    return rows;
}

StoredSets storedSets(const QList<QVariantList>& rows)
{
    StoredSets sets;
    if (!rows.isEmpty()) {
        sets.sameDate = rows.first().value(0).toInt() != 0;
        sets.any = rows.first().value(1).toInt() != 0;
        sets.later = rows.first().value(2).toInt() != 0;
    }
    return sets;
}

// The Result table's columns, and where a result's TestId, Status and
// Result stand among them.
const QStringList& resultColumns()
{
    static const QStringList columns = {
        QStringLiteral("ResultSetId"),       QStringLiteral("TestId"),
        QStringLiteral("Status"),            QStringLiteral("ResultLimit"),
        QStringLiteral("Result"),            QStringLiteral("ResultACDC"),
        QStringLiteral("ResultGreaterThan"), QStringLiteral("SingleFaultCondition"),
        QStringLiteral("MainsPolarity"),     QStringLiteral("PatientConnection"),
        QStringLiteral("PatientAuxConnection"), QStringLiteral("CustomName"),
        QStringLiteral("CustomUnits")};
    return columns;
}
enum { TestIdColumn = 1, StatusColumn = 2, ResultColumn = 4 };

// The record's results, a list of values for each column, the set's id left
// empty until the set is stored.
QVector<QVariantList> resultValues(const QByteArray& data, QDataStream::ByteOrder order)
{
    Ux::TsqTestResults elements;
    QDataStream in(data);
    in.setByteOrder(order);
    in >> elements;
    if (in.status() != QDataStream::Ok)
        qDebug() << "ImportTsq: result data corrupt after" << elements.size() << "results";

    QVector<QVariantList> values(resultColumns().size());
    for (const Ux::TsqTestResultElement* e : std::as_const(elements)) {
        values[TestIdColumn] << int(e->id);
        values[StatusColumn] << e->status();
        values[3] << e->limit();
        values[ResultColumn] << e->result();
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
    return values;
}

// The results of a stored set, as its read gives them: TestId, Result.
QList<ComparisonAlert::Result> storedResults(const QList<QVariantList>& storedRows)
{
    QList<ComparisonAlert::Result> results;
    for (const QVariantList& row : storedRows)
        results.append({row.value(0).toInt(), row.value(1)});
    return results;
}

QList<ComparisonAlert::Result> recordResults(const QVector<QVariantList>& values)
{
    QList<ComparisonAlert::Result> results;
    for (qsizetype i = 0; i < values.at(TestIdColumn).size(); ++i)
        results.append({values.at(TestIdColumn).at(i).toInt(), values.at(ResultColumn).at(i)});
    return results;
}

// What the compare would mark once the set is stored: the results that
// passed, of the drifting TestIds.
void markAlerts(const QList<int>& testIds, QVector<QVariantList>& values)
{
    for (qsizetype i = 0; i < values.at(StatusColumn).size(); ++i)
        if (values.at(StatusColumn).at(i).toInt() == Ux::StatusPass
            && testIds.contains(values.at(TestIdColumn).at(i).toInt()))
            values[StatusColumn][i] = int(Ux::StatusAlert);
}

// resultSetId 0: the set's insert waits in batch and left its id in the
// server's variable.
void insertResults(int resultSetId, QVector<QVariantList> values, int backend, StatementBatch& batch)
{
    const qsizetype rows = values.at(TestIdColumn).size();
    if (rows == 0)
        return;
    values[0] = QVariantList(rows, resultSetId);

    const QStringList& columns = resultColumns();
    if (backend == DatabaseMySql) {
        insertRows(QStringLiteral("Result"), columns, values, batch,
                   resultSetId == 0 ? QString::fromLatin1(Database::insertedSetVariable) : QString());
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
    const bool stored = DatabaseTransaction::run([&record](DatabaseTransaction&) {
        g_instrumentId = Database::instance()->findOrInsertInstrument(
            Ux::InstrumentTypeString::fromName(record.testerType), record.testerSerialNumber,
            record.calibrationDate, record.firmwareVersion, instrumentBaudRate, instrumentDataBits,
            instrumentParity, instrumentStopBits);
    });
    if (!stored)
        notStored = QCoreApplication::translate("ImportTsq", "the tester %1 (serial number %2) that sent this download",
                                                "%1 is the tester's type, %2 its serial number")
                        .arg(record.testerType, record.testerSerialNumber);
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
    // Read before the transaction: the write lock waits for no more than
    // the record's statements.
    const QVector<QVariantList> results = record.testResultsData.size() >= 4
                                              ? resultValues(record.testResultsData, stream.byteOrder())
                                              : QVector<QVariantList>(resultColumns().size());
    const QString described = QCoreApplication::translate("ImportTsq", "the test record of asset %1, tested %2",
                                                          "%1 is the asset's name, %2 the test date")
                                  .arg(record.applianceName, record.testDate.toString(dateFormat));
    PendingWrite pending(described);
    // The lock follows from what this record needs: a share where its places
    // are all there, the whole lock where it inserts one.
    Database* db = Database::instance();
    DatabaseTransaction::OneAsset oneAsset{record.applianceName.trimmed(), QString()};
    if (db->type() == DatabaseMySql)
        oneAsset.placesKnown = db->placesKnown(record.clientName, record.siteName, record.locationName, record.make,
                                               record.model, record.serialNo, record.equipmentClass);
    const bool stored = DatabaseTransaction::run(
        [&](DatabaseTransaction& transaction, StatementBatch& batch) { storeAsset(record, results, transaction, batch); },
        nullptr, &oneAsset);
    if (!stored)
        notStored = described;
    // The tree adds the nodes of the asset's new place as for a new asset,
    // once the place is stored.
    else if (m_movedAssetId != 0)
        emit db->assetInserted(m_movedAssetId);
}

// The writes that need no answer wait in batch for the next statement whose
// answer is needed, and go to the server with it; on a server the
// transaction's start, with the write lock, and its commit go with the
// record's first and last statements.
void ImportTsq::storeAsset(const Ux::TsqMedicalApplianceResult& record, const QVector<QVariantList>& parsedResults,
                           DatabaseTransaction& transaction, StatementBatch& batch)
{
    outcome = ImportNoResults;
    m_movedAssetId = 0;
    Database* db = Database::instance();
    const int backend = db->type();
    // Where statements go together, the client's lookup goes with the others.
    const bool together = StatementCache::runsAsText(db->connection());
    int clientId = together ? 0 : db->findOrInsertClient(record.clientName);
    const bool hasResults = record.testResultsData.size() >= 4;
    const QVariant dateValue = Database::dateTimeValue(record.testDate);

    // What is stored of the asset, read before its id is known so that it
    // goes with the lookups: the asset itself, its applied parts, its test
    // sequence and, for a record with results, its sets and the results of
    // its latest set.
    QList<QList<QVariantList>> stored;
    {
        // Under a share of the lock the second of two records of one asset
        // (or of two new assets of one name) has waited for the first to
        // commit, as the lock of the asset's name came with the share; its
        // reads, made after that, see what the first stored.
        const AssetMatch match(record);
        const std::vector<StatementCache::Statement> reads = storedRowsReads(match, hasResults, dateValue, backend);
        QList<SqlQuery*> bound;
        for (const StatementCache::Statement& read : reads)
            bound << &*read;
        // A kept id that is gone has been forgotten: the places are looked
        // up again, under the lock this transaction now holds.
        if (!db->lookUpPlaces(batch, record.clientName, clientId, record.siteName, record.locationName,
                              record.make, record.model, record.serialNo, record.equipmentClass, bound, &stored)) {
            clientId = together ? 0 : db->findOrInsertClient(record.clientName);
            db->lookUpPlaces(batch, record.clientName, clientId, record.siteName, record.locationName, record.make,
                             record.model, record.serialNo, record.equipmentClass, bound, &stored);
        }
        if (backend != DatabaseSqlite)
            stored = storedRows(stored.value(0));
    }
    const QVariantList asset = stored.at(0).value(0);
    int assetId = asset.value(0).toInt();
    const int previousId = asset.value(1).toInt(); // the asset's latest set before this record

    // A place or equipment first met here, and a new asset, are inserted
    // with the record's other writes; their ids stay on the server.
    const Database::PlaceIds places =
        db->placeIds(batch, record.clientName, clientId, record.siteName, record.locationName, record.make,
                     record.model, record.serialNo, record.equipmentClass);
    const QVariant locationId = places.location;
    const QVariant equipmentId = places.equipment;

    QVariant assetRef = assetId;
    if (assetId != 0) {
        const QVariantList values = assetValues(record, locationId, equipmentId);
        if (!allStoredAs({asset.mid(2)}, {values}))
            updateAsset(assetId, values, batch);
        if (asset.value(4).toInt() != locationId)
            m_movedAssetId = assetId;
    } else {
        assetId = db->insertAsset(record.applianceName, record.applianceDescription, record.serviceCode,
                                  record.serialNo, locationId, equipmentId, record.retestPeriod, &batch);
        assetRef = assetId ? QVariant(assetId)
                           : QVariant::fromValue(ServerVariable{QString::fromLatin1(Database::insertedAssetVariable)});
    }
    // The tree hears of a new asset once it is stored and its id known.
    auto commit = [&] {
        if (assetRef.typeId() == qMetaTypeId<ServerVariable>())
            emit db->assetInserted(transaction.commitAsking(batch, QString::fromLatin1(Database::insertedAssetVariable))
                                       .toInt());
        else
            transaction.commit(batch);
    };

    replaceAppliedParts(assetRef, rowsOf(stored.at(1), assetId), appliedPartRows(record), backend, batch);
    replaceTestSequence(assetRef, rowsOf(stored.at(2), assetId), record, backend, batch);

    if (!hasResults) {
        commit();
        return;
    }
    const StoredSets sets = storedSets(rowsOf(stored.at(3), assetId));
    if (sets.sameDate) {
        outcome = ImportAlreadyStored;
        commit();
        return;
    }
    // The new set is compared with the asset's latest before it is stored,
    // and goes in with its marks: the server is spared the compare's read
    // and its writes on every record.
    QVector<QVariantList> results = parsedResults;
    int overallResult = record.overallResult;
    outcome = record.overallResult;
    if (previousId != 0) {
        const ComparisonAlert alert(storedResults(rowsOf(stored.at(4), previousId)), recordResults(results));
        if (alert.status == Ux::StatusAlert) {
            markAlerts(alert.testIds, results);
            // The compare marks only a set that passed.
            if (overallResult == Ux::StatusPass) {
                overallResult = Ux::StatusAlert;
                outcome = ImportAlert;
            }
        }
    }
    // This record has just written the asset's retest period: it needs no
    // reading back.
    const int newId = db->insertResultSet(g_instrumentId == 0 ? QVariant() : QVariant(g_instrumentId),
                                          assetRef, record.testDate, record.testType, record.testMode,
                                          overallResult, record.userName, record.comments,
                                          int(record.retestPeriod), sets.recordIsNewest(dateValue), &batch);
    insertResults(newId, results, backend, batch);
    commit();
}

void ImportTsq::importGlobalTestSequence(QDataStream& stream, const Ux::TsqHeader& header)
{
    Ux::TsqTestSequenceBlock record;
    record.header = header;
    stream >> record;
    if (refused(stream, "test sequence"))
        return;
    const bool stored = DatabaseTransaction::run([&record](DatabaseTransaction&) {
        StatementCache::Statement insert =
            insertStatement(QStringLiteral("GlobalTestSequence"),
                            {QStringLiteral("Name"), QStringLiteral("EquipmentClass"), QStringLiteral("Data")},
                            Database::instance()->type());
        insert->bindValue(QStringLiteral(":Name"), record.name);
        insert->bindValue(QStringLiteral(":EquipmentClass"), int(record.equipmentClass));
        insert->bindValue(QStringLiteral(":Data"), blobValue(record.data));
        insert->exec();
    });
    if (!stored)
        notStored = QCoreApplication::translate("ImportTsq", "the test sequence %1", "%1 is the test sequence's name")
                        .arg(record.name);
}

void ImportTsq::importEnd(QDataStream& stream, const Ux::TsqHeader& header)
{
    Q_UNUSED(header);
    quint8 body = 0;
    stream >> body; // the end record carries nothing for the database
}
