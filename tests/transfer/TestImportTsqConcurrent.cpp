// Several workstations downloading into one database at once: each importer
// is a process of its own (this executable started again), as it would be on
// another machine, and the streams share new clients, sites, locations,
// equipment, assets and even whole records.

#include "SqlRows.h"
#include "TsqRecordBuilder.h"

#include "core/DateFormat.h"
#include "database/Database.h"
#include "database/MySqlDatabase.h"
#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "database/StatementCache.h"
#include "database/WriteLock.h"
#include "support/DialogAnswerer.h"
#include "support/MariaDbServer.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"
#include "transfer/ImportOutcome.h"
#include "transfer/ImportTsq.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSemaphore>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <QtTest>
#include <cstdio>
#include <memory>

using namespace TsqRecordBuilder;

namespace {

constexpr int SharedAssets = 12;

// The asset, date and tester of record i of process p's stream. Every other
// record is for an asset that all streams share; of those, every third is
// the same test in all streams (same asset, same date). The others' dates
// interleave across the streams, so that any process may bring an asset's
// newest set.
struct Planned
{
    QString name;
    QString serialNo;
    int place = 0;
    QDateTime date;
};

Planned planned(int process, int i)
{
    const QDateTime base(QDate(2025, 1, 1), QTime(9, 0));
    Planned p;
    if (i % 2 == 0) {
        const int shared = (i / 2) % SharedAssets;
        p.name = QStringLiteral("Shared pump %1").arg(shared);
        p.serialNo = QStringLiteral("SP%1").arg(shared);
        p.place = shared;
        p.date = i % 6 == 0 ? base.addDays(shared) : base.addSecs(3600LL * ((process * 37 + i * 13) % 900 + 24));
    } else {
        p.name = QStringLiteral("Pump %1-%2").arg(process).arg(i);
        p.serialNo = QStringLiteral("P%1S%2").arg(process).arg(i);
        p.place = i;
        p.date = base.addSecs(3600LL * (process * 5 + i));
    }
    return p;
}

QByteArray record(const Planned& p)
{
    Ux::TsqMedicalApplianceResult r = asset(p.name, p.serialNo);
    r.clientName = QStringLiteral("Client %1").arg(p.place % 3);
    r.siteName = QStringLiteral("Site %1").arg(p.place % 4);
    r.locationName = QStringLiteral("Ward %1").arg(p.place % 5);
    r.make = QStringLiteral("Make %1").arg(p.place % 2);
    r.testDate = p.date;
    std::vector<Element> results;
    results.push_back(resistance(17, 0.1f, 0.5f));
    results.push_back(resistance(32, 50.0f, 2.0f));
    results.push_back(visual(1));
    r.testResultsData = resultsData(results);
    return bytes(r);
}

// Record i of every stream alike, at one known place: known assets and new ones in turn.
Planned sameInEveryStream(int, int i)
{
    const QString name = QStringLiteral("%1 pump %2").arg(i % 2 ? "New" : "Known").arg(i / 2 % 6);
    return {name, name.right(1), 0, QDateTime(QDate(2025, 6, 1), QTime(9, 0)).addDays(i / 2)};
}

// The name as stream process spells it, one asset's for the column all the
// same: in capitals under the schema's collation, under another with a space
// and a character that the collation ignores at its end.
QString spelled(const QString& name, const QString& collation, int process)
{
    if (process % 2 == 0)
        return name;
    if (collation.isEmpty())
        return name.toUpper();
    return name + (process % 4 == 1 ? QStringLiteral(" \x1b") : QStringLiteral(" \u00ad"));
}

QString plannedKey(const Planned& p)
{
    return p.name + QLatin1Char('|') + p.date.toString(storedDateTimeFormat);
}

// Child: opens the database, waits for the start signal and downloads its
// stream, then prints how many records it stored and found stored.
// Arguments: sqlite|mysql, file or database name, process number, records,
// start file, and for the streams of sameInEveryStream their first record,
// in a session at READ COMMITTED as a server's administrator may set it, and
// the collation by which their names are spelled.
PELVANE_CHILD_SCENARIO(concurrentDownload)
{
    if (args.size() < 5)
        return 90;
    const int process = args.at(2).toInt();
    const int count = args.at(3).toInt();
    Database* db = nullptr;
    if (args.at(0) == QLatin1String("sqlite")) {
        auto* sqlite = new SqliteDatabase;
        if (sqlite->open(args.at(1), false) != 0)
            return 91;
        db = sqlite;
    } else {
        QString why;
        if (!MariaDbServer::reachable(&why))
            return 92;
        auto* mysql = new MySqlDatabase;
        if (mysql->open(MariaDbServer::settings(args.at(1))) != 0)
            return 93;
        db = mysql;
    }
    Database::setInstance(db);
    const bool same = !args.value(5).isEmpty();
    if (same && !QSqlQuery(db->connection()).exec(QStringLiteral("SET SESSION TRANSACTION ISOLATION LEVEL READ COMMITTED")))
        return 95;
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(args.at(4))) {
        if (waited.elapsed() > 30000)
            return 94;
        QThread::msleep(2);
    }
    int stored = 0, alreadyStored = 0;
    {
        StatementCache statements(db->connection());
        ImportTsq::resetTransfer();
        if (!same)
            ImportTsq().import(header(QStringLiteral("Tester"), QStringLiteral("T-%1").arg(process % 2), count));
        for (int i = args.value(5).toInt(), last = i + count; i < last; ++i) {
            ImportTsq import;
            Planned p = same ? sameInEveryStream(process, i) : planned(process, i);
            p.name = same ? spelled(p.name, args.value(6), process) : p.name;
            import.import(record(p));
            if (import.outcome == ImportAlreadyStored)
                ++alreadyStored;
            else
                ++stored;
        }
        ImportTsq().import(end());
    }
    Database::setInstance(nullptr);
    std::printf("stored %d already %d\n", stored, alreadyStored);
    std::fflush(stdout);
    return 0;
}

