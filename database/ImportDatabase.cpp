#include "database/ImportDatabase.h"

#include "core/DateFormat.h"
#include "core/Error.h"
#include "database/Database.h"
#include "database/DatabaseBusy.h"
#include "database/DatabaseTransaction.h"
#include "database/ImportOptions.h"
#include "database/SqElement.h"
#include "database/SqlQuery.h"

#include <QDataStream>
#include <QDebug>
#include <QHash>
#include <QIODevice>
#include <QSqlRecord>

namespace {

QString textOf(const QSqlRecord& record, const char* column)
{
    return record.value(QLatin1String(column)).toString();
}

QString trimmedOf(const QSqlRecord& record, const char* column)
{
    return textOf(record, column).trimmed();
}

// The server schemas keep these texts in 255-character columns and refuse a
// longer one, which ended the import; SQLite takes any length, but its LIKE
// refuses a pattern of 50,000 characters. The first version had no limit, so
// its texts are cut to the column on every back-end alike, as the editors
// and the user tests hold to it.
QString fitted(const QString& text)
{
    if (text.size() <= Database::maxNameLength)
        return text;
    const bool splitsPair = text.at(Database::maxNameLength - 1).isHighSurrogate();
    return text.left(Database::maxNameLength - (splitsPair ? 1 : 0));
}

QString fittedOf(const QSqlRecord& record, const char* column)
{
    return fitted(trimmedOf(record, column));
}

// A name as a LIKE pattern that matches only itself, with the case rules
// that LIKE has on the back-end ("_" and "%" are wildcards everywhere, "["
// on SQL Server too); the statement declares "!" its escape character.
QString literalPattern(const QString& name)
{
    QString pattern;
    pattern.reserve(name.size());
    for (const QChar c : name) {
        if (c == QLatin1Char('!') || c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('['))
            pattern += QLatin1Char('!');
        pattern += c;
    }
    return pattern;
}

// A key compared in a lookup: "=" and LIKE never hold for NULL, so a NULL
// key is looked up with IS NULL; otherwise the comparison given, against
// the placeholder. A second import then finds what the first one stored.
QString keyCondition(const QString& column, const QString& key, const QString& comparison)
{
    return key.isNull() ? column + QLatin1String(" IS NULL") : column + comparison;
}

// What find-or-insert stores for a NULL text, so the lookup before it
// finds the same row.
QString storedText(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

int intOf(const QSqlRecord& record, const char* column)
{
    return record.value(QLatin1String(column)).toInt();
}

quint8 lowByteOf(const QSqlRecord& record, const char* column)
{
    return quint8(intOf(record, column) & 0xFF);
}

int statusOf(const QString& text)
{
    if (text == QLatin1String("Passed"))
        return 1;
    if (text == QLatin1String("Failed"))
        return 2;
    return 0;
}

const QHash<QString, int>& testIds()
{
    static const QHash<QString, int> ids = {
        {QStringLiteral("Earth Bond DC(200mA)"), 17},
        {QStringLiteral("Earth Bond DC(-200mA)"), 18},
        {QStringLiteral("Earth Bond AC(25A)"), 21},
        {QStringLiteral("Insulation EUT(250V)"), 32},
        {QStringLiteral("Insulation EUT(500v)"), 33},
        {QStringLiteral("Insulation AP(250v)"), 34},
        {QStringLiteral("Insulation AP(500V)"), 35},
        {QStringLiteral("Insulation EUT-AP(250V)"), 46},
        {QStringLiteral("Insulation EUT-AP(500V)"), 47},
        {QStringLiteral("Earth Leakage 60601"), 48},
        {QStringLiteral("Earth Leakage NFPA99"), 49},
        {QStringLiteral("Earth Leakage AS/NZS3551"), 50},
        {QStringLiteral("Earth Leakage AS/NZS3200"), 51},
        {QStringLiteral("Enclosure Leakage 60601"), 64},
        {QStringLiteral("Enclosure Leakage NFPA99"), 66},
        {QStringLiteral("Enclosure Leakage ASNZS3200"), 67},
        {QStringLiteral("Equipment Leakage(Dir)"), 69},
        {QStringLiteral("Equipment Leakage(Alt)"), 70},
        {QStringLiteral("AP Leakage(Dir)"), 71},
        {QStringLiteral("AP Leakage(Alt)"), 72},
        {QStringLiteral("Patient Leakage 60601"), 80},
        {QStringLiteral("Patient Leakage AP-Ground"), 81},
        {QStringLiteral("Equipment Leakage(Diff)"), 83},
        {QStringLiteral("Patient Leakage ASNZS3551"), 84},
        {QStringLiteral("Patient Leakage ASNZS3200"), 85},
        {QStringLiteral("Patient Leakage FType 60601"), 96},
        {QStringLiteral("Patient Leakage FType NFPA99"), 98},
        {QStringLiteral("Patient Leakage FType ASNZS3551"), 99},
        {QStringLiteral("Patient Leakage FType ASNZS3200"), 100},
        {QStringLiteral("Patient Auxiliary Leakage 60601"), 112},
        {QStringLiteral("Patient Auxiliary Leakage AP-AP"), 113},
        {QStringLiteral("Patient Auxiliary Leakage(All AP)"), 114},
        {QStringLiteral("Patient Auxiliary Leakage AS3200"), 115},
        {QStringLiteral("Load(kVA)"), 144},
        {QStringLiteral("IEC Lead Polarity"), 145},
        {QStringLiteral("Live PE Voltage"), 146},
        {QStringLiteral("Load Current"), 147},
        {QStringLiteral("Neutral PE Voltage"), 148},
        {QStringLiteral("Live Neutral Voltage"), 149},
    };
    return ids;
}

constexpr int kIecLeadPolarity = 145;
constexpr int kUserTest = 253;

} // namespace

ImportDatabase::ImportDatabase(ImportOptions* options)
    : m_target(options->targetDatabase),
      m_legacyConnection(options->legacyDatabase->connection()),
      m_targetConnection(options->targetDatabase->connection()),
      m_targetType(options->targetDatabase->type()),
      m_assetsOn(options->importAssets),
      m_appliedPartsOn(options->importAssets),
      m_resultsOn(options->importResults),
      m_userResultsOn(options->importResults),
      m_sequencesOn(options->importTestSequences)
{
    // Rows arrive in the first version's order, not in the order the
    // references ask for; the checks come back on when the worker goes.
    QSqlQuery keys(m_targetConnection);
    if (m_targetType == DatabaseSqlite)
        keys.exec(QStringLiteral("PRAGMA foreign_keys = OFF"));
    else if (m_targetType == DatabaseMsSql)
        keys.exec(QStringLiteral("sp_msforeachtable \"ALTER TABLE ? NOCHECK CONSTRAINT all\""));
}

ImportDatabase::~ImportDatabase()
{
    QSqlQuery keys(m_targetConnection);
    if (m_targetType == DatabaseSqlite)
        keys.exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    else if (m_targetType == DatabaseMsSql)
        keys.exec(QStringLiteral("sp_msforeachtable \"ALTER TABLE ? WITH CHECK CHECK CONSTRAINT all\""));

    delete m_assetQuery;
    delete m_appliedPartQuery;
    delete m_resultQuery;
    delete m_userResultQuery;
    delete m_sequenceQuery;
    for (LegacySequence* sequence : std::as_const(m_sequences)) {
        qDeleteAll(sequence->elements);
        delete sequence;
    }
}

QDateTime ImportDatabase::parseLegacyDateTime(const QString& text)
{
    auto part = [&text](int from, int size) { return text.mid(from, size).toInt(); };
    int hour = part(11, 2);
    const QString half = text.mid(20, 2);
    if (half == QLatin1String("PM") && hour < 12)
        hour += 12;
    else if (half == QLatin1String("AM") && hour == 12)
        hour = 0;
    return wallClockDateTime(QDate(part(6, 4), part(3, 2), part(0, 2)), QTime(hour, part(14, 2), part(17, 2)));
}

void ImportDatabase::parseLegacyWord(quint16& word, const QString& text)
{
    if (text.isEmpty())
        return;
    if (text.contains(QLatin1Char('x'), Qt::CaseInsensitive)) {
        QString digits = text.trimmed();
        if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
            digits = digits.mid(2);
        bool ok = false;
        const uint value = digits.toUInt(&ok, 16);
        word = ok ? quint16(value) : 0;
        return;
    }
    if (text.contains(QLatin1Char(','))) {
        const QStringList parts = text.split(QLatin1Char(','));
        word = parts.size() == 2 ? quint16(parts.at(0).trimmed().toInt() + 256 * parts.at(1).trimmed().toInt()) : 0;
        return;
    }
    word = 0;
}

void ImportDatabase::parseLegacyPairList(const QString& text, QList<quint16>& list)
{
    if (text.isEmpty())
        return;
    const QStringList parts = text.split(QLatin1Char(','));
    for (int i = 0; i < parts.size(); i += 2) {
        const int low = parts.at(i).trimmed().toInt();
        const int high = i + 1 < parts.size() ? parts.at(i + 1).trimmed().toInt() : 0;
        list.append(quint16(low + 256 * high));
    }
}

int ImportDatabase::testIdForName(const QString& name)
{
    return testIds().value(name, -1);
}

int ImportDatabase::iecResultValue(const QString& text)
{
    static const QHash<QString, int> values = {
        {QStringLiteral("OK"), 1},
        {QStringLiteral("Live(Open)"), 2},
        {QStringLiteral("Live/Neutral Reversed"), 3},
        {QStringLiteral("Live/Neutral Short"), 4},
        {QStringLiteral("Neutral Open"), 5},
        {QStringLiteral("Live/Neutral Open"), 6},
        {QStringLiteral("Test(Not complete)"), 0},
    };
    return values.value(text, -1);
}

QVariant ImportDatabase::numberValue(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? QVariant(value) : QVariant(QMetaType::fromType<double>());
}

int ImportDatabase::countRows(const QString& table)
{
    SqlQuery count(m_legacyConnection);
    count.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table));
    return count.next() ? count.value(0).toInt() : 0;
}

