#include "database/Database.h"

#include "core/Error.h"
#include "core/DateFormat.h"
#include "core/DialogErrorMessage.h"
#include "database/ConnectionSettings.h"
#include "database/DatabaseTransaction.h"
#include "database/ServerDatabase.h"
#include "database/ServerVariable.h"
#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "database/StatementBatch.h"
#include "database/StatementCache.h"
#include "database/WriteLock.h"
#include "ux/PatientConnectionTypeString.h"

#include <QDebug>
#include <QFile>
#include <QHash>
#include <QMetaObject>
#include <QSettings>
#include <QSqlQuery>

#include <QRegularExpression>
#include <algorithm>
#include <optional>
#include <vector>

namespace {
Database* g_instance = nullptr;

std::function<void(bool)>& actionsHook()
{
    static std::function<void(bool)> hook;
    return hook;
}

const char* const kSchemaProbes[] = {
    "SELECT Id,AssetId,Name,ConnectionClass,Connection,NumConnections FROM AppliedPart WHERE Id=0",
    "SELECT Id,Name,Description,ServiceCode,SerialNo,LocationId,EquipmentId,LatestResultSetId,"
    "RetestPeriod,RetestDate,DeletedLocation FROM Asset WHERE Id=0",
    "SELECT Id,Name FROM Client WHERE Id=0",
    "SELECT Id,Manufacturer,Model,SerialNo,EquipmentClass FROM Equipment WHERE Id=0",
    "SELECT Id,Name,EquipmentClass,Data FROM GlobalTestSequence WHERE Id=0",
    "SELECT Id,InstrumentType,SerialNo,CalibrationDate,FirmwareVersion,BaudRate,DataBits,Parity,"
    "StopBits FROM Instrument WHERE Id=0",
    "SELECT Id,SiteId,Name FROM Location WHERE Id=0",
    "SELECT Id,ResultSetId,TestId,Status,ResultLimit,Result,ResultACDC,ResultGreaterThan,"
    "SingleFaultCondition,MainsPolarity,PatientConnection,PatientAuxConnection,CustomName,"
    "CustomUnits FROM Result WHERE Id=0",
    "SELECT Id,InstrumentId,AssetId,Date,TestType,TestMode,OverallResult,UserName,Comments FROM "
    "ResultSet WHERE Id=0",
    "SELECT Id,ClientId,Name FROM Site WHERE Id=0",
    "SELECT Id,Name,AssetId,Data FROM TestSequence WHERE Id=0",
};

// Names are never NULL so that an empty name matches a stored empty name.
QString nameValue(const QString& name)
{
    const QString trimmed = name.trimmed();
    return trimmed.isNull() ? QStringLiteral("") : trimmed;
}

// The exact values looked up: keys that the database may take as equal
// (a name in another case on a server) stay apart and each asks it once.
QString idKey(const QString& table, const QVariantList& values)
{
    // Looked up several times a record: appended, not formatted.
    QString key = table;
    for (const QVariant& value : values) {
        const QString text = value.toString();
        key += QLatin1Char('|') + QString::number(value.typeId()) + QLatin1Char(':') + QString::number(text.size())
               + QLatin1Char(':') + text;
    }
    return key;
}

// What find-or-insert looks a row up by, and what it inserts when there is none.
struct IdLookup
{
    QString lookup;
    QString table;
    QStringList fields;
    QVariantList values;
    QStringList extraFields = {};
    QVariantList extraValues = {};

