#include "AssetFixture.h"
#include "support/DialogAnswerer.h"

#include <QAbstractItemModelTester>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {
QStringList childNames(const QAbstractItemModel& model, const QModelIndex& parent)
{
    QStringList names;
    for (int r = 0; r < model.rowCount(parent); ++r)
        names << model.index(r, 0, parent).data().toString();
    return names;
}
} // namespace

class TestAssetTreeModel : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void populatesDatabaseRecycledAndLevels();
    void plainRenameWritesAndSignals();
    void renameLongerThanTheServerColumnsIsRefused();
    void mergeMovesChildrenUnlessCancelled();
    void insertAssetLocationAddsMissingNodes();
    void nodeRemovesOnlyItsOwnMapEntry();

private:
    SqliteDatabase* m_db = nullptr;
    std::unique_ptr<AssetTreeFixture> m_tree;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

void TestAssetTreeModel::init()
{
    m_db = newSeededDatabase();
    QVERIFY(m_db);
    m_tree = std::make_unique<AssetTreeFixture>(m_db);
    m_tester = std::make_unique<QAbstractItemModelTester>(m_tree->model.get(),
                                                          QAbstractItemModelTester::FailureReportingMode::QtTest);
}

void TestAssetTreeModel::cleanup()
{
    m_tester.reset();
    m_tree.reset();
    Database::setInstance(nullptr);
    m_db = nullptr;
}

void TestAssetTreeModel::populatesDatabaseRecycledAndLevels()
{
    AssetTreeModel& model = *m_tree->model;
    QCOMPARE(model.rowCount(), 1);
    const QModelIndex db = model.databaseIndex();
    QCOMPARE(db.data().toString(), QString("assets.db"));
    QCOMPARE(childNames(model, db), QStringList({"Recycled", "Acme Health", "Borough Clinic"}));
    QCOMPARE(model.rowCount(model.recycledIndex()), 0);
    QCOMPARE(childNames(model, model.clientIndex(1)), QStringList({"North", "South"}));
    QCOMPARE(childNames(model, model.siteIndex(1)), QStringList({"Ward 1", "Ward 2"}));
    QCOMPARE(childNames(model, model.siteIndex(3)), QStringList({"Reception"}));
    QCOMPARE(model.locationIndex(3).parent(), model.siteIndex(2));
    QCOMPARE(model.locationIndex(3).data().toString(), QString("Theatre"));
    QVERIFY(!model.clientIndex(99).isValid());
    // The same id under another type is another node.
    QVERIFY(model.siteIndex(1) != model.clientIndex(1));

    const Qt::ItemFlags fixed = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    QCOMPARE(model.flags(model.databaseIndex()), fixed);
    QCOMPARE(model.flags(model.recycledIndex()), fixed);
    for (const QModelIndex& i : {model.clientIndex(1), model.siteIndex(1), model.locationIndex(1)})
        QCOMPARE(model.flags(i), fixed | Qt::ItemIsEditable);

    // Nameless clients and sites show a placeholder.
    const int client = m_db->findOrInsertClient(QString());
    const int site = m_db->findOrInsertSite(client, QString());
    m_db->insertAsset("Spare", "", "", "", m_db->findOrInsertLocation(site, "Store"), 1, 12);
    QCOMPARE(model.clientIndex(client).data().toString(), QString("{No Name}"));
    QCOMPARE(model.siteIndex(site).data().toString(), QString("{No Name}"));
}