SqlQuery* ImportDatabase::openStage(const QString& statement)
{
    // Not forward-only: on SQL Server that would be a plain result set,
    // which keeps the connection busy while the other stages' queries and
    // the user-name look-ups run beside it; a scrollable cursor does not.
    auto* query = new SqlQuery(m_legacyConnection);
    query->exec(statement);
    return query;
}

bool ImportDatabase::init()
{
    m_rowsDone = 0;
    m_rowsTotal = 0;

    if (m_assetsOn) {
        m_assetCount = countRows(QStringLiteral("Assetdetails"));
        if (m_assetCount == 0)
            return false;
        m_assetQuery = openStage(QStringLiteral("SELECT * FROM Assetdetails ORDER BY AssetId ASC"));
        m_rowsTotal += m_assetCount;
    }
    if (m_appliedPartsOn) {
        m_appliedPartCount = countRows(QStringLiteral("AppliedParts"));
        if (m_appliedPartCount == 0) {
            m_appliedPartsOn = false;
        } else {
            m_appliedPartQuery = openStage(QStringLiteral("SELECT * FROM AppliedParts"));
            m_rowsTotal += m_appliedPartCount;
        }
    }
    if (m_resultsOn) {
        m_resultCount = countRows(QStringLiteral("TblTestResults"));
        if (m_resultCount == 0) {
            m_resultsOn = false;
        } else {
            m_resultQuery = openStage(QStringLiteral("SELECT * FROM TblTestResults"));
            m_rowsTotal += m_resultCount;
        }
    }
    if (m_userResultsOn) {
        m_userResultCount = countRows(QStringLiteral("TblUserResult"));
        if (m_userResultCount == 0) {
            m_userResultsOn = false;
        } else {
            m_userResultQuery = openStage(QStringLiteral("SELECT * FROM TblUserResult"));
            m_rowsTotal += m_userResultCount;
        }
    }
    if (m_sequencesOn) {
        m_sequenceCount = countRows(QStringLiteral("TestSequence"));
        m_sequenceQuery = openStage(QStringLiteral("SELECT * FROM TestSequence"));
        m_rowsTotal += m_sequenceCount;
    }

    if (!m_assetsOn && !m_resultsOn && !m_sequencesOn)
        return false;
    m_timer.start(0);
    return true;
}