    QString key() const { return idKey(table, values); }
};

IdLookup clientLookup(const QString& name)
{
    return {QStringLiteral("SELECT Id FROM Client WHERE Name=:Name"), QStringLiteral("Client"),
            {QStringLiteral("Name")}, {nameValue(name)}};
}

IdLookup siteLookup(int clientId, const QString& name)
{
    return {QStringLiteral("SELECT Id FROM Site WHERE ClientId=:ClientId AND Name=:Name"), QStringLiteral("Site"),
            {QStringLiteral("ClientId"), QStringLiteral("Name")}, {clientId, nameValue(name)}};
}

IdLookup locationLookup(int siteId, const QString& name)
{
    return {QStringLiteral("SELECT Id FROM Location WHERE SiteId=:SiteId AND Name=:Name"), QStringLiteral("Location"),
            {QStringLiteral("SiteId"), QStringLiteral("Name")}, {siteId, nameValue(name)}};
}

IdLookup equipmentLookup(const QString& manufacturer, const QString& model, const QString& serialNo,
                         int equipmentClass)
{
    return {QStringLiteral("SELECT Id FROM Equipment WHERE Manufacturer=:Manufacturer AND Model=:Model "
                           "AND SerialNo=:SerialNo AND EquipmentClass=:EquipmentClass"),
            QStringLiteral("Equipment"),
            {QStringLiteral("Manufacturer"), QStringLiteral("Model"), QStringLiteral("SerialNo"),
             QStringLiteral("EquipmentClass")},
            {nameValue(manufacturer), nameValue(model), nameValue(serialNo), equipmentClass}};
}

StatementCache::Statement boundLookup(Database* db, const IdLookup& lookup)
{
    StatementCache::Statement query = StatementCache::prepare(db->connection(), lookup.lookup);
    for (int i = 0; i < lookup.fields.size(); ++i)
        query->bindValue(QLatin1Char(':') + lookup.fields.at(i), lookup.values.at(i));
    return query;
}

int findOrInsert(Database* db, const IdLookup& lookup)
{
    const QString key = lookup.key();
    if (const int known = StatementCache::knownId(db->connection(), key))
        return known;
    // The lookup and the insert in one transaction, which holds the write
    // lock: no other workstation inserts the same row in between. A
    // transaction of its own teaches the cache nothing, as if there were none.
    const bool learning = DatabaseTransaction::isOpen(db->connection());
    DatabaseTransaction transaction(&db->connection());
    if (!StatementCache::knownAbsent(db->connection(), key)) {
        StatementCache::Statement query = boundLookup(db, lookup);
        query->exec();
        if (query->next()) {
            const int id = query->value(0).toInt();
            if (learning)
                StatementCache::learnId(db->connection(), key, id);
            return id;
        }
    }

    // A share of the lock does not keep another record from inserting the
    // same place.
    DatabaseTransaction::needWholeLock(db->connection());
    StatementCache::Statement insert = StatementCache::prepareInsert(
        db->connection(), lookup.table, lookup.fields + lookup.extraFields, db->type());
    for (int i = 0; i < lookup.fields.size(); ++i)
        insert->bindValue(QLatin1Char(':') + lookup.fields.at(i), lookup.values.at(i));
    for (int i = 0; i < lookup.extraFields.size(); ++i)
        insert->bindValue(QLatin1Char(':') + lookup.extraFields.at(i), lookup.extraValues.at(i));
    insert->exec();
    const int id = insert->lastInsertId(db->type());
    if (learning)
        StatementCache::learnId(db->connection(), key, id);
    return id;
}
// Where statements run as text: the id that the insert waiting last in
// batch is given stays in the server's variable for the statements after it.
void keepInsertedId(StatementBatch& batch, const QSqlDatabase& connection, const char* variable)
{
    StatementCache::Statement keep =
        StatementCache::prepare(connection, QStringLiteral("SET %1=LAST_INSERT_ID()").arg(QLatin1String(variable)));
    batch.add(*keep);
}
} // namespace

Database::Database(int type) : m_type(type) {}

Database::~Database()
{
    // Only our own connection goes: a newer object may have registered one
    // under the same name (the same file reopened), and that one stays.
    const QString name = m_connectionName;
    const bool ours = !name.isEmpty() && QSqlDatabase::contains(name)
                      && QSqlDatabase::database(name, false).driver() == m_connection.driver();
    if (m_connection.isOpen() && ours)
        m_connection.close();
    m_connection = QSqlDatabase();
    if (ours)
        QSqlDatabase::removeDatabase(name);
    if (g_instance == this)
        g_instance = nullptr;
}

Database* Database::instance()
{
    return g_instance;
}

void Database::setInstance(Database* db)
{
    Database* old = g_instance;
    g_instance = db;
    if (old && old != db)
        delete old;
}

void Database::setDatabaseActionsHook(std::function<void(bool)> hook)
{
    actionsHook() = std::move(hook);
}

void Database::setAssetTreeModel(QObject* model)
{
    if (m_treeModel)
        disconnect(this, nullptr, m_treeModel, nullptr);
    m_treeModel = model;
    if (!model)
        return;
    if (model->metaObject()->indexOfMethod("populate()") >= 0)
        QMetaObject::invokeMethod(model, "populate", Qt::DirectConnection);
    if (model->metaObject()->indexOfMethod("insertAssetLocation(int)") >= 0)
        connect(this, SIGNAL(assetInserted(int)), model, SLOT(insertAssetLocation(int)));
}

void Database::refreshAssetTree()
{
    if (m_treeModel && m_treeModel->metaObject()->indexOfMethod("populate()") >= 0)
        QMetaObject::invokeMethod(m_treeModel, "populate", Qt::AutoConnection);
}

