#include "database/DatabaseTransaction.h"
#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QSignalSpy>
#include <QtTest>

namespace {
QVariant scalar(const QString& statement)
{
    SqlQuery q;
    q.exec(statement);
    return q.next() ? q.value(0) : QVariant();
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
    void emptyNamesAreStoredAsEmptyText();
    void instrumentKeepsItsStoredDetails();
    void insertAssetTellsTheTreeModel();
    void newestResultSetMovesRetestDate_data();
    void newestResultSetMovesRetestDate();
    void olderResultSetLeavesAssetAlone();
    void missingInstrumentIsNull();
    void recycleAndRestore();
    void restoreRecreatesDeletedLocation();
    void deleteRemovesDependentRows();
    void deleteClientKeepsRecycledAssets();
    void appliedPartSummary();
    void nestedTransactionsCommitOnce();

private:
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
    q.prepareInsert("Asset", {"Name", "Description"}, DatabaseMySql);
    QCOMPARE(q.lastQuery(), QString("INSERT INTO Asset (Name,Description) VALUES (:Name,:Description)"));
    q.prepareInsert("Asset", {"Name", "Description"}, DatabaseMsSql);
    QCOMPARE(q.lastQuery(), QString("INSERT INTO Asset (Name,Description) VALUES (:Name,:Description)"));
}

void TestDatabaseRecords::findOrInsertTrimsAndReuses()
{
    const int a = m_db->findOrInsertClient("  Acme  ");
    QCOMPARE(m_db->findOrInsertClient("Acme"), a);
    QCOMPARE(scalar(QString("SELECT Name FROM Client WHERE Id=%1").arg(a)).toString(), QString("Acme"));
    const int b = m_db->findOrInsertClient("Other");
    QVERIFY(b != a);

    // One site name under two clients is two sites.
    const int sa = m_db->findOrInsertSite(a, "Main");
    const int sb = m_db->findOrInsertSite(b, " Main");
    QVERIFY(sa != sb);
    QCOMPARE(m_db->findOrInsertSite(a, "Main "), sa);
    QCOMPARE(m_db->findOrInsertLocation(sa, "Ward"), m_db->findOrInsertLocation(sa, " Ward "));

    const int e = m_db->findOrInsertEquipment(" Maker", "Model ", " SN ", 1);
    QCOMPARE(e, m_equipment);
    QVERIFY(m_db->findOrInsertEquipment("Maker", "Model", "SN", 2) != e);
}

void TestDatabaseRecords::emptyNamesAreStoredAsEmptyText()
{
    const int id = m_db->findOrInsertClient(QString());
    QCOMPARE(m_db->findOrInsertClient("   "), id);
    QCOMPARE(scalar(QString("SELECT COUNT(*) FROM Client WHERE Name='' AND Id=%1").arg(id)).toInt(), 1);
}

void TestDatabaseRecords::instrumentKeepsItsStoredDetails()
{
    const int id = m_db->findOrInsertInstrument(2, " Q2-7 ", QDate(2026, 2, 3), " 1.2 ", 9600, 8, 0, 1);
    QCOMPARE(scalar(QString("SELECT SerialNo FROM Instrument WHERE Id=%1").arg(id)).toString(), QString("Q2-7"));
    QCOMPARE(scalar(QString("SELECT CalibrationDate FROM Instrument WHERE Id=%1").arg(id)).toString(),
             QString("2026-02-03 00:00:00"));
    QCOMPARE(m_db->findOrInsertInstrument(2, "Q2-7", QDate(2027, 1, 1), "9.9", 115200, 7, 1, 2), id);
    QCOMPARE(scalar(QString("SELECT FirmwareVersion FROM Instrument WHERE Id=%1").arg(id)).toString(), QString("1.2"));
    QCOMPARE(scalar(QString("SELECT BaudRate FROM Instrument WHERE Id=%1").arg(id)).toInt(), 9600);
    QVERIFY(m_db->findOrInsertInstrument(1, "Q2-7", QDate(), QString(), 0, 0, 0, 0) != id);
}

void TestDatabaseRecords::insertAssetTellsTheTreeModel()
{
    QSignalSpy spy(m_db, &Database::assetInserted);
    const int id = m_db->insertAsset(" Pump ", "d", "s", " SN9 ", m_location, m_equipment, 12);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), id);
    SqlQuery q;
    q.exec(QString("SELECT Name,SerialNo,LatestResultSetId,RetestDate,DeletedLocation FROM Asset WHERE Id=%1").arg(id));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QString("Pump"));
    QCOMPARE(q.value(1).toString(), QString("SN9"));
    QVERIFY(q.value(2).isNull());
    QVERIFY(q.value(3).isNull());
    QVERIFY(q.value(4).isNull());
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
    const int asset = m_db->insertAsset("A", "", "", "", m_location, m_equipment, months);
    const int rs = m_db->insertResultSet(QVariant(), asset, tested, 2, 2, 1, "me", " note ");
    SqlQuery q;
    q.exec(QString("SELECT LatestResultSetId,RetestDate FROM Asset WHERE Id=%1").arg(asset));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), rs);
    QCOMPARE(q.value(1).toString(), retest);
    QCOMPARE(scalar(QString("SELECT Comments FROM ResultSet WHERE Id=%1").arg(rs)).toString(), QString("note"));
}