// Child: imports one record for a new client, site and location while
// another connection (a program that takes no lock) holds the Location
// table for a while, longer than this session waits for a row lock. Every
// attempt inserts the client and the site and then times out on the
// location; the attempt that comes after the holder lets go stores it.
// Arguments: database name.
PELVANE_CHILD_SCENARIO(retryAfterLockWait)
{
    QString why;
    if (args.isEmpty() || !MariaDbServer::reachable(&why))
        return 92;
    const QString name = args.at(0);
    QSemaphore held;
    QThread* holder = QThread::create([&] {
        {
            QSqlDatabase db = MariaDbServer::connection(QStringLiteral("holder"), name);
            QSqlQuery hold(db);
            hold.exec(QStringLiteral("START TRANSACTION"));
            hold.exec(QStringLiteral("SELECT * FROM Location FOR UPDATE"));
            held.release();
            QThread::msleep(2500);
            hold.exec(QStringLiteral("ROLLBACK"));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));
    });
    holder->start();
    held.acquire();

    auto* db = new MySqlDatabase;
    if (db->open(MariaDbServer::settings(name)) != 0)
        return 93;
    Database::setInstance(db);
    QSqlQuery(db->connection()).exec(QStringLiteral("SET SESSION innodb_lock_wait_timeout=1"));
    int outcome = 0;
    {
        StatementCache statements(db->connection());
        ImportTsq import;
        Planned p;
        p.name = QStringLiteral("Held pump");
        p.serialNo = QStringLiteral("H1");
        p.place = 7;
        p.date = QDateTime(QDate(2026, 3, 4), QTime(10, 0));
        import.import(record(p));
        outcome = import.outcome;
    }
    holder->wait();
    delete holder;
    Database::setInstance(nullptr);
    std::printf("outcome %d\n", outcome);
    return 0;
}

QString counted(const QString& statement)
{
    return SqlRows::rows(statement).join(QLatin1Char(';'));
}

QString stamp(const QVariant& value)
{
    if (value.isNull())
        return QStringLiteral("-");
    return value.typeId() == QMetaType::QDateTime ? value.toDateTime().toString(storedDateTimeFormat)
                                                  : value.toString().left(19).replace(QLatin1Char('T'), QLatin1Char(' '));
}

} // namespace

class TestImportTsqConcurrent : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void fourImportersOnMariaDb();
    void sameAssetsAtOnceUnderSharesOnMariaDb_data();
    void sameAssetsAtOnceUnderSharesOnMariaDb();
    void twoImportersOnOneSqliteFile();
    void lockWaitIsRetriedFromTheStart();