bool ImportDatabase::step()
{
    if (m_assetsOn) {
        qDebug() << "importNextAsset";
        return importNextRow(m_assetQuery, m_assetsOn, m_assetIndex, m_assetCount, &ImportDatabase::importAsset);
    }
    if (m_appliedPartsOn) {
        qDebug() << "importNextAppliedPart";
        return importNextRow(m_appliedPartQuery, m_appliedPartsOn, m_appliedPartIndex, m_appliedPartCount,
                             &ImportDatabase::importAppliedPart);
    }
    if (m_resultsOn) {
        qDebug() << "importNextResult";
        return importNextRow(m_resultQuery, m_resultsOn, m_resultIndex, m_resultCount, &ImportDatabase::importResult);
    }
    if (m_userResultsOn) {
        qDebug() << "importNextUserResult";
        return importNextRow(m_userResultQuery, m_userResultsOn, m_userResultIndex, m_userResultCount,
                             &ImportDatabase::importUserResult);
    }
    if (m_sequencesOn) {
        qDebug() << "importNextTestSequence";
        return importNextTestSequence();
    }
    if (m_storeOn) {
        qDebug() << "storeTestSequences";
        return storeTestSequences();
    }
    qDebug() << "done";
    if (m_mergedAssets > 0)
        emit error(tr("%n asset(s) of the first-version database were filed on an asset of another name: the "
                      "database holds their names equal (they differ only in case or accents), or they are the "
                      "same in their first %1 characters, the most a name keeps. Their applied parts, results "
                      "and test sequences are on that asset.",
                      "%1 is the longest name", m_mergedAssets)
                       .arg(Database::maxNameLength),
                   ErrorWarning);
    emit done();
    return false;
}

