#pragma once

#include "database/ThreadObject.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <functional>

class Database;
class QSqlRecord;
class SqlQuery;
struct ImportOptions;
namespace Sq { class Element; }

// Copies a first-version database (the legacy connection) into the current
// database, one legacy row per step: assets, applied parts, results,
// user-test results and, when asked, test sequences. Every row is looked for
// before it is inserted, so a second import of the same file adds nothing.
// It runs on the worker thread and touches no widget.
class ImportDatabase : public ThreadObject
{
    Q_OBJECT
public:
    explicit ImportDatabase(ImportOptions* options);
    ~ImportDatabase() override;

    // "dd/MM/yyyy hh:mm:ss AM" at fixed positions; 12 AM is midnight.
    static QDateTime parseLegacyDateTime(const QString& text);
    // Hexadecimal ("0x1F4") or a low,high byte pair ("10,2"); anything else 0.
    // Empty text leaves word as it was.
    static void parseLegacyWord(quint16& word, const QString& text);
    // "lo,hi,lo,hi,..." as words; a lone last part is its own low byte.
    static void parseLegacyPairList(const QString& text, QList<quint16>& list);
    // The test id of a first-version test name; -1 for the empty name and
    // for names the first version never wrote.
    static int testIdForName(const QString& name);
    // The stored value of an IEC lead polarity verdict.
    static int iecResultValue(const QString& text);
    // A first-version number text as a real number, NULL when it is not one.
    static QVariant numberValue(const QString& text);

public slots:
    bool init() override;
    bool step() override;

private:
    struct LegacySequence
    {
        int assetId = 0;
        QString name;
        QList<Sq::Element*> elements;
    };

    using RowImport = void (ImportDatabase::*)(const QSqlRecord& row);
    // Reads the stage's next row and stores it in a transaction of its own.
    bool importNextRow(SqlQuery* query, bool& stageOn, int& index, int count, RowImport import);
    void importAsset(const QSqlRecord& row);
    void importAppliedPart(const QSqlRecord& row);
    void importResult(const QSqlRecord& row);
    void importUserResult(const QSqlRecord& row);
    bool importNextTestSequence();
    bool storeTestSequences();
    // The database stayed busy with another workstation's write: says what
    // is imported and what not, and ends the import.
    void stopBusy();

    int countRows(const QString& table);
    SqlQuery* openStage(const QString& statement);
    void countRow();
    int findAsset(const QString& name);
    void noteAssetFound();
    // instrument is asked only when the set is inserted.
    int findOrInsertResultSet(int assetId, const QDateTime& date, const std::function<int()>& instrument,
                              const QString& userName, const QString& comments);
    int unknownInstrument();

    Database* m_target;
    QSqlDatabase m_legacyConnection;
    QSqlDatabase m_targetConnection;
    int m_targetType;

    int m_rowsDone = 0;
    int m_rowsTotal = 0;

    bool m_assetsOn;
    bool m_appliedPartsOn;
    bool m_resultsOn;
    bool m_userResultsOn;
    bool m_sequencesOn;
    bool m_storeOn = false;

    SqlQuery* m_assetQuery = nullptr;
    SqlQuery* m_appliedPartQuery = nullptr;
    SqlQuery* m_resultQuery = nullptr;
    SqlQuery* m_userResultQuery = nullptr;
    SqlQuery* m_sequenceQuery = nullptr;
    int m_assetCount = 0;
    int m_appliedPartCount = 0;
    int m_resultCount = 0;
    int m_userResultCount = 0;
    int m_sequenceCount = 0;
    int m_assetIndex = 0;
    int m_appliedPartIndex = 0;
    int m_resultIndex = 0;
    int m_userResultIndex = 0;
    int m_sequenceIndex = 0;

    // The keys of the last result row: consecutive rows of one test share them.
    struct LastKeys
    {
        QString assetName;
        int assetId = -1;
        QDateTime date;
        int instrumentType = 0;
        QString serialNo;
        int instrumentId = -1;
        int resultSetId = -1;
    };
    LastKeys m_last;

    // The asset a row's name found or made, noted once the row is stored.
    struct AssetFound
    {
        QString name; // as the file's rows spell it, trimmed
        int id = 0;
        QString storedName;
    };
    AssetFound m_assetFound;
    // Each name of the file with its asset, and each asset with the first name that found it.
    QHash<QString, int> m_assetIds;
    QHash<int, QString> m_assetNames;
    int m_mergedAssets = 0;

    QMap<int, LegacySequence*> m_sequences;
    QMap<int, LegacySequence*>::const_iterator m_storePosition;
};