private:
    // Starts processes importers at once on the database and checks what
    // they stored: every record once, no natural key twice, every set with
    // its results, every asset's newest set and retest date.
    void runImporters(const QString& backend, const QString& target, int processes, int recordsEach,
                      Planned (*plan)(int, int) = planned, int first = 0, const QString& collation = QString());
    void checkRegister(int processes, int recordsEach);

    // A new database with the schema on the server, named in m_mysqlName.
    bool createMySql(const QString& hint);

    QString m_mysqlName;
};

void TestImportTsqConcurrent::init()
{
    m_mysqlName.clear();
}

void TestImportTsqConcurrent::cleanup()
{
    Database::setInstance(nullptr);
    if (!m_mysqlName.isEmpty())
        MariaDbServer::dropDatabase(m_mysqlName);
}

bool TestImportTsqConcurrent::createMySql(const QString& hint)
{
    m_mysqlName = MariaDbServer::uniqueName(hint);
    DialogAnswerer answerer;
    answerer.pressNext("Yes");
    auto* db = new MySqlDatabase;
    const bool created = db->open(MariaDbServer::settings(m_mysqlName)) == 0;
    delete db;
    return created;
}

void TestImportTsqConcurrent::runImporters(const QString& backend, const QString& target, int processes,
                                           int recordsEach, Planned (*plan)(int, int), int first,
                                           const QString& collation)
{
    const QString start = TestEnvironment::instance()->newFolder(QStringLiteral("start")) + QStringLiteral("/go");
    std::vector<std::unique_ptr<QProcess>> children;
    for (int p = 0; p < processes; ++p) {
        children.push_back(std::make_unique<QProcess>());
        startChildScenario(*children.back(), QStringLiteral("concurrentDownload"),
                           {backend, target, QString::number(p), QString::number(recordsEach), start,
                            plan == planned ? QString() : QString::number(first), collation});
    }
    for (const auto& child : children)
        QVERIFY(child->waitForStarted());
    // Streams alike start together: held at the write lock until every one of them waits for it.
    QSqlQuery holder(plan == planned ? QSqlDatabase() : MariaDbServer::connection(QStringLiteral("holder"), target));
    QVERIFY(plan == planned || (holder.exec(WriteLock::mySqlBegin().last()) && holder.next()));
    QFile go(start);
    QVERIFY(go.open(QIODevice::WriteOnly));
    go.close();
    (void)QTest::qWaitFor([&] {
        return plan == planned || !holder.exec("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE STATE='User lock'")
               || !holder.next() || holder.value(0).toInt() >= processes;
    }, 20000);
    QVERIFY(plan == planned || holder.exec(WriteLock::mySqlRelease()));

    // Every process finishes its download, and between them they store each
    // distinct record once and find the rest stored.
    QSet<QString> distinct;
    for (int p = 0; p < processes; ++p)
        for (int i = first; i < first + recordsEach; ++i)
            distinct.insert(plannedKey(plan(p, i)));
    int stored = 0, alreadyStored = 0;
    for (int p = 0; p < processes; ++p) {
        const ChildResult result = finishChildScenario(*children.at(p), 120000);
        const QByteArray output = result.output;
        QVERIFY2(!result.crashed && result.exitCode == 0,
                 qPrintable(QStringLiteral("importer %1 ended with %2: %3")
                                .arg(p)
                                .arg(result.exitCode)
                                .arg(QString::fromUtf8(output.right(1500)))));
        const int at = output.lastIndexOf("stored ");
        QVERIFY(at >= 0);
        // Under a share to the end: none went again under the whole lock.
        QVERIFY2(plan == planned || !output.contains("rolled back"), output.right(1500).constData());
        const QList<QByteArray> words = output.mid(at).split(' ');
        stored += words.value(1).toInt();
        alreadyStored += words.value(3).trimmed().toInt();
    }
    QCOMPARE(stored, int(distinct.size()));
    QCOMPARE(stored + alreadyStored, processes * recordsEach);
}