// The legacy row is read before the transaction, so that an attempt that
// runs again stores the same row; the keys an attempt kept are those from
// before it.
bool ImportDatabase::importNextRow(SqlQuery* query, bool& stageOn, int& index, int count, RowImport import)
{
    if (!query->next()) {
        // Fewer rows than counted: the stage ends here rather than stalling the worker.
        stageOn = false;
        return true;
    }
    const QSqlRecord row = query->record();
    const LastKeys kept = m_last;
    const bool stored = DatabaseTransaction::run(
        [&](DatabaseTransaction&) {
            m_last = kept;
            m_assetFound = AssetFound();
            (this->*import)(row);
        },
        &m_targetConnection);
    if (!stored) {
        m_last = kept;
        m_assetFound = AssetFound();
        stopBusy();
        return false;
    }
    noteAssetFound();
    countRow();
    if (++index >= count)
        stageOn = false;
    return true;
}

void ImportDatabase::stopBusy()
{
    emit error(DatabaseBusy::stoppedMidway(
                   tr("%1 of the %n rows of the first-version database are imported.", "rows done, rows in all",
                      m_rowsTotal)
                       .arg(m_rowsDone),
                   tr("The other rows. Import again to add them: a row imported already is found and not added "
                      "twice.",
                      "what a stopped first-version import did not do")),
               ErrorWarning);
    emit done();
}

void ImportDatabase::countRow()
{
    ++m_rowsDone;
    emit updateProgress(m_rowsTotal > 0 ? float(m_rowsDone) / float(m_rowsTotal) : 1.0f);
}

// The asset that the asset stage made or found for the name, else the first
// one the register holds by that name, compared as the asset stage compares
// it: the later stages must file a row on the very asset its name made.
int ImportDatabase::findAsset(const QString& name)
{
    // A row that names no asset belongs to none.
    if (name.isNull())
        return -1;
    if (const auto known = m_assetIds.constFind(name); known != m_assetIds.constEnd())
        return known.value();
    SqlQuery query(m_targetConnection);
    query.prepare(QStringLiteral("SELECT Id,Name FROM Asset WHERE Name=:Name ORDER BY Id"));
    query.bindValue(QStringLiteral(":Name"), fitted(name));
    query.exec();
    if (!query.next())
        return -1;
    m_assetFound = {name, query.value(0).toInt(), query.value(1).toString()};
    return m_assetFound.id;
}

// Called once the row that found the asset is stored. A name is merged when
// the asset it found has another name in the register (the database holds
// names equal that differ in case or accents) or was found by another name
// of the file already (one cut to the same first characters).
void ImportDatabase::noteAssetFound()
{
    const AssetFound found = std::exchange(m_assetFound, AssetFound());
    if (found.name.isNull() || found.id <= 0)
        return;
    const auto known = m_assetIds.constFind(found.name);
    if (known != m_assetIds.constEnd() && known.value() == found.id)
        return;
    const auto namedBy = m_assetNames.constFind(found.id);
    if (found.storedName != fitted(found.name) || known != m_assetIds.constEnd()
        || (namedBy != m_assetNames.constEnd() && namedBy.value() != found.name))
        ++m_mergedAssets;
    // The first asset of a name keeps its rows; a second one by the same
    // name (padded otherwise in the file) is told as merged.
    if (known == m_assetIds.constEnd())
        m_assetIds.insert(found.name, found.id);
    if (namedBy == m_assetNames.constEnd())
        m_assetNames.insert(found.id, found.name);
}