void TestAssetTreeModel::plainRenameWritesAndSignals()
{
    DialogAnswerer answerer;
    AssetTreeModel& model = *m_tree->model;
    QSignalSpy clients(&model, &AssetTreeModel::clientNameChanged);
    QSignalSpy sites(&model, &AssetTreeModel::siteNameChanged);
    QSignalSpy locations(&model, &AssetTreeModel::locationNameChanged);

    QVERIFY(model.setData(model.clientIndex(2), QString("Borough Hospital")));
    // "Main" belongs to Borough; Acme's North may take that name without a merge.
    QVERIFY(model.setData(model.siteIndex(1), QString("Main")));
    // Locations likewise: "Reception" exists only under Main.
    QVERIFY(model.setData(model.locationIndex(1), QString("Reception")));
    QVERIFY(model.setData(model.locationIndex(4), QString("")));
    // A node's own name is no clash.
    QVERIFY(model.setData(model.clientIndex(1), QString("Acme Health")));
    QCOMPARE(answerer.count(), 0);

    QCOMPARE(clients.count(), 2);
    QCOMPARE(clients.first().first().toInt(), 2);
    QCOMPARE(sites.first().first().toInt(), 1);
    QCOMPARE(locations.count(), 2);
    QCOMPARE(scalar("SELECT Name FROM Client WHERE Id=2").toString(), QString("Borough Hospital"));
    QCOMPARE(scalar("SELECT COUNT(*) FROM Site WHERE Name='Main'").toInt(), 2);
    QCOMPARE(scalar("SELECT Name FROM Location WHERE Id=4").toString(), QString(""));
    QCOMPARE(model.siteIndex(1).data().toString(), QString("Main"));

    // A node deleted on another workstation is not renamed, and the user is told why.
    QVERIFY(SqlQuery().exec("DELETE FROM Location WHERE Id=2"));
    QVERIFY(!model.setData(model.locationIndex(2), QString("Ward 9")));
    QVERIFY(answerer.last().text.startsWith("The location Ward 2 was deleted on another workstation."));
    // The database and Recycled nodes cannot be renamed.
    QVERIFY(!model.setData(model.recycledIndex(), QString("Bin")));
    QCOMPARE(model.recycledIndex().data().toString(), QString("Recycled"));
}

void TestAssetTreeModel::renameLongerThanTheServerColumnsIsRefused()
{
    // MySQL and SQL Server refuse a name longer than their 255-character
    // columns with an error that ends the program: no back-end gets one.
    DialogAnswerer answerer;
    AssetTreeModel& model = *m_tree->model;
    QVERIFY(!model.setData(model.clientIndex(1), QString(256, QLatin1Char('x'))));
    QCOMPARE(scalar("SELECT Name FROM Client WHERE Id=1").toString(), QString("Acme Health"));
    QCOMPARE(model.clientIndex(1).data().toString(), QString("Acme Health"));
    QVERIFY(model.setData(model.locationIndex(1), QString(255, QLatin1Char('y'))));
    QCOMPARE(scalar("SELECT Name FROM Location WHERE Id=1").toString(), QString(255, QLatin1Char('y')));
    QCOMPARE(answerer.count(), 0);
}