void TestImportTsqConcurrent::checkRegister(int processes, int recordsEach)
{
    // No natural key twice.
    const QStringList keys = {
        QStringLiteral("SELECT Name FROM Client GROUP BY Name HAVING COUNT(*)>1"),
        QStringLiteral("SELECT ClientId,Name FROM Site GROUP BY ClientId,Name HAVING COUNT(*)>1"),
        QStringLiteral("SELECT SiteId,Name FROM Location GROUP BY SiteId,Name HAVING COUNT(*)>1"),
        QStringLiteral("SELECT Manufacturer,Model,SerialNo,EquipmentClass FROM Equipment "
                       "GROUP BY Manufacturer,Model,SerialNo,EquipmentClass HAVING COUNT(*)>1"),
        QStringLiteral("SELECT Name,SerialNo FROM Asset GROUP BY Name,SerialNo HAVING COUNT(*)>1"),
        QStringLiteral("SELECT InstrumentType,SerialNo FROM Instrument GROUP BY InstrumentType,SerialNo "
                       "HAVING COUNT(*)>1"),
        // The same test (asset and date) stored once.
        QStringLiteral("SELECT AssetId,Date FROM ResultSet GROUP BY AssetId,Date HAVING COUNT(*)>1"),
        // Nothing half stored.
        QStringLiteral("SELECT Id FROM ResultSet s WHERE NOT EXISTS (SELECT 1 FROM Result r WHERE r.ResultSetId=s.Id)"),
    };
    for (const QString& statement : keys)
        QVERIFY2(counted(statement).isEmpty(), qPrintable(statement + QStringLiteral(": ") + counted(statement)));

    QSet<QString> assets;
    QSet<QString> distinct;
    for (int p = 0; p < processes; ++p)
        for (int i = 0; i < recordsEach; ++i) {
            assets.insert(planned(p, i).name);
            distinct.insert(plannedKey(planned(p, i)));
        }
    QCOMPARE(counted(QStringLiteral("SELECT COUNT(*) FROM Asset")).toInt(), int(assets.size()));
    QCOMPARE(counted(QStringLiteral("SELECT COUNT(*) FROM ResultSet")).toInt(), int(distinct.size()));
    QCOMPARE(counted(QStringLiteral("SELECT COUNT(*) FROM Client")), QStringLiteral("3"));
    QCOMPARE(counted(QStringLiteral("SELECT COUNT(*) FROM Instrument")), QStringLiteral("2"));

    // Each asset points at its newest set, and its retest date follows from it.
    QMap<int, QPair<QString, int>> newest; // asset: date, set
    SqlQuery sets;
    sets.exec(QStringLiteral("SELECT AssetId,Date,Id FROM ResultSet"));
    while (sets.next()) {
        const QString date = stamp(sets.value(1));
        auto it = newest.find(sets.value(0).toInt());
        if (it == newest.end() || it->first < date)
            newest.insert(sets.value(0).toInt(), {date, sets.value(2).toInt()});
    }
    SqlQuery rows;
    rows.exec(QStringLiteral("SELECT Id,Name,LatestResultSetId,RetestDate,RetestPeriod FROM Asset"));
    int checked = 0;
    while (rows.next()) {
        const auto expected = newest.value(rows.value(0).toInt());
        const QString retest =
            QDateTime::fromString(expected.first, storedDateTimeFormat).addMonths(rows.value(4).toInt()).toString(storedDateTimeFormat);
        QCOMPARE(rows.value(1).toString() + QStringLiteral(" latest ") + rows.value(2).toString(),
                 rows.value(1).toString() + QStringLiteral(" latest ") + QString::number(expected.second));
        QCOMPARE(rows.value(1).toString() + QStringLiteral(" retest ") + stamp(rows.value(3)),
                 rows.value(1).toString() + QStringLiteral(" retest ") + retest);
        ++checked;
    }
    QCOMPARE(checked, int(assets.size()));
}

void TestImportTsqConcurrent::fourImportersOnMariaDb()
{
    PELVANE_REQUIRE_MARIADB();
    QVERIFY(createMySql(QStringLiteral("concurrent")));
    constexpr int Processes = 4, RecordsEach = 75;
    runImporters(QStringLiteral("mysql"), m_mysqlName, Processes, RecordsEach);
    if (QTest::currentTestFailed())
        return;
    auto* db = new MySqlDatabase;
    QVERIFY(db->open(MariaDbServer::settings(m_mysqlName)) == 0);
    Database::setInstance(db);
    checkRegister(Processes, RecordsEach);
}