Database* Database::openFromSettings()
{
    QSettings settings;
    const int type = settings.value(QStringLiteral("db/current/type"), 0).toInt();
    Database* db = nullptr;
    if (type == DatabaseSqlite) {
        if (settings.contains(QStringLiteral("db/current/fileName"))) {
            auto* sqlite = new SqliteDatabase;
            if (sqlite->open(settings.value(QStringLiteral("db/current/fileName")).toString(), false) == 0)
                db = sqlite;
            else
                delete sqlite;
        }
    } else if (type == DatabaseMsSql || type == DatabaseMySql) {
        ConnectionSettings cs;
        cs.host = settings.value(QStringLiteral("db/current/host")).toString();
        cs.databaseName = settings.value(QStringLiteral("db/current/dbName")).toString();
        cs.userName = settings.value(QStringLiteral("db/current/username")).toString();
        cs.password = settings.value(QStringLiteral("db/current/password")).toString();
        cs.create = false;
        db = ServerDatabase::connectFromSettings(type, cs);
    }

    if (!db) {
        if (actionsHook())
            actionsHook()(false);
        return nullptr;
    }
    if (!db->checkSchema()) {
        DialogErrorMessage dialog(
            tr("The database is not a Pelvane database or it has become corrupted. The database will now be closed."),
            ErrorCritical, Error::dialogParent());
        dialog.exec();
        setInstance(nullptr);
        delete db;
        return nullptr;
    }
    return db;
}

void Database::saveSettings(Database* db)
{
    if (!db)
        return;
    QSettings settings;
    settings.setValue(QStringLiteral("db/current/type"), db->type());
    if (auto* sqlite = qobject_cast<SqliteDatabase*>(db)) {
        settings.setValue(QStringLiteral("db/current/fileName"), sqlite->filePath());
    } else if (auto* server = dynamic_cast<ServerDatabase*>(db)) {
        const ConnectionSettings& cs = server->connectionSettings();
        settings.setValue(QStringLiteral("db/current/host"), cs.host);
        settings.setValue(QStringLiteral("db/current/dbName"), cs.databaseName);
        // Integrated security is stored as a login without a user name (SQL
        // Server has no such login), which is how the next start reads it;
        // what stood in the login fields is not kept.
        const bool integrated = db->type() == DatabaseMsSql && cs.integratedSecurity;
        settings.setValue(QStringLiteral("db/current/username"), integrated ? QString() : cs.userName);
        settings.setValue(QStringLiteral("db/current/password"), integrated ? QString() : cs.password);
    }
    settings.sync();
    // The store may now hold a password: nobody but its owner reads it.
    if (settings.format() != QSettings::NativeFormat || QFile::exists(settings.fileName()))
        QFile::setPermissions(settings.fileName(), QFile::ReadOwner | QFile::WriteOwner);
}

bool Database::checkSchema()
{
    for (const char* probe : kSchemaProbes) {
        QSqlQuery query(m_connection);
        if (!query.prepare(QString::fromLatin1(probe)) || !query.exec())
            return false;
    }
    return true;
}

void Database::addLaterIndexes()
{
    // The retest-date index lets a list sorted by retest date show its first
    // screen without sorting every asset first. Made once; a register that
    // cannot take it now (a file or a user that may not change the schema,
    // another workstation's change of the table under way) is read without
    // it, only slower, and it is tried again at the next open. Nothing here
    // waits long for another workstation: the window waits for it.
    QSqlQuery query(m_connection);
    switch (m_type) {
    case DatabaseSqlite: {
        query.exec(QStringLiteral("PRAGMA busy_timeout"));
        const int busyMs = query.next() ? query.value(0).toInt() : 0;
        query.exec(QStringLiteral("PRAGMA busy_timeout=500"));
        query.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS AssetRetestDateIndex ON Asset (RetestDate)"));
        query.exec(QStringLiteral("PRAGMA busy_timeout=%1").arg(busyMs));
        break;
    }
    case DatabaseMySql:
        // Other workstations go on writing to the table while it is made.
        if (query.exec(QStringLiteral("SELECT COUNT(*) FROM information_schema.STATISTICS WHERE "
                                      "TABLE_SCHEMA=DATABASE() AND LOWER(TABLE_NAME)='asset' AND "
                                      "INDEX_NAME='AssetRetestDateIndex'"))
            && query.next() && query.value(0).toInt() == 0) {
            query.exec(QStringLiteral("SET SESSION lock_wait_timeout=2"));
            query.exec(QStringLiteral("CREATE INDEX AssetRetestDateIndex ON Asset (RetestDate) ALGORITHM=INPLACE LOCK=NONE"));
            query.exec(QStringLiteral("SET SESSION lock_wait_timeout=DEFAULT"));
        }
        break;
    case DatabaseMsSql:
        query.exec(QStringLiteral("SET LOCK_TIMEOUT 2000"));
        query.exec(QStringLiteral("IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'AssetRetestDateIndex') "
                                  "CREATE INDEX AssetRetestDateIndex ON dbo.Asset (RetestDate)"));
        query.exec(QStringLiteral("SET LOCK_TIMEOUT -1"));
        break;
    default:
        break;
    }
}

QVariant Database::dateTimeValue(const QDateTime& dateTime)
{
    if (!dateTime.isValid())
        return QVariant();
    return dateTime.toString(storedDateTimeFormat);
}

QDateTime Database::addMonths(const QDateTime& dateTime, int months)
{
    return dateTime.addMonths(months);
}

