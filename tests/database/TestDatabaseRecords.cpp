#include "database/DatabaseTransaction.h"
#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

namespace {
QVariant scalar(const QString& statement)
{
    SqlQuery q;
    q.exec(statement);
    return q.next() ? q.value(0) : QVariant();
}

QVariant field(const char* table, const char* column, int id)
{
    return scalar(QStringLiteral("SELECT %1 FROM %2 WHERE Id=%3").arg(column, table).arg(id));
}
} // namespace

class TestDatabaseRecords : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void insertStatementForEachBackEnd();
    void findOrInsertTrimsAndReuses();
    void instrumentKeepsItsStoredDetails();
    void insertAssetTellsTheTreeModel();
    void newestResultSetMovesRetestDate_data();
    void newestResultSetMovesRetestDate();
    void olderResultSetLeavesAssetAlone();
    void recycleAndRestore();
    void deleteRemovesDependentRows();
    void deletingAnInstrumentKeepsItsResultSets();
    void appliedPartSummary();
    void nestedTransactionsCommitOnce();

private:
    int asset(int months = 12) { return m_db->insertAsset("A", "", "", "", m_location, m_equipment, months); }
    SqliteDatabase* m_db = nullptr;
    int m_location = 0;
    int m_equipment = 0;
};

void TestDatabaseRecords::init()
{
    m_db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/records.db");
    QVERIFY(m_db);
    m_location = m_db->findOrInsertLocation(m_db->findOrInsertSite(m_db->findOrInsertClient("C"), "S"), "L");
    m_equipment = m_db->findOrInsertEquipment("Maker", "Model", "SN", 1);
}

void TestDatabaseRecords::cleanup()
{
    Database::setInstance(nullptr);
    m_db = nullptr;
}

void TestDatabaseRecords::insertStatementForEachBackEnd()
{
    SqlQuery q;
    QVERIFY(q.prepareInsert("Client", {"Name"}, DatabaseSqlite));
    QCOMPARE(q.lastQuery(), QString("INSERT INTO Client (Id,Name) VALUES (NULL,:Name)"));
    // SQLite prepares any text lazily, so the server forms can be checked here too.
    for (int type : {DatabaseMySql, DatabaseMsSql}) {
        q.prepareInsert("Asset", {"Name", "Description"}, type);
        QCOMPARE(q.lastQuery(), QString("INSERT INTO Asset (Name,Description) VALUES (:Name,:Description)"));
    }
}

void TestDatabaseRecords::findOrInsertTrimsAndReuses()
{
    const int a = m_db->findOrInsertClient("  Acme  ");
    QCOMPARE(m_db->findOrInsertClient("Acme"), a);
    QCOMPARE(field("Client", "Name", a).toString(), QString("Acme"));
    const int b = m_db->findOrInsertClient("Other");
    QVERIFY(b != a);
    const int empty = m_db->findOrInsertClient(QString());
    QCOMPARE(m_db->findOrInsertClient("   "), empty);
    QCOMPARE(field("Client", "Name", empty), QVariant(QString("")));

    // One site name under two clients is two sites.
    const int sa = m_db->findOrInsertSite(a, "Main");
    QVERIFY(m_db->findOrInsertSite(b, " Main") != sa);
    QCOMPARE(m_db->findOrInsertSite(a, "Main "), sa);
    QCOMPARE(m_db->findOrInsertLocation(sa, "Ward"), m_db->findOrInsertLocation(sa, " Ward "));

    QCOMPARE(m_db->findOrInsertEquipment(" Maker", "Model ", " SN ", 1), m_equipment);
    QVERIFY(m_db->findOrInsertEquipment("Maker", "Model", "SN", 2) != m_equipment);
}

void TestDatabaseRecords::instrumentKeepsItsStoredDetails()
{
    const int id = m_db->findOrInsertInstrument(2, " Q2-7 ", QDate(2026, 2, 3), " 1.2 ", 9600, 8, 0, 1);
    QCOMPARE(field("Instrument", "SerialNo", id).toString(), QString("Q2-7"));
    QCOMPARE(field("Instrument", "CalibrationDate", id).toString(), QString("2026-02-03 00:00:00"));
    QCOMPARE(m_db->findOrInsertInstrument(2, "Q2-7", QDate(2027, 1, 1), "9.9", 115200, 7, 1, 2), id);
    QCOMPARE(field("Instrument", "FirmwareVersion", id).toString(), QString("1.2"));
    QCOMPARE(field("Instrument", "BaudRate", id).toInt(), 9600);
    QVERIFY(m_db->findOrInsertInstrument(1, "Q2-7", QDate(), QString(), 0, 0, 0, 0) != id);
}