void TestImportTsqConcurrent::sameAssetsAtOnceUnderSharesOnMariaDb_data()
{
    QTest::addColumn<QString>("collation");
    QTest::newRow("the schema's") << QString();
    QTest::newRow("UCA") << QStringLiteral("utf8mb4_uca1400_ai_ci");
}

// Each test stored once, and each new asset, whatever isolation level the
// sessions run at and however the column's collation spells an asset's name.
void TestImportTsqConcurrent::sameAssetsAtOnceUnderSharesOnMariaDb()
{
    QFETCH(QString, collation);
    PELVANE_REQUIRE_MARIADB();
    QVERIFY(createMySql(QStringLiteral("same assets")));
    auto* db = new MySqlDatabase;
    QVERIFY(db->open(MariaDbServer::settings(m_mysqlName)) == 0);
    Database::setInstance(db);
    QVERIFY(collation.isEmpty()
            || SqlQuery().exec(QStringLiteral("ALTER TABLE Asset MODIFY Name VARCHAR(255) COLLATE %1").arg(collation)));
    for (int i = 0; i < 12; i += 2) // the known ones, tested before
        ImportTsq().import(record(sameInEveryStream(0, i)));
    // A few records a start, so that the streams meet on each of them.
    constexpr int Processes = 6, RecordsEach = 16;
    for (int first = 12; first < 12 + RecordsEach && !QTest::currentTestFailed(); first += 2)
        runImporters(QStringLiteral("mysql"), m_mysqlName, Processes, 2, sameInEveryStream, first, collation);
    QCOMPARE(counted(QStringLiteral("SELECT (SELECT COUNT(*) FROM Asset),COUNT(*),COUNT(DISTINCT AssetId,Date) FROM ResultSet")),
             QStringLiteral("12|%1|%1").arg(6 + RecordsEach));
}

void TestImportTsqConcurrent::twoImportersOnOneSqliteFile()
{
    const QString path = TestEnvironment::instance()->newFolder(QStringLiteral("sqlite")) + QStringLiteral("/shared.db");
    QVERIFY(SeededDatabase::createEmpty(path));
    Database::setInstance(nullptr);
    constexpr int Processes = 2, RecordsEach = 300;
    runImporters(QStringLiteral("sqlite"), path, Processes, RecordsEach);
    if (QTest::currentTestFailed())
        return;
    auto* db = new SqliteDatabase;
    QCOMPARE(db->open(path, false), 0);
    Database::setInstance(db);
    checkRegister(Processes, RecordsEach);
}

void TestImportTsqConcurrent::lockWaitIsRetriedFromTheStart()
{
    PELVANE_REQUIRE_MARIADB();
    QVERIFY(createMySql(QStringLiteral("lock wait")));
    QProcess child;
    startChildScenario(child, QStringLiteral("retryAfterLockWait"), {m_mysqlName});
    const ChildResult result = finishChildScenario(child, 60000);
    QVERIFY2(!result.crashed && result.exitCode == 0, result.output.right(1500).constData());
    QVERIFY2(result.output.contains("outcome 1"), result.output.right(1500).constData());

    auto* db = new MySqlDatabase;
    QVERIFY(db->open(MariaDbServer::settings(m_mysqlName)) == 0);
    Database::setInstance(db);
    // Stored once, on places that exist: nothing of the attempts that were
    // rolled back, not even an id they learned.
    QCOMPARE(counted(QStringLiteral("SELECT COUNT(*) FROM Client")), QStringLiteral("1"));
    QCOMPARE(counted(QStringLiteral("SELECT COUNT(*) FROM Site s JOIN Client c ON c.Id=s.ClientId")),
             QStringLiteral("1"));
    QCOMPARE(counted(QStringLiteral("SELECT COUNT(*) FROM Asset a JOIN Location l ON l.Id=a.LocationId "
                                    "JOIN Site s ON s.Id=l.SiteId JOIN Equipment e ON e.Id=a.EquipmentId")),
             QStringLiteral("1"));
    QCOMPARE(counted(QStringLiteral("SELECT COUNT(*) FROM ResultSet")), QStringLiteral("1"));
    QCOMPARE(counted(QStringLiteral("SELECT COUNT(*) FROM Result")), QStringLiteral("3"));
}

PELVANE_TEST_MAIN(TestImportTsqConcurrent)
#include "TestImportTsqConcurrent.moc"
