#include "assets/ClientComboBox.h"
#include "assets/LocationComboBox.h"
#include "assets/ManufacturerComboBox.h"
#include "assets/ModelComboBox.h"
#include "assets/SiteComboBox.h"
#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

// Ids of the seeded register, in insertion order.
enum { Acme = 1, Borough = 2 };
enum { North = 1, South = 2, Main = 3 };
enum { Ward1 = 1, Ward2 = 2, Theatre = 3, Reception = 4 };

QStringList texts(const QComboBox& combo)
{
    QStringList list;
    for (int i = 0; i < combo.count(); ++i)
        list << combo.itemText(i);
    return list;
}

void run(const QString& statement)
{
    SqlQuery query;
    query.exec(statement);
}

// The address of an asset, wired the way the asset details form wires it.
struct AddressChain
{
    QWidget form;
    ClientComboBox client{&form};
    SiteComboBox site{&form};
    LocationComboBox location{&form};

    AddressChain()
    {
        QObject::connect(&client, &ClientComboBox::clientChanged, &site, &SiteComboBox::clientChanged);
        QObject::connect(&site, &SiteComboBox::siteChanged, &location, &LocationComboBox::siteChanged);
    }

    void show(int clientId, int siteId, int locationId)
    {
        client.load(clientId);
        site.setSite(siteId, clientId);
        location.setLocation(locationId, siteId);
    }
};

} // namespace

class TestDatabaseComboBoxes : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void clientListHasABlankItemAndSortedNames();
    void addressOfAnAssetIsShown();
    void anotherClientEmptiesTheLocations();
    void modelFollowsTheManufacturer();

private:
    SqliteDatabase* m_db = nullptr;
};

void TestDatabaseComboBoxes::init()
{
    m_db = SeededDatabase::createSeeded(TestEnvironment::instance()->newFolder() + "/combo.db");
    QVERIFY(m_db);
}

void TestDatabaseComboBoxes::cleanup()
{
    Database::setInstance(nullptr);
    m_db = nullptr;
}

void TestDatabaseComboBoxes::clientListHasABlankItemAndSortedNames()
{
    m_db->findOrInsertClient("Aardvark Care");
    ClientComboBox client(nullptr);
    QSignalSpy changed(&client, &ClientComboBox::clientChanged);
    client.load(0);
    QCOMPARE(texts(client), (QStringList{"", "Aardvark Care", "Acme Health", "Borough Clinic"}));
    QCOMPARE(client.itemData(2).toInt(), int(Acme));
    // The blank item is no match on a fresh load: nothing is current.
    QCOMPARE(client.currentIndex(), -1);
    QVERIFY(!changed.isEmpty());
    QCOMPARE(changed.last().at(0).toInt(), 0);
    client.load(0);
    QCOMPARE(client.currentIndex(), 0);
}

void TestDatabaseComboBoxes::addressOfAnAssetIsShown()
{
    AddressChain chain;
    chain.show(Acme, South, Theatre);
    QCOMPARE(texts(chain.site), (QStringList{"", "North", "South"}));
    QCOMPARE(chain.site.currentText(), QString("South"));
    QCOMPARE(texts(chain.location), (QStringList{"", "Theatre"}));
    QCOMPARE(chain.location.currentData().toInt(), int(Theatre));

    // The next asset of the same client and site needs no reload.
    run("UPDATE Site SET Name='Southern' WHERE Id=2");
    chain.show(Acme, North, Ward2);
    QCOMPARE(texts(chain.site), (QStringList{"", "North", "South"}));
    QCOMPARE(chain.site.currentText(), QString("North"));
    QCOMPARE(texts(chain.location), (QStringList{"", "Ward 1", "Ward 2"}));
}

void TestDatabaseComboBoxes::anotherClientEmptiesTheLocations()
{
    AddressChain chain;
    chain.show(Acme, North, Ward1);
    QSignalSpy siteChanged(&chain.site, &SiteComboBox::siteChanged);
    chain.client.setCurrentIndex(chain.client.findData(int(Borough)));
    QCOMPARE(texts(chain.site), (QStringList{"", "Main"}));
    QCOMPARE(chain.site.currentIndex(), 0);
    QVERIFY(!siteChanged.isEmpty());
    QCOMPARE(siteChanged.last().at(0).toInt(), 0);
    QCOMPARE(chain.location.count(), 0);
}

void TestDatabaseComboBoxes::modelFollowsTheManufacturer()
{
    m_db->findOrInsertEquipment("Infusa", "P200", "EQ-3", 1);
    QWidget form;
    ManufacturerComboBox manufacturer(&form);
    ModelComboBox model(&form);
    QObject::connect(&manufacturer, &ManufacturerComboBox::manufacturerChanged, &model,
                     &ModelComboBox::manufacturerChanged);
    manufacturer.load("Infusa");
    model.load("Infusa", "P200");
    QCOMPARE(texts(model), (QStringList{"P100", "P200"}));
    QCOMPARE(model.currentText(), QString("P200"));

    QSignalSpy modelChanged(&model, &ModelComboBox::modelChanged);
    manufacturer.setCurrentIndex(manufacturer.findText("Cardia"));
    QCOMPARE(texts(model), QStringList{"M5"});
    QVERIFY(!modelChanged.isEmpty());
    QCOMPARE(modelChanged.last().at(0).toString(), QString("M5"));

    // An unknown model of a known manufacturer falls back to its first model.
    model.load("Infusa", "P999");
    QCOMPARE(model.currentText(), QString("P100"));
    model.load("Nobody", "X");
    QCOMPARE(model.count(), 0);
}

PELVANE_TEST_MAIN(TestDatabaseComboBoxes)
#include "TestDatabaseComboBoxes.moc"