int Database::findOrInsertClient(const QString& name)
{
    return findOrInsert(this, clientLookup(name));
}

int Database::findOrInsertSite(int clientId, const QString& name)
{
    return findOrInsert(this, siteLookup(clientId, name));
}

int Database::findOrInsertLocation(int siteId, const QString& name)
{
    return findOrInsert(this, locationLookup(siteId, name));
}

int Database::findOrInsertEquipment(const QString& manufacturer, const QString& model,
                                    const QString& serialNo, int equipmentClass)
{
    return findOrInsert(this, equipmentLookup(manufacturer, model, serialNo, equipmentClass));
}

bool Database::lookUpPlaces(StatementBatch& batch, const QString& client, int clientId, const QString& site,
                            const QString& location, const QString& manufacturer, const QString& model,
                            const QString& serialNo, int equipmentClass, const QList<SqlQuery*>& reads,
                            QList<QList<QVariantList>>* answers)
{
    // Without round trips to save, each lookup runs where it is needed.
    const bool asText = StatementCache::runsAsText(m_connection);
    auto unknown = [&](const QString& key) {
        return !StatementCache::knownId(m_connection, key) && !StatementCache::knownAbsent(m_connection, key);
    };
    const IdLookup clientRow = clientLookup(client);
    if (clientId == 0)
        clientId = StatementCache::knownId(m_connection, clientRow.key());
    const IdLookup siteRow = siteLookup(clientId, site);
    const int siteId = clientId ? StatementCache::knownId(m_connection, siteRow.key()) : 0;
    const IdLookup locationRow = locationLookup(siteId, location);
    const IdLookup equipmentRow = equipmentLookup(manufacturer, model, serialNo, equipmentClass);

    // Each place not known is looked up under its parent's id or, while that
    // is not known either, under the parent's names (the lowest id of a name
    // is the row a lookup finds first): the whole chain in this round trip,
    // and in one statement with the check of the kept ids, each lookup a
    // column of its answer. Each lookup's placeholders are its own: not
    // every driver binds one name in several places.
    QStringList columns;
    QList<std::pair<QString, QVariant>> values;
    auto add = [&](const QString& text, const QVariantList& bound) {
        const QString suffix = QString::number(columns.size());
        static const QRegularExpression placeholder(QStringLiteral(":([A-Za-z]+)"));
        columns << QLatin1Char('(') + QString(text).replace(placeholder, QStringLiteral(":\\1") + suffix) + QLatin1Char(')');
        for (int i = 0; i + 1 < bound.size(); i += 2)
            if (text.contains(bound.at(i).toString()))
                values.append({bound.at(i).toString() + suffix, bound.at(i + 1)});
    };
    const bool lookClient = asText && !clientId && unknown(clientRow.key());
    const bool lookSite = asText && !siteId && (!clientId || unknown(siteRow.key()));
    const bool lookLocation = asText && (!siteId || unknown(locationRow.key()));
    const bool lookEquipment = asText && unknown(equipmentRow.key());
    const QString clientById = QStringLiteral(":ClientId");
    const QString clientByName = QStringLiteral("(SELECT MIN(Id) FROM Client WHERE Name=:ClientName)");
    const QVariantList parents = {QStringLiteral(":ClientId"), clientId, QStringLiteral(":ClientName"),
                                  clientRow.values.first(), QStringLiteral(":SiteId"), siteId,
                                  QStringLiteral(":SiteName"), siteRow.values.last()};
    if (lookClient)
        add(QStringLiteral("SELECT MIN(Id) FROM Client WHERE Name=:Name"), {QStringLiteral(":Name"), clientRow.values.first()});
    if (lookSite)
        add(QStringLiteral("SELECT MIN(Id) FROM Site WHERE ClientId=%1 AND Name=:Name").arg(clientId ? clientById : clientByName),
            parents + QVariantList{QStringLiteral(":Name"), siteRow.values.last()});
    if (lookLocation)
        add(QStringLiteral("SELECT MIN(Id) FROM Location WHERE SiteId=%1 AND Name=:Name")
                .arg(siteId ? QStringLiteral(":SiteId")
                            : QStringLiteral("(SELECT MIN(Id) FROM Site WHERE ClientId=%1 AND Name=:SiteName)")
                                  .arg(clientId ? clientById : clientByName)),
            parents + QVariantList{QStringLiteral(":Name"), locationRow.values.last()});
    if (lookEquipment) {
        QVariantList bound;
        for (int i = 0; i < equipmentRow.fields.size(); ++i)
            bound << QLatin1Char(':') + equipmentRow.fields.at(i) << equipmentRow.values.at(i);
        add(QStringLiteral("SELECT MIN(Id)") + equipmentRow.lookup.mid(int(qstrlen("SELECT Id"))), bound);
    }
    const qsizetype lookups = columns.size();

    // Ids kept from earlier transactions are checked under this one's lock:
    // another workstation may have deleted the client (and with it its sites
    // and locations) or the equipment meanwhile.
    const QList<std::pair<QString, int>> kept = {
        {QStringLiteral("Client"), StatementCache::keptId(m_connection, clientRow.key())},
        {QStringLiteral("Site"), StatementCache::keptId(m_connection, siteRow.key())},
        {QStringLiteral("Location"), siteId ? StatementCache::keptId(m_connection, locationRow.key()) : 0},
        {QStringLiteral("Equipment"), StatementCache::keptId(m_connection, equipmentRow.key())}};
    int keptCount = 0;
    for (const auto& [table, id] : kept)
        keptCount += id != 0;
    if (keptCount > 0) {
        QStringList counts;
        for (const auto& [table, id] : kept) {
            counts << QStringLiteral("(SELECT COUNT(*) FROM %1 WHERE Id=:Kept%1)").arg(table);
            // An id not kept is NULL, which matches no row.
            values.append({QStringLiteral(":Kept") + table, id != 0 ? QVariant(id) : QVariant()});
        }
        columns << counts.join('+');
    }
    QList<SqlQuery*> bound;
    std::optional<StatementCache::Statement> places;
    if (!columns.isEmpty()) {
        places.emplace(StatementCache::prepare(m_connection, QStringLiteral("SELECT ") + columns.join(QLatin1Char(','))));
        for (const auto& [name, value] : std::as_const(values))
            (*places)->bindValue(name, value);
        bound << &**places;
    }
    batch.exec(bound + reads, answers);
    const QVariantList found = places ? answers->value(0).value(0) : QVariantList();
    // What each lookup found, learned under the key its parent's id makes.
    int answer = 0;
    auto learn = [&](bool looked, const QString& key, int parentId) {
        if (!looked)
            return 0;
        const int id = found.value(answer++).toInt();
        if (parentId && id)
            StatementCache::learnId(m_connection, key, id);
        else if (parentId)
            StatementCache::learnAbsent(m_connection, key);
        return id;
    };
    if (lookClient)
        clientId = learn(true, clientRow.key(), -1);
    const int foundSite = learn(lookSite, siteLookup(clientId, site).key(), clientId);
    learn(lookLocation, locationLookup(siteId ? siteId : foundSite, location).key(), siteId ? siteId : foundSite);
    learn(lookEquipment, equipmentRow.key(), -1);
    const bool held = keptCount == 0 || found.value(lookups).toInt() == keptCount;
    if (!held)
        StatementCache::forgetIds(m_connection);
    if (places)
        answers->removeFirst();
    return held;
}

