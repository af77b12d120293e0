#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <atomic>
#include <functional>
#include <optional>

class QTextStream;
class SqlQuery;

enum DatabaseType { DatabaseSqlite = 0, DatabaseMsSql = 1, DatabaseMySql = 2 };

// The one open database of the program. Exactly one is current at a time and
// it is owned through the current-instance pointer.
class StatementBatch;

class Database : public QObject
{
    Q_OBJECT
public:
    explicit Database(int type);
    ~Database() override;

    virtual const QString& databaseName() const = 0;
    virtual void writeCreateScript(QTextStream& out) = 0;

    static Database* instance();
    static void setInstance(Database* db);

    static Database* openFromSettings();
    static void saveSettings(Database* db);

    // Registered by the main window, which lives in a higher layer.
    static void setDatabaseActionsHook(std::function<void(bool)> hook);

    QSqlDatabase& connection() { return m_connection; }
    const QSqlDatabase& connection() const { return m_connection; }
    int type() const { return m_type; }

    // Set by the first statement that found the server gone; the database is
    // closed once the action that met the loss has ended. True when it was
    // set already.
    bool markConnectionLost() { return m_connectionLost.exchange(true); }
    bool connectionLost() const { return m_connectionLost.load(); }

    // The asset tree model: populated here, and told of every inserted asset
    // through its insertAssetLocation(int) slot.
    void setAssetTreeModel(QObject* model);
    QObject* assetTreeModel() const { return m_treeModel; }
    // Reads the tree again, for places that a rolled-back transaction
    // inserted and announced.
    void refreshAssetTree();

    bool checkSchema();
    // Makes the indexes that the schema scripts gained after a register was
    // created, on a register opened that may lack them.
    void addLaterIndexes();

    // The most characters the name columns of the server schemas hold; a
    // longer name makes MySQL and SQL Server refuse the statement.
    static constexpr int maxNameLength = 255;

    int findOrInsertClient(const QString& name);
    int findOrInsertSite(int clientId, const QString& name);
    int findOrInsertLocation(int siteId, const QString& name);
    int findOrInsertEquipment(const QString& manufacturer, const QString& model,
                              const QString& serialNo, int equipmentClass);
    // The lookups that placeIds will make for these names, sent with reads
    // and what waits in batch in one round trip where statements run as
    // text; what each finds, or that it finds nothing, is learned for that
    // call. clientId 0: the client is looked up too; a place whose parent's
    // id is not known yet is looked up under the parent's names. Elsewhere
    // only reads run. answers receives every row of each read's answer.
    // False when an id kept from an earlier transaction (the client's among
    // them) names a row that is gone: the kept ids are then forgotten and
    // the caller looks its places up again.
    bool lookUpPlaces(StatementBatch& batch, const QString& client, int clientId, const QString& site,
                      const QString& location, const QString& manufacturer, const QString& model,
                      const QString& serialNo, int equipmentClass, const QList<SqlQuery*>& reads,
                      QList<QList<QVariantList>>* answers);
    // For a write of one asset's rows on MySQL: empty when the ids of these
    // places are kept from earlier transactions (none needs inserting, as
    // far as is known here); otherwise a condition, as the server's text,
    // that holds when lookUpPlaces will find every one of them.
    QString placesKnown(const QString& client, const QString& site, const QString& location,
                        const QString& manufacturer, const QString& model, const QString& serialNo,
                        int equipmentClass) const;
    // The ids of a record's client (clientId, when known), site, location
    // and equipment, each found or inserted. Where statements run as text, a
    // row that lookUpPlaces found missing is inserted by a statement that
    // waits in batch, and its id, which only the server knows until then,
    // is a ServerVariable that the statements after it can be given.
    struct PlaceIds
    {
        QVariant client, site, location, equipment;
    };
    PlaceIds placeIds(StatementBatch& batch, const QString& client, int clientId, const QString& site,
                      const QString& location, const QString& manufacturer, const QString& model,
                      const QString& serialNo, int equipmentClass);
    int findOrInsertInstrument(int instrumentType, const QString& serialNo,
                               const QDate& calibrationDate, const QString& firmwareVersion,
                               int baudRate, int dataBits, int parity, int stopBits);
    // With batch, where statements run as text, the insert waits there and 0
    // is returned: the id is then in the server's variable
    // insertedAssetVariable, and the caller tells the tree (assetInserted)
    // once it has it.
    int insertAsset(const QString& name, const QString& description, const QString& serviceCode,
                    const QString& serialNo, const QVariant& locationId, const QVariant& equipmentId,
                    int retestPeriod, StatementBatch* batch = nullptr);
    static constexpr const char* insertedAssetVariable = "@pelvane_inserted_asset";
    // retestPeriod: the asset's, when the caller has just written it; read
    // from the asset otherwise. newest: whether the set is the asset's
    // newest, when the caller knows (an asset without sets); asked
    // otherwise. With batch, the asset's update waits there for the
    // caller's next statements; where they run as text and newest is given,
    // so does the insert, and 0 is returned: the new set's id is then in
    // the server's variable insertedSetVariable.
    int insertResultSet(const QVariant& instrumentId, const QVariant& assetId, const QDateTime& date,
                        int testType, int testMode, int overallResult, const QString& userName,
                        const QString& comments, std::optional<int> retestPeriod = std::nullopt,
                        std::optional<bool> newest = std::nullopt, StatementBatch* batch = nullptr);
    static constexpr const char* insertedSetVariable = "@pelvane_inserted_set";
    // Each of these three keeps to the assets still as the user saw them (in
    // their places, or in the recycle bin) and returns how many it changed.
    int recycleAssets(const QList<int>& assetIds);
    // Recycles assetIds, recycled ones among them, and takes them out of
    // their location, which is about to be deleted: the delete then has no
    // asset to set. Restore finds or makes the place again from its name.
    void recycleAssetsLeavingPlace(const QList<int>& assetIds);
    // Recycles the assets that condition (on Asset's columns, named
    // "Asset.Column", with one parameter bound when named) selects, recycled
    // ones among them; leavingPlace as above.
    int recycleAssetsWhere(const QString& condition, const QString& parameter = QString(),
                           const QVariant& value = QVariant(), bool leavingPlace = false);
    int restoreAssets(const QList<int>& assetIds);
    int deleteAssets(const QList<int>& assetIds);
    QString appliedPartSummary(int assetId);

    // The one form in which date-times are written on every back-end; an
    // invalid date-time is NULL.
    static QVariant dateTimeValue(const QDateTime& dateTime);
    // Adding months keeps the day where the target month has it, else its last day.
    static QDateTime addMonths(const QDateTime& dateTime, int months);

signals:
    void assetInserted(int assetId);

protected:
    QSqlDatabase m_connection;
    QString m_connectionName;

private:
    int m_type;
    QPointer<QObject> m_treeModel;
    std::atomic<bool> m_connectionLost{false};
};
