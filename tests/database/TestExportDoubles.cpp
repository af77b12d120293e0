#include "database/Database.h"
#include "database/DoubleText.h"
#include "database/ExportDatabase.h"
#include "database/ExportDatabaseThread.h"
#include "database/MySqlDatabase.h"
#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "support/DialogAnswerer.h"
#include "support/MariaDbServer.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QtTest>

#include <cmath>
#include <random>
#include <cstring>
#include <limits>

namespace {

// Values whose text is easy to get wrong: the shortest form of a number that
// is not exact in binary, the extremes, a subnormal, a negative zero and ones
// that need all 17 digits.
QList<double> awkwardDoubles()
{
    return {0.124,
            0.1,
            1e-300,
            1.7976931348623157e308,
            -1.7976931348623157e308,
            std::numeric_limits<double>::denorm_min(),
            std::numeric_limits<double>::min(),
            -0.0,
            0.0,
            0.1 + 0.2,
            1.0 / 3.0,
            0.12345678901234568,
            -2.5e-7,
            123456.789012345,
            9007199254740993.0,
            1e22,
            5.0,
            -1e15};
}

quint64 bitsOf(double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

int resultSet(Database* db)
{
    const int client = db->findOrInsertClient("Client");
    const int location = db->findOrInsertLocation(db->findOrInsertSite(client, "Site"), "Room");
    const int equipment = db->findOrInsertEquipment("Make", "Model", "EQ-1", 1);
    const int asset = db->insertAsset("Pump", "", "SC-1", "", location, equipment, 12);
    return db->insertResultSet(QVariant(), asset, QDateTime(QDate(2026, 3, 10), QTime(9, 30)), -1, 0, 2, "tech", "");
}

// One result per value, with the value's negation as its limit.
void insertResults(Database* db, const QList<double>& values)
{
    const int set = resultSet(db);
    SqlQuery result(db->connection());
    result.prepareInsert("Result", {"ResultSetId", "TestId", "Status", "ResultLimit", "Result"}, db->type());
    for (int i = 0; i < values.size(); ++i) {
        result.bindValue(":ResultSetId", set);
        result.bindValue(":TestId", i + 1);
        result.bindValue(":Status", 1);
        result.bindValue(":ResultLimit", -values.at(i));
        result.bindValue(":Result", values.at(i));
        result.exec();
    }
}

// The doubles of the Result table in the order of the tests, as binary.
QList<double> storedDoubles(QSqlDatabase db)
{
    QList<double> values;
    QSqlQuery q(db);
    q.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    if (!q.exec("SELECT Result, ResultLimit FROM Result ORDER BY TestId"))
        return values;
    while (q.next()) {
        values << q.value(0).toDouble();
        values << q.value(1).toDouble();
    }
    return values;
}

QString exportTo(const QString& name)
{
    const QString path = TestEnvironment::instance()->newFolder() + "/" + name;
    DialogAnswerer answerer;
    if (!ExportDatabaseThread::exportCurrentDatabase(path, nullptr) || answerer.count() != 0)
        return QString();
    return path;
}

QString readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// The source must hold what was inserted (a back-end may turn -0 into 0,
// which compares equal) and the copy exactly the source's bits.
void compareBits(const QList<double>& inserted, const QList<double>& source, const QList<double>& copy)
{
    QCOMPARE(source.size(), 2 * inserted.size());
    QCOMPARE(copy.size(), source.size());
    for (int i = 0; i < source.size(); ++i) {
        const double expected = i % 2 == 0 ? inserted.at(i / 2) : -inserted.at(i / 2);
        const QString what = QString::number(expected, 'g', 17);
        QVERIFY2(source.at(i) == expected, qPrintable(what + " stored as " + QString::number(source.at(i), 'g', 17)));
        QVERIFY2(bitsOf(copy.at(i)) == bitsOf(source.at(i)),
                 qPrintable(what + " read back as " + QString::number(copy.at(i), 'g', 17)));
    }
}

} // namespace

class TestExportDoubles : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Database::setInstance(nullptr); }
    void shortestTextThatReadsBack();
    void shortestTextIsLaidOutAsQtLaysItOut();
    void serverTextIsRewrittenInTheSameForm();
    void sqliteDoublesReadBackBitIdentical();
    void mariaDbDoublesReadBackBitIdentical();
};

void TestExportDoubles::shortestTextThatReadsBack()
{
    QSqlDatabase c = QSqlDatabase::addDatabase("QSQLITE", "doubles-literals");
    const QSqlDriver* driver = c.driver();
    auto text = [&](double v, int type) {
        QSqlField f("x", QMetaType(QMetaType::Double));
        f.setValue(v);
        return ExportDatabase::formatValue(f, type, driver);
    };
    for (int type : {int(DatabaseSqlite), int(DatabaseMySql), int(DatabaseMsSql)}) {
        QCOMPARE(text(0.124, type), QString("0.124"));
        QCOMPARE(text(0.1 + 0.2, type), QString("0.30000000000000004"));
        QCOMPARE(text(1.7976931348623157e308, type), QString("1.7976931348623157e+308"));
        QCOMPARE(text(5.0, type), QString("5"));
        for (double v : awkwardDoubles()) {
            const double back = text(v, type).toDouble();
            // Neither back-end keeps the sign of a zero (the round trips below hold it).
            QVERIFY2(v == 0 ? back == 0 : bitsOf(back) == bitsOf(v), qPrintable(text(v, type)));
        }
    }
    // Only SQLite holds infinities; its literal for them is a number too large to read.
    QCOMPARE(text(std::numeric_limits<double>::infinity(), DatabaseSqlite), QString("1e999"));
    QCOMPARE(text(-std::numeric_limits<double>::infinity(), DatabaseSqlite), QString("-1e999"));
    c = QSqlDatabase();
    QSqlDatabase::removeDatabase("doubles-literals");
}