void TestAssetTreeModel::mergeMovesChildrenUnlessCancelled()
{
    DialogAnswerer answerer;
    AssetTreeModel& model = *m_tree->model;
    QSignalSpy clients(&model, &AssetTreeModel::clientNameChanged);
    // While the question waits for its user, other programs may write.
    QString failure = QStringLiteral("not asked");
    answerer.answerNext([&](QWidget* box) {
        failure = SeededDatabase::writtenByAnotherProgram(m_db->filePath());
        qobject_cast<QMessageBox*>(box)->button(QMessageBox::Cancel)->click();
    });
    QVERIFY(!model.setData(model.clientIndex(1), QString("Borough Clinic")));
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(model.clientIndex(1).data().toString(), QString("Acme Health"));
    QCOMPARE(scalar("SELECT Name FROM Client WHERE Id=1").toString(), QString("Acme Health"));
    QCOMPARE(scalar("SELECT COUNT(*) FROM Site WHERE ClientId=1").toInt(), 2);

    // Ward 2 (asset 3) into Ward 1 (assets 1 and 2).
    answerer.pressNext("Yes");
    QVERIFY(!model.setData(model.locationIndex(2), QString("Ward 1")));
    QCOMPARE(answerer.last().text,
             QString("A location already exists the same name. Would you like to move the assets into this location?"));
    QVERIFY(!model.locationIndex(2).isValid());
    QCOMPARE(childNames(model, model.siteIndex(1)), QStringList({"Ward 1"}));
    QCOMPARE(scalar("SELECT COUNT(*) FROM Asset WHERE LocationId=1").toInt(), 3);
    QCOMPARE(scalar("SELECT COUNT(*) FROM Location WHERE Id=2").toInt(), 0);

    // Recycled assets of a merged location follow it too: Theatre holds the recycled scale.
    const int spare = m_db->findOrInsertLocation(2, "Theatre 2");
    m_tree->model->insertAssetLocation(m_db->insertAsset("Lamp", "", "", "", spare, 1, 12));
    answerer.pressNext("Yes");
    QVERIFY(!model.setData(model.locationIndex(3), QString("Theatre 2")));
    QCOMPARE(scalar("SELECT LocationId FROM Asset WHERE Name='Old scale'").toInt(), spare);

    answerer.pressNext("Yes");
    QVERIFY(!model.setData(model.siteIndex(2), QString("North")));
    QCOMPARE(answerer.last().text,
             QString("A site already exists the same name. Would you like to move the locations into this site?"));
    QVERIFY(!model.siteIndex(2).isValid());
    QCOMPARE(childNames(model, model.siteIndex(1)), QStringList({"Ward 1", "Theatre 2"}));
    QCOMPARE(scalar("SELECT SiteId FROM Location WHERE Id=" + QString::number(spare)).toInt(), 1);

    answerer.pressNext("Yes");
    QVERIFY(!model.setData(model.clientIndex(1), QString("Borough Clinic")));
    QCOMPARE(answerer.last().text,
             QString("A client already exists the same name. Would you like to move the sites into this client?"));
    QCOMPARE(clients.count(), 0);
    QVERIFY(!model.clientIndex(1).isValid());
    QCOMPARE(childNames(model, model.databaseIndex()), QStringList({"Recycled", "Borough Clinic"}));
    QCOMPARE(childNames(model, model.clientIndex(2)), QStringList({"Main", "North"}));
    QCOMPARE(scalar("SELECT COUNT(*) FROM Client WHERE Id=1").toInt(), 0);
    // Nothing under the moved sites went with the deleted client.
    QCOMPARE(scalar("SELECT COUNT(*) FROM Asset WHERE LocationId IS NOT NULL").toInt(), 7);
}

void TestAssetTreeModel::insertAssetLocationAddsMissingNodes()
{
    AssetTreeModel& model = *m_tree->model;
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    // Rows written behind the model's back, then announced through the asset.
    const int client = m_db->findOrInsertClient("Cedar Care");
    const int site = m_db->findOrInsertSite(client, "Annex");
    const int location = m_db->findOrInsertLocation(site, "Lab");
    const int asset = m_db->insertAsset("Centrifuge", "", "", "", location, 1, 12);
    QCOMPARE(inserted.count(), 3);
    QCOMPARE(model.locationIndex(location).parent(), model.siteIndex(site));
    QCOMPARE(model.siteIndex(site).parent(), model.clientIndex(client));

    // Known nodes keep their names; an unknown asset adds nothing.
    m_tree->model->insertAssetLocation(asset);
    m_tree->model->insertAssetLocation(9999);
    QCOMPARE(inserted.count(), 3);
}

void TestAssetTreeModel::nodeRemovesOnlyItsOwnMapEntry()
{
    AssetTreeItem* older = AssetTreeItem::find(1, AssetTreeClient);
    QVERIFY(older);
    // A newer node under the same key takes over the map entry...
    auto* newer = new AssetTreeItem(1, "Acme again", AssetTreeClient, nullptr);
    QCOMPARE(AssetTreeItem::find(1, AssetTreeClient), newer);
    // ...and the older node's removal must leave it there.
    m_tree->model->removeRow(older->row(), m_tree->model->databaseIndex());
    QCOMPARE(AssetTreeItem::find(1, AssetTreeClient), newer);
    delete newer;
    QCOMPARE(AssetTreeItem::find(1, AssetTreeClient), nullptr);
}

PELVANE_TEST_MAIN(TestAssetTreeModel)
#include "TestAssetTreeModel.moc"