void TestDatabaseRecords::olderResultSetLeavesAssetAlone()
{
    const int asset = m_db->insertAsset("A", "", "", "", m_location, m_equipment, 12);
    const int newer = m_db->insertResultSet(QVariant(), asset, QDateTime(QDate(2026, 6, 1), QTime(9, 0)), 2, 2, 1, "", "");
    m_db->insertResultSet(QVariant(), asset, QDateTime(QDate(2025, 6, 1), QTime(9, 0)), 2, 2, 2, "", "");
    QCOMPARE(scalar(QString("SELECT LatestResultSetId FROM Asset WHERE Id=%1").arg(asset)).toInt(), newer);
    QCOMPARE(scalar(QString("SELECT RetestDate FROM Asset WHERE Id=%1").arg(asset)).toString(),
             QString("2027-06-01 09:00:00"));
    // Dates are stored so that text order is date order, across a year end too.
    QCOMPARE(scalar(QString("SELECT Id FROM ResultSet WHERE AssetId=%1 ORDER BY Date DESC").arg(asset)).toInt(), newer);
}

void TestDatabaseRecords::missingInstrumentIsNull()
{
    const int asset = m_db->insertAsset("A", "", "", "", m_location, m_equipment, 12);
    const int rs = m_db->insertResultSet(QVariant(), asset, QDateTime::currentDateTime(), 2, 2, 1, "", "");
    QVERIFY(scalar(QString("SELECT InstrumentId FROM ResultSet WHERE Id=%1").arg(rs)).isNull());
}

void TestDatabaseRecords::recycleAndRestore()
{
    const int asset = m_db->insertAsset("A", "", "", "", m_location, m_equipment, 12);
    m_db->recycleAssets({});
    m_db->recycleAssets({asset});
    QCOMPARE(scalar(QString("SELECT DeletedLocation FROM Asset WHERE Id=%1").arg(asset)).toString(), QString("C / S / L"));
    QCOMPARE(scalar(QString("SELECT LocationId FROM Asset WHERE Id=%1").arg(asset)).toInt(), m_location);
    m_db->restoreAssets({asset});
    QVERIFY(scalar(QString("SELECT DeletedLocation FROM Asset WHERE Id=%1").arg(asset)).isNull());
    QCOMPARE(scalar(QString("SELECT LocationId FROM Asset WHERE Id=%1").arg(asset)).toInt(), m_location);
}

