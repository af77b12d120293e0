#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "results/AlertThresholds.h"
#include "results/ComparisonAlert.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QtTest>
#include <limits>

namespace {

struct Value
{
    int testId;
    double result;
    int status;
};

QVariant scalar(const QString& statement)
{
    SqlQuery q;
    q.exec(statement);
    return q.next() ? q.value(0) : QVariant();
}

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
    return scalar(QString("SELECT OverallResult FROM ResultSet WHERE Id=%1").arg(set)).toInt();
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
    void initTestCase();
    void cleanupTestCase();
    void init();
    void exceeds_data();
    void exceeds();
    void thresholdsBlob();
    void categoryChoosesThresholds();
    void failureIsNeverMarked();
    void pairsAreFormedPerTestId();
    void searchComparesConsecutivePassSets();
    void resetTurnsAlertsBackToPass();

private:
    int makeSet(int assetId, const QDateTime& date, int overall, const QList<Value>& values);
    SqliteDatabase* m_db = nullptr;
    int m_asset = 0;
};

void TestComparisonAlert::initTestCase()
{
    m_db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/alerts.db");
    QVERIFY(m_db);
    const int location = m_db->findOrInsertLocation(m_db->findOrInsertSite(m_db->findOrInsertClient("C"), "S"), "L");
    m_asset = m_db->insertAsset("Pump", "", "", "SN", location, m_db->findOrInsertEquipment("M", "M", "E", 1), 12);
}

void TestComparisonAlert::init()
{
    // One database for the whole run; each test starts without result sets.
    SqlQuery clear;
    clear.exec("DELETE FROM Result");
    clear.exec("DELETE FROM ResultSet");
    clear.exec("DELETE FROM Asset WHERE Name<>'Pump'");
    setThresholds({});
}

void TestComparisonAlert::cleanupTestCase()
{
    setThresholds({});
    Database::setInstance(nullptr);
    m_db = nullptr;
}

int TestComparisonAlert::makeSet(int assetId, const QDateTime& date, int overall, const QList<Value>& values)
{
    const int id = m_db->insertResultSet(QVariant(), assetId, date, 2, 2, overall, "tech", QString());
    SqlQuery insert;
    insert.prepare("INSERT INTO Result (ResultSetId,TestId,Status,Result) VALUES (:Set,:TestId,:Status,:Result)");
    for (const Value& v : values) {
        insert.bindValue(":Set", id);
        insert.bindValue(":TestId", v.testId);
        insert.bindValue(":Status", v.status);
        insert.bindValue(":Result", v.result);
        insert.exec();
    }
    return id;
}

void TestComparisonAlert::exceeds_data()
{
    QTest::addColumn<double>("previous");
    QTest::addColumn<double>("current");
    QTest::addColumn<double>("relative");
    QTest::addColumn<double>("absolute");
    QTest::addColumn<bool>("expected");
    QTest::newRow("relative bound counts") << 100.0 << 110.0 << 0.10 << 0.0 << true;
    QTest::newRow("just under relative") << 100.0 << 109.9 << 0.10 << 0.0 << false;
    QTest::newRow("under relative, absolute met") << 100.0 << 109.9 << 0.10 << 9.9 << true;
    QTest::newRow("drop counts as rise") << 100.0 << 90.0 << 0.10 << 0.0 << true;
    QTest::newRow("absolute bound counts") << 10.0 << 9.0 << 0.0 << 1.0 << true;
    QTest::newRow("under absolute") << 10.0 << 9.5 << 0.0 << 1.0 << false;
    QTest::newRow("both off") << 1.0 << 1000.0 << 0.0 << 0.0 << false;
    QTest::newRow("negative is off") << 1.0 << 1000.0 << -0.5 << -1.0 << false;
    QTest::newRow("previous 0, infinite ratio") << 0.0 << 0.5 << 0.01 << 0.0 << true;
    QTest::newRow("0 against 0") << 0.0 << 0.0 << 0.01 << 0.0 << false;
    QTest::newRow("0 against 0, absolute") << 0.0 << 0.0 << 0.0 << 0.001 << false;
    QTest::newRow("negative previous never relative") << -10.0 << 10.0 << 0.1 << 0.0 << false;
    QTest::newRow("negative previous, absolute") << -10.0 << 10.0 << 0.1 << 20.0 << true;
}

