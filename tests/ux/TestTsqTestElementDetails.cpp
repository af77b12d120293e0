#include "support/TestEnvironment.h"
#include "ux/TsqTestElementDetails.h"

#include <QtTest>

using namespace Ux;

class TestTsqTestElementDetails : public QObject
{
    Q_OBJECT
private slots:
    void rowsInAscendingOrder();
    void namesExactlyAsListed();
    void representativeRows();
    void resultOnlyRows();
};

void TestTsqTestElementDetails::rowsInAscendingOrder()
{
    const auto& rows = TsqTestElementDetails::instance()->rows();
    QCOMPARE(rows.size(), 58);
    int previous = -1;
    for (auto it = rows.cbegin(); it != rows.cend(); ++it) {
        QVERIFY(int(it.key()) > previous);
        previous = it.key();
        QCOMPARE(it.value()->id, it.key());
        QVERIFY(!it.value()->name.isEmpty());
        QVERIFY(it.value()->category >= 0 && it.value()->category <= 3);
    }
    QCOMPARE(rows.firstKey(), quint8(1));
    QCOMPARE(rows.lastKey(), quint8(253));
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

void TestTsqTestElementDetails::representativeRows()
{
    const TsqTestElementDetails* catalogue = TsqTestElementDetails::instance();

    const TsqTestElementDetail* earthBond = catalogue->details(17);
    QVERIFY(earthBond);
    QCOMPARE(earthBond->name, QStringLiteral("Earth Bond"));
    QCOMPARE(earthBond->units, QString(QChar(0x03A9)));
    QCOMPARE(earthBond->instrumentTypes, 1);
    QCOMPARE(earthBond->category, 1);
    QCOMPARE(int(earthBond->selectable), 1);
    QCOMPARE(quint8(earthBond->equipmentClasses), quint8(2));
    QCOMPARE(earthBond->valueWidth, 4);
    QCOMPARE(earthBond->decimals, 3);

    const TsqTestElementDetail* insulation = catalogue->details(47);
    QCOMPARE(insulation->units, QStringLiteral("M") + QChar(0x03A9));
    QCOMPARE(insulation->category, 2);
    QCOMPARE(quint8(insulation->equipmentClasses), quint8(6));
    QCOMPARE(insulation->decimals, 2);

    const TsqTestElementDetail* leakage = catalogue->details(64);
    QCOMPARE(leakage->units, QString(QChar(0x00B5)) + QLatin1Char('A'));
    QCOMPARE(leakage->category, 3);
    QCOMPARE(leakage->decimals, 0);

    const TsqTestElementDetail* visual = catalogue->details(1);
    QVERIFY(visual->units.isNull());
    QCOMPARE(quint8(visual->equipmentClasses), quint8(7));
    QCOMPARE(visual->valueWidth, 0);

    const TsqTestElementDetail* user = catalogue->details(253);
    QCOMPARE(user->instrumentTypes, 29);
    QCOMPARE(user->valueWidth, 4);
    QCOMPARE(user->decimals, 4);

    QCOMPARE(catalogue->details(176)->instrumentTypes, 20);
    QCOMPARE(catalogue->details(186)->instrumentTypes, 16);
    QCOMPARE(catalogue->details(180)->instrumentTypes, 8);
    QCOMPARE(catalogue->details(49)->instrumentTypes, 0);
    QCOMPARE(int(catalogue->details(49)->selectable), 0);
    QCOMPARE(catalogue->details(144)->units, QStringLiteral("kVA"));
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