void TestDatabaseRecords::restoreRecreatesDeletedLocation()
{
    const int asset = m_db->insertAsset("A", "", "", "", m_location, m_equipment, 12);
    m_db->recycleAssets({asset});
    SqlQuery q;
    q.exec(QString("DELETE FROM Location WHERE Id=%1").arg(m_location));
    m_db->restoreAssets({asset});
    const int newLocation = scalar(QString("SELECT LocationId FROM Asset WHERE Id=%1").arg(asset)).toInt();
    QCOMPARE(scalar("SELECT COUNT(*) FROM Location WHERE Name='L'").toInt(), 1);
    QCOMPARE(scalar(QString("SELECT l.Name || '/' || s.Name || '/' || c.Name FROM Location l JOIN Site s ON s.Id=l.SiteId "
                            "JOIN Client c ON c.Id=s.ClientId WHERE l.Id=%1").arg(newLocation)).toString(),
             QString("L/S/C"));

    // A site name that itself holds " / " comes back whole.
    const int odd = m_db->findOrInsertLocation(m_db->findOrInsertSite(m_db->findOrInsertClient("X"), "A / B"), "Y");
    const int asset2 = m_db->insertAsset("B", "", "", "", odd, m_equipment, 12);
    m_db->recycleAssets({asset2});
    m_db->restoreAssets({asset2});
    QCOMPARE(scalar(QString("SELECT LocationId FROM Asset WHERE Id=%1").arg(asset2)).toInt(), odd);
}

void TestDatabaseRecords::deleteRemovesDependentRows()
{
    const int a = m_db->insertAsset("A", "", "", "", m_location, m_equipment, 12);
    const int b = m_db->insertAsset("B", "", "", "", m_location, m_equipment, 12);
    const int keep = m_db->insertAsset("K", "", "", "", m_location, m_equipment, 12);
    for (int asset : {a, b, keep}) {
        const int rs = m_db->insertResultSet(QVariant(), asset, QDateTime::currentDateTime(), 2, 2, 1, "", "");
        SqlQuery q;
        q.exec(QString("INSERT INTO Result (Id,ResultSetId,TestId,Status) VALUES (NULL,%1,1,1)").arg(rs));
        q.exec(QString("INSERT INTO AppliedPart (Id,AssetId,Name) VALUES (NULL,%1,'P')").arg(asset));
        q.exec(QString("INSERT INTO TestSequence (Id,AssetId,Name) VALUES (NULL,%1,'T')").arg(asset));
    }
    m_db->deleteAssets({a, b});
    QCOMPARE(scalar("SELECT COUNT(*) FROM Asset").toInt(), 1);
    QCOMPARE(scalar("SELECT COUNT(*) FROM ResultSet").toInt(), 1);
    QCOMPARE(scalar("SELECT COUNT(*) FROM Result").toInt(), 1);
    QCOMPARE(scalar("SELECT COUNT(*) FROM AppliedPart").toInt(), 1);
    QCOMPARE(scalar("SELECT COUNT(*) FROM TestSequence").toInt(), 1);
    QCOMPARE(scalar("SELECT AssetId FROM AppliedPart").toInt(), keep);
}

void TestDatabaseRecords::deleteClientKeepsRecycledAssets()
{
    const int asset = m_db->insertAsset("A", "", "", "", m_location, m_equipment, 12);
    m_db->recycleAssets({asset});
    SqlQuery q;
    q.exec("DELETE FROM Client WHERE Name='C'");
    QCOMPARE(scalar("SELECT COUNT(*) FROM Location").toInt(), 0);
    QCOMPARE(scalar(QString("SELECT DeletedLocation FROM Asset WHERE Id=%1").arg(asset)).toString(), QString("C / S / L"));
    m_db->restoreAssets({asset});
    QCOMPARE(scalar("SELECT COUNT(*) FROM Location WHERE Name='L'").toInt(), 1);
}

void TestDatabaseRecords::appliedPartSummary()
{
    const int asset = m_db->insertAsset("A", "", "", "", m_location, m_equipment, 12);
    QCOMPARE(m_db->appliedPartSummary(asset), QString());
    SqlQuery q;
    q.exec(QString("INSERT INTO AppliedPart (Id,AssetId,Name,ConnectionClass,Connection,NumConnections) VALUES "
                   "(NULL,%1,'a',2,1,1),(NULL,%1,'b',2,2,1),(NULL,%1,'c',3,3,3)").arg(asset));
    QCOMPARE(m_db->appliedPartSummary(asset), QString("[2BF] [3CF] "));
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