void TestComparisonAlert::exceeds()
{
    QFETCH(double, previous);
    QFETCH(double, current);
    QFETCH(double, relative);
    QFETCH(double, absolute);
    QFETCH(bool, expected);
    QCOMPARE(ComparisonAlert::exceeds(previous, current, relative, absolute), expected);
}

void TestComparisonAlert::thresholdsBlob()
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

    // Short: two values and part of a third; long: the extra bytes are ignored.
    ComparisonAlert::loadThresholds(all.left(20));
    for (int i = 0; i < AlertThresholds::Count; ++i)
        QCOMPARE(AlertThresholds::values[i], i < 2 ? double(i + 1) : 0.0);
    ComparisonAlert::loadThresholds(all + QByteArray(8, '\x7f'));
    QCOMPARE(AlertThresholds::values[5], 6.0);
    ComparisonAlert::loadThresholds(QByteArray());
    QCOMPARE(AlertThresholds::values[0], 0.0);
}

void TestComparisonAlert::categoryChoosesThresholds()
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
        QCOMPARE(column(QString("SELECT TestId FROM Result WHERE ResultSetId=%1 AND Status=5 ORDER BY TestId").arg(b)),
                 c.expected);
        QCOMPARE(overall(b), c.expected.isEmpty() ? 1 : 5);
    }
    // The earlier set is never touched.
    QCOMPARE(statuses(a), QList<int>({1, 1, 1, 1, 1}));
}

void TestComparisonAlert::failureIsNeverMarked()
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

    // Clearing alerts afterwards cannot make the failed set or test pass.
    ComparisonAlert::removeAllAlerts();
    QCOMPARE(statuses(b), QList<int>({1, 2}));
    QCOMPARE(overall(b), 2);
}

void TestComparisonAlert::pairsAreFormedPerTestId()
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

    // Same values twice in the new set fold into one row, and a real drift marks every row of its TestId.
    const int c = makeSet(m_asset, t.addDays(2), 1, {{17, 3.0, 1}, {17, 3.0, 1}, {18, 0.1, 1}});
    ComparisonAlert second(b, c);
    QCOMPARE(second.testIds, QList<int>({17}));
    QCOMPARE(statuses(c), QList<int>({5, 5, 1}));
}

void TestComparisonAlert::searchComparesConsecutivePassSets()
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
    QCOMPARE(alerts.size(), 2);
    QCOMPARE(alerts.at(0)->previousResultSetId, first);
    QCOMPARE(alerts.at(0)->newResultSetId, second);
    QCOMPARE(alerts.at(1)->previousResultSetId, second);
    QCOMPARE(alerts.at(1)->newResultSetId, third);
    qDeleteAll(alerts);
    QCOMPARE(column("SELECT Id FROM ResultSet WHERE OverallResult=5 ORDER BY Id"), QList<int>({third, second}));
    QCOMPARE(column(QString("SELECT OverallResult FROM ResultSet WHERE Id IN (%1,%2,%3,%4)")
                        .arg(first).arg(failed).arg(fourth).arg(lone)),
             QList<int>({1, 2, 1, 1}));

    // Reset and search again find the same alerts.
    ComparisonAlert::removeAllAlerts();
    alerts.clear();
    ComparisonAlert::findAllAlerts(&alerts);
    QCOMPARE(alerts.size(), 2);
    qDeleteAll(alerts);
    QCOMPARE(column("SELECT Id FROM ResultSet WHERE OverallResult=5 ORDER BY Id"), QList<int>({third, second}));
}

void TestComparisonAlert::resetTurnsAlertsBackToPass()
{
    const QDateTime t(QDate(2026, 1, 1), QTime(8, 0));
    const int a = makeSet(m_asset, t, 5, {{17, 0.1, 5}, {48, 1.0, 2}, {1, 0.0, 4}});
    const int b = makeSet(m_asset, t.addDays(1), 2, {{17, 0.1, 5}});
    ComparisonAlert::removeAllAlerts();
    QCOMPARE(statuses(a), QList<int>({4, 1, 2}));
    QCOMPARE(column(QString("SELECT OverallResult FROM ResultSet WHERE Id IN (%1,%2) ORDER BY Id").arg(a).arg(b)),
             QList<int>({1, 2}));
    QCOMPARE(scalar("SELECT COUNT(*) FROM Result WHERE Status=5").toInt(), 0);
}

PELVANE_TEST_MAIN(TestComparisonAlert)
#include "TestComparisonAlert.moc"