int ImportDatabase::findOrInsertResultSet(int assetId, const QDateTime& date, const std::function<int()>& instrument,
                                          const QString& userName, const QString& comments)
{
    SqlQuery query(m_targetConnection);
    // A date the first version garbled is stored as NULL; "=" never finds
    // NULL, and a second import would add the set again.
    if (date.isValid()) {
        query.prepare(QStringLiteral("SELECT Id FROM ResultSet WHERE AssetId=:AssetId AND Date=:Date"));
        query.bindValue(QStringLiteral(":Date"), Database::dateTimeValue(date));
    } else {
        query.prepare(QStringLiteral("SELECT Id FROM ResultSet WHERE AssetId=:AssetId AND Date IS NULL"));
    }
    query.bindValue(QStringLiteral(":AssetId"), assetId);
    query.exec();
    const int found = query.next() ? query.value(0).toInt() : 0;
    query.finish();
    if (found)
        return found;
    return m_target->insertResultSet(instrument(), assetId, date, 2, 1, 1, userName, comments);
}

int ImportDatabase::unknownInstrument()
{
    return m_target->findOrInsertInstrument(0, QString(), QDate(), QString(), 57600, 8, 0, 0);
}

void ImportDatabase::importAsset(const QSqlRecord& row)
{
    const QString name = fittedOf(row, "AssetID");
    const QString manufacturer = storedText(fittedOf(row, "Manufacturer"));
    const QString model = storedText(fittedOf(row, "Model"));
    const QString serialNo = storedText(fittedOf(row, "SerialNo"));

    const int clientId = m_target->findOrInsertClient(fittedOf(row, "Client"));
    const int siteId = m_target->findOrInsertSite(clientId, fittedOf(row, "Site"));
    const int locationId = m_target->findOrInsertLocation(siteId, fittedOf(row, "Location"));

    // Equipment already there is reused whatever class it was given since.
    SqlQuery equipment(m_targetConnection);
    equipment.prepare(QStringLiteral(
        "SELECT Id FROM Equipment WHERE Manufacturer=:Manufacturer AND Model=:Model AND SerialNo=:SerialNo"));
    equipment.bindValue(QStringLiteral(":Manufacturer"), manufacturer);
    equipment.bindValue(QStringLiteral(":Model"), model);
    equipment.bindValue(QStringLiteral(":SerialNo"), serialNo);
    equipment.exec();
    int equipmentId = equipment.next() ? equipment.value(0).toInt() : 0;
    equipment.finish();
    if (!equipmentId)
        equipmentId = m_target->findOrInsertEquipment(manufacturer, model, serialNo, 0);

    SqlQuery asset(m_targetConnection);
    asset.prepare(QStringLiteral("SELECT Id,Name FROM Asset WHERE %1 AND LocationId=:LocationId AND "
                                 "EquipmentId=:EquipmentId ORDER BY Id")
                      .arg(keyCondition(QStringLiteral("Name"), name, QStringLiteral("=:Name"))));
    if (!name.isNull())
        asset.bindValue(QStringLiteral(":Name"), name);
    asset.bindValue(QStringLiteral(":LocationId"), locationId);
    asset.bindValue(QStringLiteral(":EquipmentId"), equipmentId);
    asset.exec();
    const bool found = asset.next();
    int assetId = found ? asset.value(0).toInt() : 0;
    const QString storedName = found ? asset.value(1).toString() : name;
    asset.finish();
    if (!found)
        assetId = m_target->insertAsset(name, fittedOf(row, "Description"), fittedOf(row, "Servicecode"), serialNo,
                                        locationId, equipmentId, intOf(row, "Period"));
    m_assetFound = {trimmedOf(row, "AssetID"), assetId, storedName};
}

