#include "AssetFixture.h"
#include "assets/ApConnection.h"
#include "assets/AppliedPartTable.h"
#include "assets/AppliedPartsTab.h"
#include "support/DialogAnswerer.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {
enum { MonitorA = 3, DeskLamp = 5 };
}

class TestAppliedPartsTab : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void assetWithResultsIsLocked();
    void boxesTakeThePartColoursInOrder();

private:
    QPushButton* button(const char* name) const { return m_tab->findChild<QPushButton*>(name); }
    void fill(const QStringList& counts);

    SqliteDatabase* m_db = nullptr;
    std::unique_ptr<AppliedPartsTab> m_tab;
};

void TestAppliedPartsTab::init()
{
    m_db = newSeededDatabase();
    QVERIFY(m_db);
    m_tab = std::make_unique<AppliedPartsTab>();
}

void TestAppliedPartsTab::cleanup()
{
    m_tab.reset();
    Database::setInstance(nullptr);
}

void TestAppliedPartsTab::fill(const QStringList& counts)
{
    AppliedPartTable* table = m_tab->table();
    for (int i = 0; i < counts.size(); ++i) {
        const int row = table->rowCount() - 1;
        table->setItem(row, 0, new QTableWidgetItem(QString("Part %1").arg(i + 1)));
        table->setItem(row, 1, new QTableWidgetItem("2"));
        table->setItem(row, 2, new QTableWidgetItem(counts.at(i)));
    }
}

void TestAppliedPartsTab::assetWithResultsIsLocked()
{
    m_tab->setAsset(MonitorA, true);
    QVERIFY(!m_tab->isEditable());
    QCOMPARE(m_tab->table()->rowCount(), 2);
    QVERIFY(!button("addRowBtn")->isEnabled());
    m_tab->table()->selectRow(1);
    QVERIFY(!button("removeRowBtn")->isEnabled());
    QVERIFY(!button("moveRowDownBtn")->isEnabled());

    m_tab->setAsset(DeskLamp, true);
    QVERIFY(m_tab->isEditable());
    QVERIFY(button("addRowBtn")->isEnabled());
    fill({"1"});
    m_tab->table()->selectRow(0);
    QVERIFY(button("removeRowBtn")->isEnabled());
    QVERIFY(button("moveRowDownBtn")->isEnabled());
}

void TestAppliedPartsTab::boxesTakeThePartColoursInOrder()
{
    m_tab->setAsset(DeskLamp, true);
    fill({"2", "0", "3"});
    for (int i : {0, 1})
        QCOMPARE(m_tab->connectionBox(i)->colour().hue(), 0);
    for (int i : {2, 3, 4})
        QCOMPARE(m_tab->connectionBox(i)->colour().hue(), 24);
    for (int i = 0; i < 10; ++i)
        QCOMPARE(m_tab->connectionBox(i)->isEnabled(), i < 5);

    // Connections beyond the tenth box are not drawn.
    m_tab->table()->item(2, 2)->setText("12");
    QCOMPARE(m_tab->connectionBox(9)->colour().hue(), 24);

    // The stored parts colour the boxes on load.
    m_tab->setAsset(MonitorA, true);
    QCOMPARE(m_tab->connectionBox(2)->colour().hue(), 0);
    QCOMPARE(m_tab->connectionBox(3)->colour().hue(), 24);
    QVERIFY(!m_tab->connectionBox(4)->isEnabled());
}

PELVANE_TEST_MAIN(TestAppliedPartsTab)
#include "TestAppliedPartsTab.moc"