QString Database::placesKnown(const QString& client, const QString& site, const QString& location,
                              const QString& manufacturer, const QString& model, const QString& serialNo,
                              int equipmentClass) const
{
    const int clientId = StatementCache::keptId(m_connection, clientLookup(client).key());
    const int siteId = clientId ? StatementCache::keptId(m_connection, siteLookup(clientId, site).key()) : 0;
    const int locationId = siteId ? StatementCache::keptId(m_connection, locationLookup(siteId, location).key()) : 0;
    const IdLookup equipment = equipmentLookup(manufacturer, model, serialNo, equipmentClass);
    const int equipmentId = StatementCache::keptId(m_connection, equipment.key());
    if (locationId && equipmentId)
        return QString();
    // As lookUpPlaces looks: the lowest id of a name. A kept id stands for
    // its row, which spares the server a lookup: should another workstation
    // have deleted it since, the lookups under the share find that out, and
    // the record runs again under the whole lock.
    auto text = [](const QVariant& value) { return WriteLock::mySqlText(value.toString()); };
    QStringList known;
    if (!locationId) {
        const QString clientRef = clientId ? QString::number(clientId)
                                           : QStringLiteral("(SELECT MIN(Id) FROM Client WHERE Name=%1)")
                                                 .arg(text(nameValue(client)));
        const QString siteRef = siteId ? QString::number(siteId)
                                       : QStringLiteral("(SELECT MIN(Id) FROM Site WHERE ClientId=%1 AND Name=%2)")
                                             .arg(clientRef, text(nameValue(site)));
        known << QStringLiteral("EXISTS(SELECT 1 FROM Location WHERE SiteId=%1 AND Name=%2)")
                     .arg(siteRef, text(nameValue(location)));
    }
    if (!equipmentId) {
        QStringList matches;
        for (int i = 0; i < equipment.fields.size(); ++i)
            matches << equipment.fields.at(i) + QLatin1Char('=')
                           + (equipment.values.at(i).typeId() == QMetaType::QString ? text(equipment.values.at(i))
                                                                                     : equipment.values.at(i).toString());
        known << QStringLiteral("EXISTS(SELECT 1 FROM Equipment WHERE %1)").arg(matches.join(QStringLiteral(" AND ")));
    }
    return known.join(QStringLiteral(" AND "));
}