void TestDatabaseRecords::insertAssetTellsTheTreeModel()
{
    QSignalSpy spy(m_db, &Database::assetInserted);
    const int id = m_db->insertAsset(" Pump ", "d", "s", " SN9 ", m_location, m_equipment, 12);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), id);
    QCOMPARE(field("Asset", "Name", id).toString(), QString("Pump"));
    QCOMPARE(field("Asset", "SerialNo", id).toString(), QString("SN9"));
    for (const char* column : {"LatestResultSetId", "RetestDate", "DeletedLocation"})
        QVERIFY2(field("Asset", column, id).isNull(), column);
}

void TestDatabaseRecords::newestResultSetMovesRetestDate_data()
{
    QTest::addColumn<QDateTime>("tested");
    QTest::addColumn<int>("months");
    QTest::addColumn<QString>("retest");
    QTest::newRow("a year") << QDateTime(QDate(2026, 5, 4), QTime(10, 0)) << 12 << "2027-05-04 10:00:00";
    QTest::newRow("31 January + 1") << QDateTime(QDate(2026, 1, 31), QTime(8, 0)) << 1 << "2026-02-28 08:00:00";
    QTest::newRow("leap February") << QDateTime(QDate(2028, 1, 31), QTime(8, 0)) << 1 << "2028-02-29 08:00:00";
    QTest::newRow("31 August + 1") << QDateTime(QDate(2026, 8, 31), QTime(0, 0)) << 1 << "2026-09-30 00:00:00";
    QTest::newRow("no period") << QDateTime(QDate(2026, 8, 31), QTime(0, 0)) << 0 << "2026-08-31 00:00:00";
}

void TestDatabaseRecords::newestResultSetMovesRetestDate()
{
    QFETCH(QDateTime, tested);
    QFETCH(int, months);
    QFETCH(QString, retest);
    const int id = asset(months);
    const int rs = m_db->insertResultSet(QVariant(), id, tested, 2, 2, 1, "me", " note ");
    QCOMPARE(field("Asset", "LatestResultSetId", id).toInt(), rs);
    QCOMPARE(field("Asset", "RetestDate", id).toString(), retest);
    QCOMPARE(field("ResultSet", "Comments", rs).toString(), QString("note"));
    QVERIFY(field("ResultSet", "InstrumentId", rs).isNull());
}

void TestDatabaseRecords::olderResultSetLeavesAssetAlone()
{
    const int id = asset();
    const int newer = m_db->insertResultSet(QVariant(), id, QDateTime(QDate(2026, 6, 1), QTime(9, 0)), 2, 2, 1, "", "");
    m_db->insertResultSet(QVariant(), id, QDateTime(QDate(2025, 6, 1), QTime(9, 0)), 2, 2, 2, "", "");
    QCOMPARE(field("Asset", "LatestResultSetId", id).toInt(), newer);
    QCOMPARE(field("Asset", "RetestDate", id).toString(), QString("2027-06-01 09:00:00"));
    // Dates are stored so that text order is date order, across a year end too.
    QCOMPARE(scalar(QString("SELECT Id FROM ResultSet WHERE AssetId=%1 ORDER BY Date DESC").arg(id)).toInt(), newer);
}

void TestDatabaseRecords::recycleAndRestore()
{
    const int id = asset();
    m_db->recycleAssets({});
    m_db->recycleAssets({id});
    QCOMPARE(field("Asset", "DeletedLocation", id).toString(), QString("C / S / L"));
    QCOMPARE(field("Asset", "LocationId", id).toInt(), m_location);
    m_db->restoreAssets({id});
    QVERIFY(field("Asset", "DeletedLocation", id).isNull());
    QCOMPARE(field("Asset", "LocationId", id).toInt(), m_location);

    // Deleting the client takes its locations but keeps the recycled asset;
    // restoring it builds the location again.
    m_db->recycleAssets({id});
    SqlQuery q;
    q.exec("DELETE FROM Client WHERE Name='C'");
    QCOMPARE(scalar("SELECT COUNT(*) FROM Location").toInt(), 0);
    QCOMPARE(field("Asset", "DeletedLocation", id).toString(), QString("C / S / L"));
    m_db->restoreAssets({id});
    QCOMPARE(scalar("SELECT COUNT(*) FROM Location").toInt(), 1);
    QCOMPARE(scalar(QString("SELECT l.Name || '/' || s.Name || '/' || c.Name FROM Location l JOIN Site s ON s.Id=l.SiteId "
                            "JOIN Client c ON c.Id=s.ClientId WHERE l.Id=%1")
                        .arg(field("Asset", "LocationId", id).toInt()))
                 .toString(),
             QString("L/S/C"));

    // A site name that itself holds " / " comes back whole.
    const int odd = m_db->findOrInsertLocation(m_db->findOrInsertSite(m_db->findOrInsertClient("X"), "A / B"), "Y");
    const int other = m_db->insertAsset("B", "", "", "", odd, m_equipment, 12);
    m_db->recycleAssets({other});
    m_db->restoreAssets({other});
    QCOMPARE(field("Asset", "LocationId", other).toInt(), odd);
}

