#include "support/TestEnvironment.h"
#include "ux/TsqTestElementDetails.h"

#include <QtTest>

using namespace Ux;

class TestTsqTestElementDetails : public QObject
{
    Q_OBJECT
private slots:
    void rowsKeyedByTheirId();
    void namesExactlyAsListed();
    void unitsAndWidths();
    void resultOnlyRows();
};

void TestTsqTestElementDetails::rowsKeyedByTheirId()
{
    const auto& rows = TsqTestElementDetails::instance()->rows();
    QCOMPARE(rows.size(), 58);
    for (auto it = rows.cbegin(); it != rows.cend(); ++it)
        QCOMPARE(it.value()->id, it.key());
    for (int id : {0, 2, 16, 82, 182, 194, 254, 255})
        QVERIFY2(!TsqTestElementDetails::instance()->details(quint8(id)), qPrintable(QString::number(id)));
    QCOMPARE(TsqTestElementDetails::testName(182), QString());
}

void TestTsqTestElementDetails::namesExactlyAsListed()
{
    const QList<QPair<int, const char*>> names = {
        {85, "Patient Leakage (AS / NZS 3200)"},  {100, "Patient Leakage F Type (AS / NZS 3200)"},
        {98, "Patient Leakage F Type (NFPA 99)"}, {49, "Earth Leakage (NFPA99)"},
        {187, "SP02 Test Settings"},              {146, "Live Voltage"},
        {149, "Live Voltage"},                    {114, "Patient Auxiliary Applied Part to All Leakage"}};
    for (const auto& [id, name] : names)
        QCOMPARE(TsqTestElementDetails::testName(quint8(id)), QString::fromUtf8(name));
}

// The units carry non-ASCII signs that a wrong source encoding would mangle.
void TestTsqTestElementDetails::unitsAndWidths()
{
    const TsqTestElementDetails* catalogue = TsqTestElementDetails::instance();
    const TsqTestElementDetail* earthBond = catalogue->details(17);
    QVERIFY(earthBond);
    QCOMPARE(earthBond->units, QString(QChar(0x03A9)));
    QCOMPARE(earthBond->valueWidth, 4);
    QCOMPARE(earthBond->decimals, 3);
    QCOMPARE(catalogue->details(47)->units, QStringLiteral("M") + QChar(0x03A9));
    QCOMPARE(catalogue->details(64)->units, QString(QChar(0x00B5)) + QLatin1Char('A'));
    QVERIFY(catalogue->details(1)->units.isNull());
}

void TestTsqTestElementDetails::resultOnlyRows()
{
    const TsqTestElementDetails* catalogue = TsqTestElementDetails::instance();
    for (int id : {144, 146, 147, 148, 149}) {
        const TsqTestElementDetail* row = catalogue->details(quint8(id));
        QVERIFY(row);
        QCOMPARE(row->instrumentTypes, 0);
        QCOMPARE(int(row->selectable), 0);
    }
    QCOMPARE(catalogue->details(146)->decimals, 0);
    QCOMPARE(catalogue->details(149)->decimals, 2);
}

PELVANE_TEST_MAIN(TestTsqTestElementDetails)
#include "TestTsqTestElementDetails.moc"