namespace {
// The id of lookup's row, found or inserted; where statements run as text
// and the row is known to be missing (or its parent waits to be inserted),
// the insert waits in batch and variable stands for its id.
QVariant idOrInsert(Database* db, StatementBatch& batch, const IdLookup& lookup, const char* variable)
{
    const QSqlDatabase& connection = db->connection();
    const bool parentWaits = std::any_of(lookup.values.begin(), lookup.values.end(), [](const QVariant& value) {
        return value.typeId() == qMetaTypeId<ServerVariable>();
    });
    if (!parentWaits && !StatementCache::knownAbsent(connection, lookup.key()))
        return findOrInsert(db, lookup);
    DatabaseTransaction::needWholeLock(connection);
    StatementCache::Statement insert =
        StatementCache::prepareInsert(connection, lookup.table, lookup.fields, db->type());
    for (int i = 0; i < lookup.fields.size(); ++i)
        insert->bindValue(QLatin1Char(':') + lookup.fields.at(i), lookup.values.at(i));
    batch.add(*insert);
    keepInsertedId(batch, connection, variable);
    return QVariant::fromValue(ServerVariable{QString::fromLatin1(variable)});
}
} // namespace

Database::PlaceIds Database::placeIds(StatementBatch& batch, const QString& client, int clientId, const QString& site,
                                      const QString& location, const QString& manufacturer, const QString& model,
                                      const QString& serialNo, int equipmentClass)
{
    PlaceIds ids;
    ids.client = clientId ? QVariant(clientId) : idOrInsert(this, batch, clientLookup(client), "@pelvane_client");
    IdLookup siteRow = siteLookup(ids.client.toInt(), site);
    siteRow.values.first() = ids.client;
    ids.site = idOrInsert(this, batch, siteRow, "@pelvane_site");
    IdLookup locationRow = locationLookup(ids.site.toInt(), location);
    locationRow.values.first() = ids.site;
    ids.location = idOrInsert(this, batch, locationRow, "@pelvane_location");
    ids.equipment =
        idOrInsert(this, batch, equipmentLookup(manufacturer, model, serialNo, equipmentClass), "@pelvane_equipment");
    return ids;
}

int Database::findOrInsertInstrument(int instrumentType, const QString& serialNo,
                                     const QDate& calibrationDate, const QString& firmwareVersion,
                                     int baudRate, int dataBits, int parity, int stopBits)
{
    return findOrInsert(
        this,
        {QStringLiteral("SELECT Id FROM Instrument WHERE InstrumentType=:InstrumentType AND SerialNo=:SerialNo"),
         QStringLiteral("Instrument"),
         {QStringLiteral("InstrumentType"), QStringLiteral("SerialNo")},
         {instrumentType, nameValue(serialNo)},
         {QStringLiteral("CalibrationDate"), QStringLiteral("FirmwareVersion"), QStringLiteral("BaudRate"),
          QStringLiteral("DataBits"), QStringLiteral("Parity"), QStringLiteral("StopBits")},
         {dateTimeValue(calibrationDate.startOfDay()), nameValue(firmwareVersion), baudRate, dataBits, parity,
          stopBits}});
}

int Database::insertAsset(const QString& name, const QString& description, const QString& serviceCode,
                          const QString& serialNo, const QVariant& locationId, const QVariant& equipmentId,
                          int retestPeriod, StatementBatch* batch)
{
    Database* current = instance() ? instance() : this;
    StatementCache::Statement query = StatementCache::prepareInsert(
        current->connection(), QStringLiteral("Asset"),
        {QStringLiteral("Name"), QStringLiteral("Description"), QStringLiteral("ServiceCode"),
         QStringLiteral("SerialNo"), QStringLiteral("LocationId"), QStringLiteral("EquipmentId"),
         QStringLiteral("RetestPeriod")},
        current->type());
    query->bindValue(QStringLiteral(":Name"), name.trimmed());
    query->bindValue(QStringLiteral(":Description"), description.trimmed());
    query->bindValue(QStringLiteral(":ServiceCode"), serviceCode.trimmed());
    query->bindValue(QStringLiteral(":SerialNo"), serialNo.trimmed());
    query->bindValue(QStringLiteral(":LocationId"), locationId);
    query->bindValue(QStringLiteral(":EquipmentId"), equipmentId);
    query->bindValue(QStringLiteral(":RetestPeriod"), retestPeriod);
    if (batch && StatementCache::runsAsText(current->connection())) {
        batch->add(*query);
        keepInsertedId(*batch, current->connection(), insertedAssetVariable);
        return 0;
    }
    query->exec();
    const int id = query->lastInsertId(current->type());
    emit assetInserted(id);
    return id;
}