void ImportDatabase::importAppliedPart(const QSqlRecord& row)
{
    const QString assetName = trimmedOf(row, "ID");
    const int assetId = assetName.isEmpty() ? -1 : findAsset(assetName);
    if (assetId > 0) {
        const QString type = textOf(row, "Type");
        const int connectionClass = type == QLatin1String("B")    ? 1
                                    : type == QLatin1String("BF") ? 2
                                    : type == QLatin1String("CF") ? 3
                                                                  : 0;
        const QString connections = textOf(row, "Connections");
        const int dash = connections.indexOf(QLatin1Char('-'));
        const int connection = dash > 0 ? connections.left(dash).toInt() : connections.toInt();

        SqlQuery lookup(m_targetConnection);
        lookup.prepare(QStringLiteral("SELECT Id FROM AppliedPart WHERE AssetId=:AssetId AND Connection=:Connection"));
        lookup.bindValue(QStringLiteral(":AssetId"), assetId);
        lookup.bindValue(QStringLiteral(":Connection"), connection);
        lookup.exec();
        const bool found = lookup.next();
        lookup.finish();

        SqlQuery write(m_targetConnection);
        if (found)
            write.prepare(QStringLiteral("UPDATE AppliedPart SET Name=:Name,ConnectionClass=:ConnectionClass,"
                                         "NumConnections=:NumConnections WHERE AssetId=:AssetId AND "
                                         "Connection=:Connection"));
        else
            write.prepareInsert(QStringLiteral("AppliedPart"),
                                {QStringLiteral("AssetId"), QStringLiteral("Name"), QStringLiteral("ConnectionClass"),
                                 QStringLiteral("Connection"), QStringLiteral("NumConnections")},
                                m_targetType);
        write.bindValue(QStringLiteral(":Name"), fittedOf(row, "PartName"));
        write.bindValue(QStringLiteral(":ConnectionClass"), connectionClass);
        write.bindValue(QStringLiteral(":NumConnections"), intOf(row, "Noconnect"));
        write.bindValue(QStringLiteral(":AssetId"), assetId);
        write.bindValue(QStringLiteral(":Connection"), connection);
        write.exec();
    }
}

void ImportDatabase::importResult(const QSqlRecord& row)
{
    const QString assetName = trimmedOf(row, "AID");
    const int assetId = assetName == m_last.assetName ? m_last.assetId : findAsset(assetName);
    if (assetId > 0) {
        const QDateTime date = parseLegacyDateTime(textOf(row, "Date"));
        const int instrumentType = trimmedOf(row, "Tinstrument") == QLatin1String("TaviskQ1") ? 1 : 0;
        const QString serialNo = fittedOf(row, "SerialNo");

        int instrumentId = m_last.instrumentId;
        if (instrumentId <= 0 || instrumentType != m_last.instrumentType || serialNo != m_last.serialNo)
            instrumentId = m_target->findOrInsertInstrument(instrumentType, serialNo, QDate(), QString(), 57600, 8, 0, 0);

        int resultSetId = m_last.resultSetId;
        if (resultSetId <= 0 || assetId != m_last.assetId || date != m_last.date) {
            SqlQuery user(m_legacyConnection);
            // Asset names were trimmed when they came in; the padded first-version
            // key must still find its row.
            user.prepare(QStringLiteral("SELECT UserName FROM Assetdetails WHERE LTRIM(RTRIM(AssetID))=:AssetId"));
            user.bindValue(QStringLiteral(":AssetId"), assetName);
            user.exec();
            const QString userName = user.next() ? fitted(user.value(0).toString()) : QString();
            resultSetId = findOrInsertResultSet(assetId, date, [instrumentId] { return instrumentId; }, userName,
                                                trimmedOf(row, "Comments"));
        }

        const int status = statusOf(textOf(row, "Status"));
        if (status != 1) {
            // A later row may not undo a failure of the same test session.
            SqlQuery overall(m_targetConnection);
            overall.prepare(status == 2 ? QStringLiteral("UPDATE ResultSet SET OverallResult=:OverallResult "
                                                         "WHERE Id=:ResultSetId")
                                        : QStringLiteral("UPDATE ResultSet SET OverallResult=:OverallResult "
                                                         "WHERE Id=:ResultSetId AND OverallResult<>2"));
            overall.bindValue(QStringLiteral(":OverallResult"), status);
            overall.bindValue(QStringLiteral(":ResultSetId"), resultSetId);
            overall.exec();
        }

        const int testId = testIdForName(textOf(row, "TestType"));
        const QString resultText = textOf(row, "TResult");
        QVariant result;
        QVariant greaterThan;
        if (testId == kIecLeadPolarity) {
            result = double(iecResultValue(resultText));
        } else if (resultText.startsWith(QLatin1Char('<'))) {
            result = numberValue(resultText.mid(1));
            greaterThan = 0;
        } else if (resultText.startsWith(QLatin1Char('>'))) {
            result = numberValue(resultText.mid(1));
            greaterThan = 1;
        } else if (!resultText.isEmpty()) {
            result = numberValue(resultText);
        }

        // Column and value, for the columns this row has a value for; the
        // others keep what an earlier import stored.
        QStringList columns = {QStringLiteral("Status")};
        QVariantList values = {status};
        const QString limit = textOf(row, "Limit");
        if (!limit.isEmpty()) {
            columns << QStringLiteral("ResultLimit");
            values << numberValue(limit);
        }
        if (result.isValid()) {
            columns << QStringLiteral("Result");
            values << result;
        }
        const QString unit = textOf(row, "Unit");
        if (unit == QString(QChar(0xB5)) + QLatin1String("A(AC)")) {
            columns << QStringLiteral("ResultACDC");
            values << 1;
        } else if (unit == QString(QChar(0xB5)) + QLatin1String("A(DC)")) {
            columns << QStringLiteral("ResultACDC");
            values << 2;
        }
        if (greaterThan.isValid()) {
            columns << QStringLiteral("ResultGreaterThan");
            values << greaterThan;
        }
        const QString sfcText = textOf(row, "SFC");
        const int sfc = sfcText == QLatin1String("Earth O/C")     ? 4
                        : sfcText == QLatin1String("Neutral O/C") ? 2
                        : sfcText == QLatin1String("S/R")         ? 8
                                                                  : 0;
        if (sfc != 0) {
            columns << QStringLiteral("SingleFaultCondition");
            values << sfc;
        }
        if (textOf(row, "Mains") == QLatin1String("Reversed")) {
            columns << QStringLiteral("MainsPolarity");
            values << 1;
        }
        const int patientConnection = textOf(row, "AP").trimmed().toInt();
        if (patientConnection > 0) {
            columns << QStringLiteral("PatientConnection");
            values << patientConnection;
        }

        SqlQuery lookup(m_targetConnection);
        lookup.prepare(QStringLiteral("SELECT Id FROM Result WHERE ResultSetId=:ResultSetId AND TestId=:TestId"));
        lookup.bindValue(QStringLiteral(":ResultSetId"), resultSetId);
        lookup.bindValue(QStringLiteral(":TestId"), testId);
        lookup.exec();
        const int found = lookup.next() ? lookup.value(0).toInt() : 0;
        lookup.finish();
        SqlQuery write(m_targetConnection);
        if (found) {
            QStringList pairs;
            for (const QString& column : std::as_const(columns))
                pairs << QStringLiteral("%1=:%1").arg(column);
            write.prepare(QStringLiteral("UPDATE Result SET %1 WHERE Id=:ResultId").arg(pairs.join(QLatin1Char(','))));
            write.bindValue(QStringLiteral(":ResultId"), found);
        } else {
            write.prepareInsert(QStringLiteral("Result"),
                                QStringList{QStringLiteral("ResultSetId"), QStringLiteral("TestId")} + columns,
                                m_targetType);
            write.bindValue(QStringLiteral(":ResultSetId"), resultSetId);
            write.bindValue(QStringLiteral(":TestId"), testId);
        }
        for (int i = 0; i < columns.size(); ++i)
            write.bindValue(QLatin1Char(':') + columns.at(i), values.at(i));
        write.exec();

        m_last.date = date;
        m_last.instrumentType = instrumentType;
        m_last.serialNo = serialNo;
        m_last.instrumentId = instrumentId;
        m_last.resultSetId = resultSetId;
    }
    m_last.assetName = assetName;
    m_last.assetId = assetId;
}