void TestDatabaseRecords::deleteRemovesDependentRows()
{
    const int a = asset();
    const int b = asset();
    const int keep = asset();
    for (int id : {a, b, keep}) {
        const int rs = m_db->insertResultSet(QVariant(), id, QDateTime::currentDateTime(), 2, 2, 1, "", "");
        SqlQuery q;
        q.exec(QString("INSERT INTO Result (Id,ResultSetId,TestId,Status) VALUES (NULL,%1,1,1)").arg(rs));
        q.exec(QString("INSERT INTO AppliedPart (Id,AssetId,Name) VALUES (NULL,%1,'P')").arg(id));
        q.exec(QString("INSERT INTO TestSequence (Id,AssetId,Name) VALUES (NULL,%1,'T')").arg(id));
    }
    m_db->recycleAssets({a, b}); // Delete for good takes them from the recycle bin
    m_db->deleteAssets({a, b});
    for (const char* table : {"Asset", "ResultSet", "Result", "AppliedPart", "TestSequence"})
        QCOMPARE(scalar(QString("SELECT COUNT(*) FROM %1").arg(table)).toInt(), 1);
    QCOMPARE(scalar("SELECT AssetId FROM AppliedPart").toInt(), keep);
}

void TestDatabaseRecords::deletingAnInstrumentKeepsItsResultSets()
{
    const int instrument = m_db->findOrInsertInstrument(1, "Q1", QDate(2026, 1, 2), "1.0", 9600, 8, 0, 1);
    const int id = asset();
    const int set = m_db->insertResultSet(instrument, id, QDateTime::currentDateTime(), 2, 2, 1, "", "");
    // Through QSqlQuery: a refusal here must fail the test, not end it.
    QSqlQuery remove(m_db->connection());
    QVERIFY2(remove.exec(QString("DELETE FROM Instrument WHERE Id=%1").arg(instrument)),
             qPrintable(remove.lastError().text()));
    QCOMPARE(field("ResultSet", "InstrumentId", set).toInt(), instrument);

    // No server runs here for the other two back-ends: their scripts must not
    // tie result sets to instruments either.
    for (const char* script : {"Schemas/schema.sqlite.sql", "Schemas/schema.mysql.sql", "Schemas/schema.mssql.sql"}) {
        QFile file(script);
        QVERIFY2(file.open(QIODevice::ReadOnly | QIODevice::Text), script);
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY2(text.contains(QRegularExpression("CREATE TABLE[^(]*ResultSet \\([^;]*InstrumentId")), script);
        QVERIFY2(!text.contains(QRegularExpression("REFERENCES\\s+(dbo\\.)?Instrument\\b")), script);
    }
}

void TestDatabaseRecords::appliedPartSummary()
{
    const int id = asset();
    QCOMPARE(m_db->appliedPartSummary(id), QString());
    SqlQuery q;
    q.exec(QString("INSERT INTO AppliedPart (Id,AssetId,Name,ConnectionClass,Connection,NumConnections) VALUES "
                   "(NULL,%1,'a',2,1,1),(NULL,%1,'b',2,2,1),(NULL,%1,'c',3,3,3)").arg(id));
    QCOMPARE(m_db->appliedPartSummary(id), QString("[2BF] [3CF] "));
}

void TestDatabaseRecords::nestedTransactionsCommitOnce()
{
    {
        DatabaseTransaction outer;
        m_db->findOrInsertClient("one");
        {
            DatabaseTransaction inner;
            m_db->findOrInsertClient("two");
        }
        // The inner scope must not have ended the outer transaction.
        QVERIFY(!QSqlQuery(m_db->connection()).exec("BEGIN"));
    }
    QVERIFY(QSqlQuery(m_db->connection()).exec("BEGIN"));
    QVERIFY(QSqlQuery(m_db->connection()).exec("COMMIT"));
    QCOMPARE(scalar("SELECT COUNT(*) FROM Client WHERE Name IN ('one','two')").toInt(), 2);
}

PELVANE_TEST_MAIN(TestDatabaseRecords)
#include "TestDatabaseRecords.moc"