int Database::insertResultSet(const QVariant& instrumentId, const QVariant& assetId, const QDateTime& date,
                              int testType, int testMode, int overallResult, const QString& userName,
                              const QString& comments, std::optional<int> retestPeriod,
                              std::optional<bool> knownNewest, StatementBatch* batch)
{
    // The statements run on the current database, as SqlQuery's do.
    Database* current = instance() ? instance() : this;
    const QSqlDatabase& connection = current->connection();
    StatementCache::Statement insert = StatementCache::prepareInsert(
        connection, QStringLiteral("ResultSet"),
        {QStringLiteral("InstrumentId"), QStringLiteral("AssetId"), QStringLiteral("Date"),
         QStringLiteral("TestType"), QStringLiteral("TestMode"), QStringLiteral("OverallResult"),
         QStringLiteral("UserName"), QStringLiteral("Comments")},
        type());
    insert->bindValue(QStringLiteral(":InstrumentId"),
                      instrumentId.isValid() && !instrumentId.isNull() ? instrumentId : QVariant());
    insert->bindValue(QStringLiteral(":AssetId"), assetId);
    insert->bindValue(QStringLiteral(":Date"), dateTimeValue(date));
    insert->bindValue(QStringLiteral(":TestType"), testType);
    insert->bindValue(QStringLiteral(":TestMode"), testMode);
    insert->bindValue(QStringLiteral(":OverallResult"), overallResult);
    insert->bindValue(QStringLiteral(":UserName"), userName);
    insert->bindValue(QStringLiteral(":Comments"), comments.trimmed());
    // Where the caller's statements run as text and the set's newness is
    // known, the insert waits in batch too and leaves its id in the server's
    // variable for the statements after it: no round trip of its own.
    QString text;
    const bool waits = batch && knownNewest && StatementCache::runsAsText(connection) && insert->textWithValues(&text);
    int id = 0;
    if (waits) {
        batch->add(*insert);
        keepInsertedId(*batch, connection, insertedSetVariable);
    } else {
        insert->exec();
        id = insert->lastInsertId(type());
    }

    bool newest = knownNewest.value_or(false);
    if (!knownNewest) {
        StatementCache::Statement query = StatementCache::prepare(
            connection, QStringLiteral("SELECT Id FROM ResultSet WHERE AssetId=:AssetId ORDER BY Date DESC"));
        query->bindValue(QStringLiteral(":AssetId"), assetId);
        query->exec();
        newest = query->next() && query->value(0).toInt() == id;
        query->finish();
    }
    if (newest) {
        int months = retestPeriod.value_or(0);
        if (!retestPeriod) {
            StatementCache::Statement period = StatementCache::prepare(
                connection, QStringLiteral("SELECT RetestPeriod FROM Asset a WHERE Id=:AssetId"));
            period->bindValue(QStringLiteral(":AssetId"), assetId);
            period->exec();
            months = period->next() ? period->value(0).toInt() : 0;
            period->finish();
        }

        StatementCache::Statement update = StatementCache::prepare(
            connection,
            QStringLiteral("UPDATE Asset SET LatestResultSetId=%1, RetestDate=:RetestDate WHERE Id=:AssetId")
                .arg(waits ? QString::fromLatin1(insertedSetVariable) : QStringLiteral(":LatestResultSetId")));
        if (!waits)
            update->bindValue(QStringLiteral(":LatestResultSetId"), id);
        update->bindValue(QStringLiteral(":RetestDate"), dateTimeValue(addMonths(date, months)));
        update->bindValue(QStringLiteral(":AssetId"), assetId);
        if (batch)
            batch->add(*update);
        else
            update->exec();
    }
    return id;
}

namespace {
QString idList(const QList<int>& ids)
{
    QStringList texts;
    texts.reserve(ids.size());
    for (int id : ids)
        texts << QString::number(id);
    return texts.join(QLatin1Char(','));
}
} // namespace

int Database::recycleAssets(const QList<int>& assetIds)
{
    // An asset that another workstation recycled meanwhile keeps the place
    // it was recycled from.
    if (assetIds.isEmpty())
        return 0;
    return recycleAssetsWhere(
            QStringLiteral("Asset.DeletedLocation IS NULL AND Asset.Id IN (%1)").arg(idList(assetIds)));
}

void Database::recycleAssetsLeavingPlace(const QList<int>& assetIds)
{
    if (!assetIds.isEmpty())
        recycleAssetsWhere(QStringLiteral("Asset.Id IN (%1)").arg(idList(assetIds)), QString(), QVariant(), true);
}