void ImportDatabase::importUserResult(const QSqlRecord& row)
{
    const QString assetName = trimmedOf(row, "AID");
    const int assetId = assetName == m_last.assetName ? m_last.assetId : findAsset(assetName);
    if (assetId > 0) {
        const QDateTime date = parseLegacyDateTime(textOf(row, "Date"));
        const int status = statusOf(textOf(row, "Status"));
        const QString instruction = fittedOf(row, "Instruction");

        int resultSetId = m_last.resultSetId;
        if (resultSetId <= 0 || assetId != m_last.assetId || date != m_last.date)
            resultSetId = findOrInsertResultSet(assetId, date, [this] { return unknownInstrument(); }, QString(), QString());

        SqlQuery lookup(m_targetConnection);
        // Only user tests: the other results of the set have no name, which
        // a user test without one would otherwise take for its own.
        lookup.prepare(QStringLiteral("SELECT Id FROM Result WHERE ResultSetId=:ResultSetId AND TestId=:TestId AND %1")
                           .arg(keyCondition(QStringLiteral("CustomName"), instruction,
                                             QStringLiteral(" LIKE :Name ESCAPE '!'"))));
        lookup.bindValue(QStringLiteral(":ResultSetId"), resultSetId);
        lookup.bindValue(QStringLiteral(":TestId"), kUserTest);
        if (!instruction.isNull())
            lookup.bindValue(QStringLiteral(":Name"), literalPattern(instruction));
        lookup.exec();
        const int found = lookup.next() ? lookup.value(0).toInt() : 0;
        lookup.finish();
        SqlQuery write(m_targetConnection);
        if (found) {
            write.prepare(QStringLiteral(
                "UPDATE Result SET Status=:Status,CustomUnits=:CustomUnits,Result=:Result WHERE Id=:ResultId"));
            write.bindValue(QStringLiteral(":ResultId"), found);
        } else {
            write.prepareInsert(QStringLiteral("Result"),
                                {QStringLiteral("ResultSetId"), QStringLiteral("TestId"), QStringLiteral("Status"),
                                 QStringLiteral("CustomName"), QStringLiteral("CustomUnits"), QStringLiteral("Result")},
                                m_targetType);
            write.bindValue(QStringLiteral(":ResultSetId"), resultSetId);
            write.bindValue(QStringLiteral(":TestId"), kUserTest);
            write.bindValue(QStringLiteral(":CustomName"), instruction);
        }
        write.bindValue(QStringLiteral(":Status"), status);
        write.bindValue(QStringLiteral(":CustomUnits"), fitted(textOf(row, "Unit")));
        write.bindValue(QStringLiteral(":Result"), numberValue(textOf(row, "Result")));
        write.exec();
    }
}

