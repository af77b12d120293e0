#include "results/ResultFormat.h"

#include <QLocale>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <limits>

// The rows are built by SELECT on an in-memory database, so each case states
// exactly the columns (and NULLs) that a stored Result row would carry.
class TestResultFormat : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "format");
        db.setDatabaseName(":memory:");
        QVERIFY(db.open());
    }

    void cleanup() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }
    void init() { cleanup(); }

    void decimalsShrinkAsValuesGrow_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("decimals");
        QTest::newRow("0.5") << 0.5f << 4;
        QTest::newRow("zero") << 0.0f << 4;
        QTest::newRow("-12.5") << -12.5f << 4;
        QTest::newRow("just below 1") << 0.9999f << 4;
        QTest::newRow("1") << 1.0f << 3;
        QTest::newRow("9.99") << 9.99f << 3;
        QTest::newRow("10") << 10.0f << 2;
        QTest::newRow("99.5") << 99.5f << 2;
        QTest::newRow("100") << 100.0f << 1;
        QTest::newRow("999.9") << 999.9f << 1;
        QTest::newRow("1000") << 1000.0f << 0;
        QTest::newRow("nan") << std::numeric_limits<float>::quiet_NaN() << 0;
        QTest::newRow("infinity") << std::numeric_limits<float>::infinity() << 0;
    }

    void decimalsShrinkAsValuesGrow()
    {
        QFETCH(float, value);
        QFETCH(int, decimals);
        QCOMPARE(decimalsForValue(value), decimals);
    }

    void resultTextCarriesSignAndDecimals_data()
    {
        QTest::addColumn<QString>("columns");
        QTest::addColumn<QString>("text");
        QTest::newRow("greater than") << "1.5 AS Result, 1 AS ResultGreaterThan" << ">1.500";
        QTest::newRow("greater than, three decimals") << "1.234 AS Result, 1 AS ResultGreaterThan" << ">1.234";
        QTest::newRow("less than") << "0.05 AS Result, 0 AS ResultGreaterThan" << "<0.0500";
        QTest::newRow("no comparison") << "1.5 AS Result, NULL AS ResultGreaterThan" << "1.500";
        QTest::newRow("no comparison column") << "1.5 AS Result" << "1.500";
        QTest::newRow("negative") << "-12.5 AS Result, NULL AS ResultGreaterThan" << "-12.5000";
        QTest::newRow("two decimals") << "99.5 AS Result, NULL AS ResultGreaterThan" << "99.50";
        QTest::newRow("one decimal") << "999.94 AS Result, NULL AS ResultGreaterThan" << "999.9";
        // Grouped as the locale groups digits.
        QTest::newRow("thousands") << "1500 AS Result, 0 AS ResultGreaterThan" << "<1,500";
        // Printed from the double even though it was classified as a float.
        QTest::newRow("rounded from the double") << "0.12345 AS Result, NULL AS ResultGreaterThan" << "0.1235";
        QTest::newRow("NULL value") << "NULL AS Result, NULL AS ResultGreaterThan" << "0.0000";
        QTest::newRow("column names in any case") << "2.25 AS result, 1 AS resultgreaterthan" << ">2.250";
        QTest::newRow("infinite") << "9e999 AS Result, 1 AS ResultGreaterThan" << "";
        QTest::newRow("minus infinite") << "-9e999 AS Result, NULL AS ResultGreaterThan" << "";
    }

    void resultTextCarriesSignAndDecimals()
    {
        QFETCH(QString, columns);
        QFETCH(QString, text);
        QSqlQuery query = row(columns);
        QCOMPARE(formatResult(query), text);
    }

    void limitTextHasFourDecimals_data()
    {
        QTest::addColumn<QString>("columns");
        QTest::addColumn<QString>("text");
        QTest::newRow("0.5") << "0.5 AS ResultLimit" << "0.5000";
        QTest::newRow("large") << "2000 AS ResultLimit, 1 AS ResultGreaterThan" << "2,000.0000";
        QTest::newRow("NULL") << "NULL AS ResultLimit" << "0.0000";
        QTest::newRow("any case") << "10 AS resultlimit" << "10.0000";
        QTest::newRow("infinite") << "9e999 AS ResultLimit" << "";
    }

    void limitTextHasFourDecimals()
    {
        QFETCH(QString, columns);
        QFETCH(QString, text);
        QSqlQuery query = row(columns);
        QCOMPARE(formatLimit(query), text);
    }

    void commaLocaleWritesItsOwnSeparators()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QSqlQuery plain = row("2.25 AS Result, NULL AS ResultGreaterThan, 0.5 AS ResultLimit");
        QCOMPARE(formatResult(plain), QString("2,250"));
        QCOMPARE(formatLimit(plain), QString("0,5000"));
        QSqlQuery large = row("1500 AS Result, 1 AS ResultGreaterThan");
        QCOMPARE(formatResult(large), QString(">1.500"));
    }

private:
    QSqlQuery row(const QString& columns)
    {
        QSqlQuery query(QSqlDatabase::database("format"));
        if (!query.exec("SELECT " + columns) || !query.next())
            qFatal("cannot build the row: %s", qPrintable(columns));
        return query;
    }
};

QTEST_GUILESS_MAIN(TestResultFormat)
#include "TestResultFormat.moc"