// One statement for all of them: no read is left open while it writes, and
// a thousand assets cost no thousand round trips under the lock.
int Database::recycleAssetsWhere(const QString& condition, const QString& parameter, const QVariant& value,
                                 bool leavingPlace)
{
    Database* current = instance() ? instance() : this;
    // The names come from the row as it was before the update, on every
    // back end; only MySQL's joined update names its columns' table.
    const bool mySql = current->type() == DatabaseMySql;
    QString leave;
    if (leavingPlace)
        leave = mySql ? QStringLiteral(",Asset.LocationId=NULL") : QStringLiteral(",LocationId=NULL");
    QString statement;
    if (mySql) {
        // MySQL reads every asset for a single-table UPDATE whose condition
        // holds a subquery; joined, it goes through the index: a client of
        // 10,000 assets holds the lock a third as long.
        statement = QStringLiteral(
            "UPDATE Asset LEFT JOIN Location l ON l.Id=Asset.LocationId LEFT JOIN Site s ON s.Id=l.SiteId "
            "LEFT JOIN Client c ON c.Id=s.ClientId "
            "SET Asset.DeletedLocation=CONCAT(COALESCE(c.Name,''),' / ',COALESCE(s.Name,''),' / ',"
            "COALESCE(l.Name,''))%1 WHERE %2")
                        .arg(leave, condition);
    } else {
        const QString names =
            current->type() == DatabaseSqlite
                ? QStringLiteral("COALESCE(c.Name,'')||' / '||COALESCE(s.Name,'')||' / '||COALESCE(l.Name,'')")
                : QStringLiteral("CONCAT(COALESCE(c.Name,''),' / ',COALESCE(s.Name,''),' / ',COALESCE(l.Name,''))");
        statement = QStringLiteral("UPDATE Asset SET DeletedLocation=COALESCE((SELECT %1 FROM Location l "
                                   "LEFT JOIN Site s ON s.Id=l.SiteId LEFT JOIN Client c ON c.Id=s.ClientId "
                                   "WHERE l.Id=Asset.LocationId),' /  / ')%2 WHERE %3")
                        .arg(names, leave, condition);
    }
    SqlQuery update(statement);
    if (!parameter.isEmpty())
        update.bindValue(parameter, value);
    update.exec();
    // A row that the condition keeps to those not recycled changes its value
    // (DeletedLocation is set from NULL), so MySQL counts it too.
    return update.numRowsAffected();
}

int Database::restoreAssets(const QList<int>& assetIds)
{
    if (assetIds.isEmpty())
        return 0;
    // Read whole before the first write; an asset restored meanwhile
    // elsewhere stays where it went.
    SqlQuery stored(QStringLiteral("SELECT Id,DeletedLocation FROM Asset WHERE DeletedLocation IS NOT NULL "
                                   "AND Id IN (%1)")
                        .arg(idList(assetIds)));
    stored.exec();
    QHash<int, QString> places;
    while (stored.next())
        places.insert(stored.value(0).toInt(), stored.value(1).toString());
    stored.finish();

    // The assets of one place go back together, in the order they were given.
    QStringList order;
    QHash<QString, QList<int>> assetsOf;
    for (int id : assetIds) {
        const auto place = places.constFind(id);
        if (place == places.cend())
            continue;
        if (!assetsOf.contains(*place))
            order << *place;
        assetsOf[*place].append(id);
    }
    for (const QString& text : std::as_const(order)) {
        QStringList parts = text.split(QStringLiteral(" / "), Qt::KeepEmptyParts);
        // A name that itself holds " / " splits into more parts: the first is
        // the client, the last the location, the rest the site.
        while (parts.size() < 3)
            parts.append(QString());
        const QString client = parts.first();
        const QString location = parts.last();
        const QString site = parts.mid(1, parts.size() - 2).join(QStringLiteral(" / "));

        const int locationId =
            findOrInsertLocation(findOrInsertSite(findOrInsertClient(client), site), location);
        SqlQuery update(QStringLiteral("UPDATE Asset SET DeletedLocation=NULL, LocationId=:LocationId WHERE Id IN (%1)")
                            .arg(idList(assetsOf.value(text))));
        update.bindValue(QStringLiteral(":LocationId"), locationId);
        update.exec();
    }
    return int(places.size());
}

int Database::deleteAssets(const QList<int>& assetIds)
{
    if (assetIds.isEmpty())
        return 0;
    // Only from the recycle bin: an asset that another workstation restored
    // meanwhile is in use again, with its results.
    SqlQuery query;
    query.exec(QStringLiteral("DELETE FROM Asset WHERE DeletedLocation IS NOT NULL AND Id IN (%1)")
                   .arg(idList(assetIds)));
    return query.numRowsAffected();
}

QString Database::appliedPartSummary(int assetId)
{
    SqlQuery query(QStringLiteral(
        "SELECT ConnectionClass,NumConnections,COUNT(Id) FROM AppliedPart WHERE AssetId=:AssetId "
        "GROUP BY ConnectionClass,NumConnections"));
    query.bindValue(QStringLiteral(":AssetId"), assetId);
    query.exec();
    QString summary;
    while (query.next()) {
        const int connections = query.value(2).toInt() * query.value(1).toInt();
        summary += QStringLiteral("[%1%2] ")
                       .arg(connections)
                       .arg(Ux::PatientConnectionTypeString::toString(query.value(0).toInt(), true));
    }
    return summary;
}
