#include "AssetFixture.h"
#include "assets/AssetQueryModel.h"
#include "database/PagedQueryModel.h"
#include "assets/AssetSearch.h"
#include "assets/AssetTableView.h"
#include "database/MySqlDatabase.h"
#include "support/DialogAnswerer.h"
#include "support/MariaDbServer.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class TestAssetSearch : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void starsBecomePercentSigns();
    void searchByStatusAsksForAlerts();
    void formDrivesTheTable();
    void searchTextIsLiteralButForStars_data();
    void searchTextIsLiteralButForStars();

private:
    template <typename T>
    T* field(const QString& name) const
    {
        return m_search->findChild<T*>(name);
    }
    SearchFields lastRecord() const;

    std::unique_ptr<AssetSearch> m_search;
    std::unique_ptr<QSignalSpy> m_spy;
};

void TestAssetSearch::init()
{
    PagedQueryModel::listWaitMs = 10000; // the checks look at a list as soon as it is asked for
    m_search = std::make_unique<AssetSearch>();
    m_spy = std::make_unique<QSignalSpy>(m_search.get(), &AssetSearch::searchAssets);
}

void TestAssetSearch::cleanup()
{
    m_spy.reset();
    m_search.reset();
}

SearchFields TestAssetSearch::lastRecord() const
{
    return m_spy->isEmpty() ? SearchFields() : m_spy->last().first().value<SearchFields>();
}

void TestAssetSearch::starsBecomePercentSigns()
{
    field<QLineEdit>("assetName")->setText("*ab*");
    field<QLineEdit>("client")->setText(" a b");
    field<QLineEdit>("site")->setText("North");
    field<QComboBox>("overallStatus")->setCurrentIndex(3);
    QTest::mouseClick(field<QPushButton>("searchBtn"), Qt::LeftButton);
    QCOMPARE(m_spy->count(), 1);
    const SearchFields f = lastRecord();
    QCOMPARE(f.overallStatus, 2);
    QCOMPARE(f.assetName, QString("%ab%"));
    QCOMPARE(f.client, QString(" a b")); // blanks stay, nothing is added
    QCOMPARE(f.site, QString("North"));
}

void TestAssetSearch::searchByStatusAsksForAlerts()
{
    field<QLineEdit>("assetName")->setText("Pump");
    field<QComboBox>("retestDateFrom")->addItem("05/03/2026");
    m_search->searchByStatus();
    QCOMPARE(m_spy->count(), 1);
    const SearchFields f = lastRecord();
    QCOMPARE(f.overallStatus, 5);
    QVERIFY(f.assetName.isEmpty());
    QVERIFY(f.retestDateFrom.isNull());
    QCOMPARE(field<QComboBox>("overallStatus")->currentData().toInt(), 5);
}

void TestAssetSearch::formDrivesTheTable()
{
    SqliteDatabase* db = newSeededDatabase();
    QVERIFY(db);
    AssetQueryModel model;
    AssetTableView table;
    table.setup(&model);
    connect(m_search.get(), &AssetSearch::searchAssets, &table, &AssetTableView::showSearchResults);

    field<QLineEdit>("assetName")->setText("Pump");
    m_search->search();
    QCOMPARE(model.rowCount(), 0);
    field<QLineEdit>("assetName")->setText("Pump*");
    m_search->search();
    QCOMPARE(model.rowCount(), 2);
    field<QLineEdit>("assetName")->setText("*o*");
    field<QComboBox>("overallStatus")->setCurrentIndex(4); // Alert
    m_search->search();
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.index(0, 2).data().toString(), QString("Monitor A"));
    Database::setInstance(nullptr);
}

void TestAssetSearch::searchTextIsLiteralButForStars_data()
{
    QTest::addColumn<bool>("mariaDb");
    QTest::newRow("SQLite") << false;
    QTest::newRow("MariaDB") << true;
}

// Backslashes, percent signs and underscores are the user's text; only a
// star stands for anything.
void TestAssetSearch::searchTextIsLiteralButForStars()
{
    QFETCH(bool, mariaDb);
    QString serverDatabase;
    auto dropLater = qScopeGuard([&serverDatabase] {
        Database::setInstance(nullptr);
        if (!serverDatabase.isEmpty())
            MariaDbServer::dropDatabase(serverDatabase);
    });
    Database* db = nullptr;
    if (mariaDb) {
        PELVANE_REQUIRE_MARIADB();
        serverDatabase = MariaDbServer::uniqueName(QStringLiteral("search"));
        DialogAnswerer answerer;
        answerer.pressNext("Yes");
        auto* server = new MySqlDatabase;
        QCOMPARE(server->open(MariaDbServer::settings(serverDatabase)), 0);
        db = server;
    } else {
        db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + QStringLiteral("/search.db"));
    }
    QVERIFY(db);
    Database::setInstance(db);
    const int location = db->findOrInsertLocation(db->findOrInsertSite(db->findOrInsertClient("Clinic"), "North"), "Ward");
    const int equipment = db->findOrInsertEquipment("Make", "Model", "S-1", 1);
    for (const char* name : {"C:\\probe\\one", "C:probeone", "Probe 100%", "Probe 1000", "a_b", "axb"})
        QVERIFY(db->insertAsset(QString::fromLatin1(name), "", "", "S-1", location, equipment, 12) > 0);

    AssetQueryModel model;
    AssetTableView table;
    table.setup(&model);
    connect(m_search.get(), &AssetSearch::searchAssets, &table, &AssetTableView::showSearchResults);
    const auto found = [&](const QString& text) {
        field<QLineEdit>("assetName")->setText(text);
        m_search->search();
        (void)QTest::qWaitFor([&model] { return !model.isReading(); });
        QStringList names;
        for (int row = 0; row < model.rowCount(); ++row)
            names << model.index(row, AssetTableView::NameColumn).data().toString();
        names.sort();
        return names;
    };
    QCOMPARE(found("C:\\probe\\one"), QStringList({"C:\\probe\\one"}));
    QCOMPARE(found("C:\\*"), QStringList({"C:\\probe\\one"}));
    QCOMPARE(found("*100%"), QStringList({"Probe 100%"}));
    QCOMPARE(found("a_b"), QStringList({"a_b"}));
    QCOMPARE(found("*!*"), QStringList());
    QCOMPARE(found("Probe*"), QStringList({"Probe 100%", "Probe 1000"}));
}

PELVANE_TEST_MAIN(TestAssetSearch)
#include "TestAssetSearch.moc"
