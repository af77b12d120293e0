#include "../transfer/SqlRows.h"
#include "database/SqliteDatabase.h"
#include "results/AlertThresholds.h"
#include "results/ComparisonAlert.h"
#include "support/MariaDbServer.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QtTest>
#include <optional>

namespace {

struct Value
{
    int testId;
    double result;
    int status;
};

QList<int> column(const QString& statement)
{
    SqlQuery q;
    q.exec(statement);
    QList<int> values;
    while (q.next())
        values << q.value(0).toInt();
    return values;
}

QList<int> statuses(int set)
{
    return column(QString("SELECT Status FROM Result WHERE ResultSetId=%1 ORDER BY TestId, Id").arg(set));
}

int overall(int set)
{
    return column(QString("SELECT OverallResult FROM ResultSet WHERE Id=%1").arg(set)).value(0);
}

void setThresholds(const QList<double>& values)
{
    int i = 0;
    for (double v : values)
        AlertThresholds::values[i++] = v;
    while (i < AlertThresholds::Count)
        AlertThresholds::values[i++] = 0.0;
}

} // namespace

class TestComparisonAlert : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/alerts.db");
        QVERIFY(m_db);
        m_asset = addPump(m_db);
    }

    void cleanupTestCase()
    {
        setThresholds({});
        Database::setInstance(nullptr);
        m_db = nullptr;
    }

    void init()
    {
        // One database for the whole run; each test starts without result sets.
        SqlQuery clear;
        clear.exec("DELETE FROM Result");
        clear.exec("DELETE FROM ResultSet");
        clear.exec("DELETE FROM Asset WHERE Name<>'Pump'");
        setThresholds({});
    }

    void exceeds()
    {
        struct Case
        {
            double previous, current, relative, absolute;
            bool expected;
        };
        const Case cases[] = {
            {100.0, 110.0, 0.10, 0.0, true},  // relative bound counts
            {100.0, 109.9, 0.10, 0.0, false}, // just under relative
            {100.0, 109.9, 0.10, 9.9, true},  // under relative, absolute met
            {100.0, 90.0, 0.10, 0.0, true},   // a drop counts as a rise
            {10.0, 9.0, 0.0, 1.0, true},      // absolute bound counts
            {1.0, 1000.0, 0.0, 0.0, false},   // both off
            {0.0, 0.5, 0.01, 0.0, true},      // previous 0: infinite ratio
            {0.0, 0.0, 0.01, 0.0, false},     // 0 against 0
            {-10.0, 10.0, 0.1, 0.0, false},   // negative previous: never relative
            {-10.0, 10.0, 0.1, 20.0, true},   // negative previous, absolute
        };
        for (const Case& c : cases)
            QVERIFY2(ComparisonAlert::exceeds(c.previous, c.current, c.relative, c.absolute) == c.expected,
                     qPrintable(QString("%1 -> %2").arg(c.previous).arg(c.current)));
    }

    void thresholdsBlob()
    {
        setThresholds({0.05, 0.1});
        const QByteArray blob = ComparisonAlert::saveThresholds();
        QCOMPARE(blob.size(), 48);
        QCOMPARE(blob.left(8).toHex(), QByteArray("3fa999999999999a"));
        QCOMPARE(blob.mid(8, 8).toHex(), QByteArray("3fb999999999999a"));
        QCOMPARE(blob.mid(16), QByteArray(32, '\0'));

        setThresholds({1, 2, 3, 4, 5, 6});
        const QByteArray all = ComparisonAlert::saveThresholds();
        setThresholds({});
        ComparisonAlert::loadThresholds(all);
        for (int i = 0; i < AlertThresholds::Count; ++i)
            QCOMPARE(AlertThresholds::values[i], double(i + 1));

        // Short: two values and part of a third, the rest off.
        ComparisonAlert::loadThresholds(all.left(20));
        QCOMPARE(AlertThresholds::values[1], 2.0);
        QCOMPARE(AlertThresholds::values[2], 0.0);
    }

    void categoryChoosesThresholds()
    {
        const QDateTime t(QDate(2026, 1, 1), QTime(8, 0));
        // Every kind drifts by half; ids 1 (visual) and 145 (IEC wiring) have no category.
        const QList<Value> before = {{1, 1.0, 1}, {17, 0.2, 1}, {32, 100.0, 1}, {48, 100.0, 1}, {145, 1.0, 1}};
        const QList<Value> after = {{1, 2.0, 1}, {17, 0.3, 1}, {32, 150.0, 1}, {48, 150.0, 1}, {145, 3.0, 1}};
        const int a = makeSet(m_asset, t, 1, before);

        struct Case
        {
            QList<double> thresholds;
            QList<int> expected;
        };
        const QList<Case> cases = {
            {{}, {}}, // every threshold 0: off
            {{0.4}, {17}},
            {{0, 0.099}, {17}},
            {{0, 0, 0.4}, {32}},
            {{0, 0, 0, 50.0}, {32}},
            {{0, 0, 0, 0, 0.5}, {48}},
            {{0, 0, 0, 0, 0, 50.0}, {48}},
            {{0.6, 0.2, 0.6, 51.0, 0.6, 51.0}, {}},
            {{0.01, 0.01, 0.01, 0.01, 0.01, 0.01}, {17, 32, 48}},
        };
        int day = 1;
        for (const Case& c : cases) {
            const int b = makeSet(m_asset, t.addDays(day++), 1, after);
            setThresholds(c.thresholds);
            ComparisonAlert alert(a, b);
            QCOMPARE(alert.testIds, c.expected);
            QCOMPARE(alert.status, c.expected.isEmpty() ? -1 : 5);
            QCOMPARE(column(QString("SELECT TestId FROM Result WHERE ResultSetId=%1 AND Status=5 ORDER BY TestId")
                                .arg(b)),
                     c.expected);
            QCOMPARE(overall(b), c.expected.isEmpty() ? 1 : 5);
        }
        // The earlier set is never touched.
        QCOMPARE(statuses(a), QList<int>({1, 1, 1, 1, 1}));
    }

    void failureIsNeverMarkedNorReset()
    {
        setThresholds({0.1, 0, 0, 0, 0.1});
        const QDateTime t(QDate(2026, 1, 1), QTime(8, 0));
        const int a = makeSet(m_asset, t, 1, {{17, 0.1, 1}, {48, 100.0, 1}});
        const int b = makeSet(m_asset, t.addDays(1), 2, {{17, 0.2, 1}, {48, 900.0, 2}});
        ComparisonAlert alert(a, b);
        QCOMPARE(alert.status, 5);
        QCOMPARE(alert.testIds, QList<int>({17, 48}));
        QCOMPARE(statuses(b), QList<int>({5, 2}));
        QCOMPARE(overall(b), 2);

        // Clearing alerts cannot make a failed set or test pass; info results stay info.
        const int c = makeSet(m_asset, t.addDays(2), 5, {{17, 0.1, 5}, {1, 0.0, 4}});
        ComparisonAlert::removeAllAlerts();
        QCOMPARE(statuses(b), QList<int>({1, 2}));
        QCOMPARE(statuses(c), QList<int>({4, 1}));
        QCOMPARE(overall(b), 2);
        QCOMPARE(overall(c), 1);
    }

    void pairsAreFormedPerTestId()
    {
        setThresholds({0, 0.25, 0, 0, 0, 0});
        const QDateTime t(QDate(2026, 1, 1), QTime(8, 0));
        // 17: previous highest 1.0 against new lowest 1.2 (no drift), although 0.5 and 2.0 would.
        // 18: only in the previous set; 21: only in the new set, with a value far from 18's.
        const int a = makeSet(m_asset, t, 1, {{17, 0.5, 1}, {17, 1.0, 1}, {18, 0.1, 1}});
        const int b = makeSet(m_asset, t.addDays(1), 1, {{17, 1.2, 1}, {17, 2.0, 1}, {21, 5.0, 1}});
        ComparisonAlert alert(a, b);
        QCOMPARE(alert.status, -1);
        QVERIFY(alert.testIds.isEmpty());

        // A real drift marks every row of its TestId.
        const int c = makeSet(m_asset, t.addDays(2), 1, {{17, 3.0, 1}, {17, 3.0, 1}, {18, 0.1, 1}});
        QCOMPARE(ComparisonAlert(b, c).testIds, QList<int>({17}));
        QCOMPARE(statuses(c), QList<int>({5, 5, 1}));
    }

    // The import compares a set before it is stored; it must find what the
    // compare of the stored sets finds on each back-end, whatever the sets
    // hold: repeated TestIds and values, NULL results, TestIds of one set
    // only.
    void compareBeforeStoringFindsTheSame_data()
    {
        QTest::addColumn<bool>("mariaDb");
        QTest::newRow("SQLite") << false;
        QTest::newRow("MariaDB") << true;
    }

    void compareBeforeStoringFindsTheSame()
    {
        QFETCH(bool, mariaDb);
        // The SQLite database comes back once the server's is dropped.
        auto back = qScopeGuard([&] {
            if (mariaDb)
                initTestCase();
        });
        std::optional<MariaDbServer::ScopedDatabase> server;
        if (mariaDb) {
            PELVANE_REQUIRE_MARIADB();
            m_db = nullptr;
            QVERIFY(server.emplace("compare").install());
        }
        Database* db = Database::instance();
        const int asset = mariaDb ? addPump(db) : m_asset;
        setThresholds({0.1, 0.05, 0.3, 1.0, 0.2, 0.5});
        const int ids[] = {1, 17, 18, 32, 48, 145};
        QRandomGenerator random(20261209);
        const QDateTime t(QDate(2026, 1, 1), QTime(8, 0));
        int alerts = 0;
        for (int round = 0; round < 300; ++round) {
            QList<ComparisonAlert::Result> sets[2];
            int stored[2] = {};
            for (int s = 0; s < 2; ++s) {
                stored[s] = db->insertResultSet(QVariant(), asset, t.addDays(2 * round + s), 2, 2, 1, "", "");
                for (int n = random.bounded(7); n > 0; --n) {
                    const int testId = ids[random.bounded(6)];
                    const QVariant value = random.bounded(6) == 0 ? QVariant() : QVariant(random.bounded(5) * 0.5);
                    sets[s].append({testId, value});
                    SqlRows::exec("INSERT INTO Result (ResultSetId,TestId,Status,Result) VALUES (?,?,1,?)",
                                  {stored[s], testId, value});
                }
            }
            const ComparisonAlert before(sets[0], sets[1]);
            const ComparisonAlert after(stored[0], stored[1]);
            QCOMPARE(before.testIds, after.testIds);
            QCOMPARE(before.status, after.status);
            alerts += after.status == 5;
        }
        // Both kinds of round were drawn.
        QVERIFY(alerts > 30 && alerts < 270);
    }

    void searchComparesConsecutivePassSets()
    {
        setThresholds({0.2});
        const QDateTime t(QDate(2026, 1, 1), QTime(8, 0));
        // Inserted out of date order: Ids do not follow the dates.
        const int third = makeSet(m_asset, t.addDays(20), 1, {{17, 0.3, 1}});
        const int first = makeSet(m_asset, t, 1, {{17, 0.1, 1}});
        const int failed = makeSet(m_asset, t.addDays(5), 2, {{17, 5.0, 2}});
        const int second = makeSet(m_asset, t.addDays(10), 1, {{17, 0.2, 1}});
        const int fourth = makeSet(m_asset, t.addDays(30), 1, {{17, 0.3, 1}});
        const int other = m_db->insertAsset("Lamp", "", "", "L", 1, 1, 12);
        const int lone = makeSet(other, t, 1, {{17, 9.0, 1}});
        makeSet(other, t.addDays(1), 1, {{48, 1.0, 1}});

        QList<ComparisonAlert*> alerts;
        ComparisonAlert::findAllAlerts(&alerts);
        QList<int> pairs;
        for (const ComparisonAlert* alert : alerts)
            pairs << alert->previousResultSetId << alert->newResultSetId;
        // Both drifts are marked; the list names the asset once, by its first.
        QCOMPARE(pairs, QList<int>({first, second}));
        qDeleteAll(alerts);
        QCOMPARE(column("SELECT Id FROM ResultSet WHERE OverallResult=5 ORDER BY Id"), QList<int>({third, second}));
        QCOMPARE(column(QString("SELECT OverallResult FROM ResultSet WHERE Id IN (%1,%2,%3,%4)")
                            .arg(first).arg(failed).arg(fourth).arg(lone)),
                 QList<int>({1, 2, 1, 1}));

        // Reset and search again find the same alerts.
        ComparisonAlert::removeAllAlerts();
        alerts.clear();
        ComparisonAlert::findAllAlerts(&alerts);
        qDeleteAll(alerts);
        QCOMPARE(column("SELECT Id FROM ResultSet WHERE OverallResult=5 ORDER BY Id"), QList<int>({third, second}));
    }

private:
    static int addPump(Database* db)
    {
        const int site = db->findOrInsertSite(db->findOrInsertClient("C"), "S");
        const int location = db->findOrInsertLocation(site, "L");
        return db->insertAsset("Pump", "", "", "SN", location, db->findOrInsertEquipment("M", "M", "E", 1), 12);
    }

    int makeSet(int assetId, const QDateTime& date, int overall, const QList<Value>& values)
    {
        const int id = m_db->insertResultSet(QVariant(), assetId, date, 2, 2, overall, "tech", QString());
        for (const Value& v : values)
            SqlRows::exec("INSERT INTO Result (ResultSetId,TestId,Status,Result) VALUES (?,?,?,?)",
                          {id, v.testId, v.status, v.result});
        return id;
    }

    SqliteDatabase* m_db = nullptr;
    int m_asset = 0;
};

PELVANE_TEST_MAIN(TestComparisonAlert)
#include "TestComparisonAlert.moc"