// The export's own writer must give the very text Qt gives, or an export
// would differ from the ones before it: every magnitude, every digit count,
// both signs, the extremes and a million random bit patterns.
void TestExportDoubles::shortestTextIsLaidOutAsQtLaysItOut()
{
    QList<double> values = awkwardDoubles();
    for (int exponent = -325; exponent <= 308; ++exponent)
        for (const char* digits : {"1", "12", "123456", "1234567", "12345678901234567", "9", "99999", "5"})
            values << QByteArray(digits).append('e').append(QByteArray::number(exponent)).toDouble();
    for (double v = 1; v < 1e22; v *= 10)
        values << v << v + 1 << v - 1;
    std::mt19937_64 random(20261209);
    while (values.size() < 1000000) {
        const quint64 bits = random();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v))
            values << v;
    }
    int wrong = 0;
    for (double v : std::as_const(values)) {
        for (double signed_ : {v, -v}) {
            QString ours;
            DoubleText::append(ours, signed_);
            const QString qts = QString::number(signed_, 'g', QLocale::FloatingPointShortest);
            if (ours != qts && ++wrong <= 5)
                qWarning() << qts << "written as" << ours;
        }
    }
    QCOMPARE(wrong, 0);
}

// What a MariaDB server writes for a double, in its own notation, becomes
// the export's text of the same double; anything else is refused.
void TestExportDoubles::serverTextIsRewrittenInTheSameForm()
{
    const std::pair<const char*, double> served[] = {
        {"0.1", 0.1},
        {"0.00001", 1e-5},
        {"1.2345678901234568e16", 1.2345678901234568e16},
        {"-2.2250738585072014e-308", -2.2250738585072014e-308},
        {"5e-324", std::numeric_limits<double>::denorm_min()},
        {"1.7976931348623157e308", 1.7976931348623157e308},
        {"100", 100.0},
        {"-0", -0.0},
        {"0", 0.0},
    };
    for (const auto& [text, value] : served) {
        QString out = QStringLiteral("x");
        QVERIFY(DoubleText::appendFromText(out, QLatin1StringView(text)));
        QCOMPARE(out, QStringLiteral("x") + QString::number(value, 'g', QLocale::FloatingPointShortest));
    }
    for (const char* text : {"", "abc", "1.5x", "inf", "nan", "1e999", " 1", "0x10"}) {
        QString out;
        QVERIFY2(!DoubleText::appendFromText(out, QLatin1StringView(text)), text);
        QVERIFY(out.isEmpty());
    }
}

void TestExportDoubles::sqliteDoublesReadBackBitIdentical()
{
    SqliteDatabase* db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/doubles.db");
    QVERIFY(db);
    QList<double> values = awkwardDoubles();
    values << std::numeric_limits<double>::infinity();
    insertResults(db, values);
    const QString path = exportTo("doubles.sql");
    QVERIFY(!path.isEmpty());
    QVERIFY(readAll(path).contains(",-0.124,0.124"));

    SqliteDatabase copy;
    QCOMPARE(copy.open(TestEnvironment::instance()->newFolder() + "/copy.db", true), 0);
    DialogAnswerer answerer;
    QVERIFY(SeededDatabase::runScript(&copy.connection(), path));
    QCOMPARE(answerer.count(), 0);
    compareBits(values, storedDoubles(db->connection()), storedDoubles(copy.connection()));
}

void TestExportDoubles::mariaDbDoublesReadBackBitIdentical()
{
    PELVANE_REQUIRE_MARIADB();
    MariaDbServer::ScopedDatabase sourceDatabase("doubles source");
    const QString& source = sourceDatabase.name();
    MariaDbServer::ScopedDatabase targetDatabase("doubles target");
    const QString& target = targetDatabase.name();
    {
        DialogAnswerer answerer;
        answerer.pressNext("Yes");
        auto* db = new MySqlDatabase;
        QCOMPARE(db->open(MariaDbServer::settings(source)), 0);
        Database::setInstance(db);
    }
    const QList<double> values = awkwardDoubles();
    insertResults(Database::instance(), values);
    const QString path = exportTo("doubles-mariadb.sql");
    QVERIFY(!path.isEmpty());
    const QString script = readAll(path);
    // Written as numbers in their shortest form, not as long decimal text.
    QVERIFY(script.contains(",-0.124,0.124"));
    QVERIFY(script.contains(",-0.30000000000000004,0.30000000000000004"));

    QVERIFY(MariaDbServer::exec(QStringLiteral("CREATE DATABASE %1").arg(MySqlDatabase::quoteIdentifier(target))));
    {
        QSqlDatabase copy = QSqlDatabase::addDatabase("QMYSQL", "doubles-copy");
        const ConnectionSettings s = MariaDbServer::settings(target);
        copy.setHostName(s.host);
        copy.setUserName(s.userName);
        copy.setPassword(s.password);
        copy.setDatabaseName(target);
        QVERIFY2(copy.open(), qPrintable(copy.lastError().text()));
        DialogAnswerer answerer;
        QVERIFY(SeededDatabase::runScript(&copy, path));
        QCOMPARE(answerer.count(), 0);
        compareBits(values, storedDoubles(Database::instance()->connection()), storedDoubles(copy));
        copy.close();
    }
    QSqlDatabase::removeDatabase("doubles-copy");
}

PELVANE_TEST_MAIN(TestExportDoubles)
#include "TestExportDoubles.moc"