bool ImportDatabase::importNextTestSequence()
{
    if (!m_sequenceQuery->next()) {
        m_sequencesOn = false;
        m_storePosition = m_sequences.constBegin();
        m_storeOn = !m_sequences.isEmpty();
        return true;
    }
    const QSqlRecord row = m_sequenceQuery->record();
    Sq::Parameters p;
    p.duration = lowByteOf(row, "Duration");
    p.noOfTimes = lowByteOf(row, "NoOfTimes");
    p.testCondition = lowByteOf(row, "TestCondition");
    parseLegacyWord(p.limit, textOf(row, "Limit"));
    parseLegacyWord(p.sfc, textOf(row, "SFC"));
    p.bText = textOf(row, "BLimit");
    p.cText = textOf(row, "CLimit");
    parseLegacyPairList(p.bText, p.b);
    parseLegacyPairList(p.cText, p.c);

    const int assetId = findAsset(trimmedOf(row, "AId"));
    noteAssetFound();
    Sq::Element* element = assetId > 0 ? Sq::Element::create(lowByteOf(row, "Type"), p) : nullptr;
    if (element) {
        LegacySequence*& sequence = m_sequences[assetId];
        if (!sequence) {
            sequence = new LegacySequence;
            sequence->assetId = assetId;
            sequence->name = fittedOf(row, "Name");
        }
        sequence->elements.append(element);
    }

    countRow();
    if (++m_sequenceIndex >= m_sequenceCount) {
        m_sequencesOn = false;
        m_storePosition = m_sequences.constBegin();
        m_storeOn = !m_sequences.isEmpty();
    }
    return true;
}

bool ImportDatabase::storeTestSequences()
{
    const LegacySequence* sequence = m_storePosition.value();
    QByteArray blob;
    {
        QDataStream out(&blob, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        for (const Sq::Element* element : sequence->elements)
            element->write(out);
    }

    const bool stored = DatabaseTransaction::run(
        [&](DatabaseTransaction&) {
            SqlQuery remove(m_targetConnection);
            remove.prepare(QStringLiteral("DELETE FROM TestSequence WHERE AssetId=:AssetId"));
            remove.bindValue(QStringLiteral(":AssetId"), sequence->assetId);
            remove.exec();

            // The record form has no header: the first version's name goes to its column.
            SqlQuery insert(m_targetConnection);
            insert.prepareInsert(QStringLiteral("TestSequence"),
                                 {QStringLiteral("AssetId"), QStringLiteral("Name"), QStringLiteral("Data")},
                                 m_targetType);
            insert.bindValue(QStringLiteral(":AssetId"), sequence->assetId);
            insert.bindValue(QStringLiteral(":Name"), sequence->name);
            insert.bindValue(QStringLiteral(":Data"), blob);
            insert.exec();
        },
        &m_targetConnection);
    if (!stored) {
        stopBusy();
        return false;
    }

    ++m_rowsDone;
    emit updateProgress(m_rowsTotal > 0 ? float(m_rowsDone) / float(m_rowsTotal) : 1.0f);
    if (++m_storePosition == m_sequences.constEnd())
        m_storeOn = false;
    return true;
}
