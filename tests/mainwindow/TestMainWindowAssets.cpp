#include "assets/AppliedPartTable.h"
#include "assets/AssetTableView.h"
#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "mainwindow/MainWindow.h"
#include "support/DialogAnswerer.h"
#include "support/SeededDatabase.h"
#include "support/SimulatedInstrument.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDockWidget>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include "WindowTestHelpers.h"
#include "database/WriteLock.h"
#include <QProcess>
#include <memory>

class TestMainWindowAssets;
using WindowStep = std::function<void(TestMainWindowAssets&)>;
Q_DECLARE_METATYPE(WindowStep)

namespace {
// Rows of the seeded register, in insertion order.
enum { Pump1 = 1, Pump2 = 2, MonitorA = 3, MonitorB = 4, DeskLamp = 5, OldScale = 6 };
enum { Ward1 = 1, Ward2 = 2, Reception = 4 };

const QString kApplyQuestion = QStringLiteral("The asset has been modified. Would you like to apply the changes?");

// Reads a file the window is not looking at, on a connection of its own.
QString storedName(const QString& path, int assetId)
{
    QString name;
    {
        QSqlDatabase file = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peek"));
        file.setDatabaseName(path);
        if (file.open()) {
            QSqlQuery query(file);
            if (query.exec(QStringLiteral("SELECT Name FROM Asset WHERE Id=%1").arg(assetId)) && query.next())
                name = query.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("peek"));
    return name;
}

QList<int> sorted(QList<int> ids)
{
    std::sort(ids.begin(), ids.end());
    return ids;
}
} // namespace

// Browsing and editing the register through the real window: the tree, the
// table, the editor dock and the asset actions as a user reaches them.
class TestMainWindowAssets : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void selectingInTreeAndTableFillsTheEditor();
    void clickingTheSelectedNodeAfterASearchListsItsAssets();
    void detailsAndAppliedPartsAreApplied();
    void leavingAnEditedAssetAsks();
    void closingOrSwitchingDatabaseDropsUnappliedEdits();
    void addRecycleRestoreAndDeleteAssets();
    void removeLocationSiteAndClient();
    void mergeShowsTheTargetsAssets();
    void uploadSendsTheSelectedAssets();
    void contextMenusOfTreeAndTable();
    void actionsOnAHeldFileAreToldAndTheWindowGoesOn_data();
    void actionsOnAHeldFileAreToldAndTheWindowGoesOn();

private:
    QStringList contextMenuAt(QAbstractItemView* view, const QModelIndex& index);
    QAction* action(const char* name) const { return m_window->findChild<QAction*>(QLatin1String(name)); }
    QTreeView* tree() const { return m_window->findChild<QTreeView*>(QStringLiteral("assetTreeView")); }
    AssetTableView* table() const { return m_window->findChild<AssetTableView*>(QStringLiteral("assetTableView")); }
    QWidget* editor() const { return m_window->findChild<QWidget*>(QStringLiteral("assetTabs")); }
    template<typename T> T* inEditor(const char* name) const { return editor()->findChild<T*>(QLatin1String(name)); }

    QModelIndex treeNode(const QStringList& path) const;
    void clickTree(const QStringList& path);
    QString currentTreeNode() const;
    void clickAsset(int assetId, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    QList<int> listedAssets() const;
    QList<int> selectedAssets() const;
    void typeInto(const char* field, const QString& text);
    void press(const char* button);

    DialogAnswerer* m_answerer = nullptr;
    std::unique_ptr<MainWindow> m_window;
    QString m_path;
};

void TestMainWindowAssets::init()
{
    TestEnvironment::clearSettings();
    QSettings().setValue(QStringLiteral("language/translation"), QStringLiteral("Translations/pelvane_en.qm"));
    m_path = TestEnvironment::instance()->newFolder(QStringLiteral("db")) + QStringLiteral("/register.db");
    QVERIFY(SeededDatabase::createSeeded(m_path));
    Database::setInstance(nullptr);
    // Started the way a user starts it: the last database comes back.
    QSettings().setValue(QStringLiteral("db/current/type"), 0);
    QSettings().setValue(QStringLiteral("db/current/fileName"), m_path);
    m_answerer = new DialogAnswerer(this);
    m_window = std::make_unique<MainWindow>();
    m_window->resize(1000, 700);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QVERIFY(Database::instance());
}

void TestMainWindowAssets::cleanup()
{
    m_window.reset();
    delete m_answerer;
    m_answerer = nullptr;
    Database::setInstance(nullptr);
}

QModelIndex TestMainWindowAssets::treeNode(const QStringList& path) const
{
    QAbstractItemModel* model = tree()->model();
    QModelIndex node = model->index(0, 0);  // the database
    for (const QString& name : path) {
        QModelIndex found;
        for (int row = 0; row < model->rowCount(node) && !found.isValid(); ++row) {
            if (model->index(row, 0, node).data().toString() == name)
                found = model->index(row, 0, node);
        }
        if (!found.isValid())
            return QModelIndex();
        node = found;
    }
    return node;
}

// A click on the node as the user makes it: the branches above it opened.
void TestMainWindowAssets::clickTree(const QStringList& path)
{
    const QModelIndex node = treeNode(path);
    QVERIFY2(node.isValid(), qPrintable(path.join('/')));
    for (QModelIndex up = node.parent(); up.isValid(); up = up.parent())
        tree()->expand(up);
    tree()->scrollTo(node);
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, Qt::NoModifier, tree()->visualRect(node).center());
}

QString TestMainWindowAssets::currentTreeNode() const
{
    return tree()->selectionModel()->selectedIndexes().value(0).data().toString();
}

void TestMainWindowAssets::clickAsset(int assetId, Qt::KeyboardModifiers modifiers)
{
    clickAssetRow(table(), assetId, modifiers);
}

QList<int> TestMainWindowAssets::listedAssets() const
{
    QList<int> ids;
    if (!listRead(table()))
        return {-1}; // no list of the current node
    for (int row = 0; row < table()->model()->rowCount(); ++row)
        ids << table()->model()->index(row, AssetTableView::IdColumn).data().toInt();
    return sorted(ids);
}

QList<int> TestMainWindowAssets::selectedAssets() const
{
    QList<int> ids;
    (void)listRead(table()); // the rows selected again once the list is read
    for (const QModelIndex& index : table()->selectionModel()->selectedRows(AssetTableView::IdColumn))
        ids << index.data().toInt();
    return sorted(ids);
}

void TestMainWindowAssets::typeInto(const char* field, const QString& text)
{
    auto* edit = inEditor<QLineEdit>(field);
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void TestMainWindowAssets::press(const char* button)
{
    auto* b = inEditor<QPushButton>(button);
    QVERIFY(b);
    QVERIFY2(b->isEnabled(), button);
    QTest::mouseClick(b, Qt::LeftButton);
}

void TestMainWindowAssets::selectingInTreeAndTableFillsTheEditor()
{
    // The database node is current and its assets are listed, the recycled one not.
    QCOMPARE(currentTreeNode(), QStringLiteral("register.db"));
    QCOMPARE(listedAssets(), (QList<int>{Pump1, Pump2, MonitorA, MonitorB, DeskLamp}));
    QVERIFY(!editor()->isEnabled());
    clickTree({"Acme Health", "North", "Ward 1"});
    QCOMPARE(listedAssets(), (QList<int>{Pump1, Pump2}));
    QVERIFY(action("actionDeleteLocation")->isEnabled());

    clickAsset(Pump2);
    QVERIFY(editor()->isEnabled());
    QCOMPARE(inEditor<QLineEdit>("assetId")->text(), QStringLiteral("Pump 2"));
    QCOMPARE(inEditor<QComboBox>("location")->currentText(), QStringLiteral("Ward 1"));
    QVERIFY(action("actionUpload")->isEnabled());

    // Two rows: nothing to edit, but both can be deleted or uploaded.
    clickAsset(Pump1, Qt::ControlModifier);
    QCOMPARE(selectedAssets(), (QList<int>{Pump1, Pump2}));
    QVERIFY(!editor()->isEnabled());
    QVERIFY(action("actionDeleteAssets")->isEnabled());

    // Another node lists its own assets; the applied parts come with the asset.
    clickTree({"Acme Health", "North", "Ward 2"});
    QCOMPARE(listedAssets(), (QList<int>{MonitorA}));
    clickAsset(MonitorA);
    QCOMPARE(inEditor<QLineEdit>("assetId")->text(), QStringLiteral("Monitor A"));
    press("apConfigViewBtn");
    auto* parts = inEditor<AppliedPartTable>("appliedPartsTable");
    QVERIFY(parts->isVisible());
    QCOMPARE(parts->item(0, 0)->text(), QStringLiteral("ECG"));
    QCOMPARE(parts->item(1, 0)->text(), QStringLiteral("SpO2"));
    QCOMPARE(m_answerer->count(), 0);
}

void TestMainWindowAssets::clickingTheSelectedNodeAfterASearchListsItsAssets()
{
    clickTree({"Acme Health", "North", "Ward 1"});
    QCOMPARE(listedAssets(), (QList<int>{Pump1, Pump2}));
    auto* panels = m_window->findChild<QTabWidget*>(QStringLiteral("assetTabWidget"));
    panels->setCurrentWidget(m_window->findChild<QWidget*>(QStringLiteral("searchTab")));
    auto* name = m_window->findChild<QLineEdit*>(QStringLiteral("assetName"));
    QTest::keyClicks(name, QStringLiteral("no such asset"));
    QTest::mouseClick(m_window->findChild<QPushButton*>(QStringLiteral("searchBtn")), Qt::LeftButton);
    QVERIFY(listedAssets().isEmpty());

    // Back in the tree the node is still selected, so the click changes no
    // selection; the table must still go back to the node's assets.
    panels->setCurrentWidget(m_window->findChild<QWidget*>(QStringLiteral("browseTab")));
    QCOMPARE(currentTreeNode(), QStringLiteral("Ward 1"));
    clickTree({"Acme Health", "North", "Ward 1"});
    QCOMPARE(listedAssets(), (QList<int>{Pump1, Pump2}));
    // A click on the listed node keeps the asset the user picked.
    clickAsset(Pump2);
    clickTree({"Acme Health", "North", "Ward 1"});
    QCOMPARE(selectedAssets(), (QList<int>{Pump2}));
    QCOMPARE(m_answerer->count(), 0);
}

void TestMainWindowAssets::detailsAndAppliedPartsAreApplied()
{
    clickTree({"Borough Clinic", "Main", "Reception"});
    clickAsset(DeskLamp);
    typeInto("assetId", QStringLiteral("Exam lamp"));
    typeInto("description", QStringLiteral("Ceiling lamp, room 2"));
    // Two parts entered in the applied parts tab, applied together with the details.
    press("apConfigViewBtn");
    auto* parts = inEditor<AppliedPartTable>("appliedPartsTable");
    const QList<std::array<QString, 3>> entered = {{"Probe", "2", "1"}, {"Lead set", "3", "4"}};
    for (const auto& part : entered) {
        const int row = parts->rowCount() - 1;
        for (int column = 0; column < 3; ++column)
            parts->setItem(row, column, new QTableWidgetItem(part[size_t(column)]));
    }
    press("applyButton");
    QCOMPARE(m_answerer->count(), 0);
    QCOMPARE(scalar("SELECT Name FROM Asset WHERE Id=5").toString(), QStringLiteral("Exam lamp"));
    QCOMPARE(scalar("SELECT Description FROM Asset WHERE Id=5").toString(), QStringLiteral("Ceiling lamp, room 2"));
    SqlQuery rows;
    rows.exec(QStringLiteral(
        "SELECT Name, ConnectionClass, NumConnections, Connection FROM AppliedPart WHERE AssetId=5 ORDER BY Connection"));
    QStringList stored;
    while (rows.next())
        stored << QStringLiteral("%1 %2 %3 %4").arg(rows.value(0).toString(), rows.value(1).toString(),
                                                     rows.value(2).toString(), rows.value(3).toString());
    // Connection is the 0-based row the part was stored from.
    QCOMPARE(stored, (QStringList{QStringLiteral("Probe 2 1 0"), QStringLiteral("Lead set 3 4 1")}));
    QVERIFY(!inEditor<QPushButton>("applyButton")->isEnabled());

    // The table shows the new name and keeps the asset selected.
    QVERIFY(listRead(table()));
    const QModelIndex name = table()->model()->match(table()->model()->index(0, AssetTableView::IdColumn),
                                                     Qt::DisplayRole, DeskLamp).value(0);
    QCOMPARE(name.siblingAtColumn(AssetTableView::NameColumn).data().toString(), QStringLiteral("Exam lamp"));
    QCOMPARE(selectedAssets(), (QList<int>{DeskLamp}));

    // A refused details tab keeps everything pending: the parts are not written.
    typeInto("assetId", QStringLiteral(" "));
    parts->setItem(parts->rowCount() - 1, 0, new QTableWidgetItem(QStringLiteral("Clip")));
    press("applyButton");
    QVERIFY(m_answerer->waitForCount(1));
    QCOMPARE(m_answerer->last().text, QStringLiteral("Asset name required"));
    QCOMPARE(scalar("SELECT COUNT(Id) FROM AppliedPart WHERE AssetId=5").toInt(), 2);
    QVERIFY(inEditor<QPushButton>("applyButton")->isEnabled());
}

void TestMainWindowAssets::leavingAnEditedAssetAsks()
{
    clickTree({"Acme Health", "North", "Ward 1"});
    clickAsset(Pump1);

    // Yes applies the edits and moves on.
    typeInto("assetId", QStringLiteral("Pump 1 (ward)"));
    m_answerer->pressNext(QStringLiteral("Yes"));
    clickAsset(Pump2);
    QCOMPARE(m_answerer->count(), 1);
    QCOMPARE(m_answerer->last().text, kApplyQuestion);
    QCOMPARE(m_answerer->last().icon, int(QMessageBox::Warning));
    QCOMPARE(scalar("SELECT Name FROM Asset WHERE Id=1").toString(), QStringLiteral("Pump 1 (ward)"));
    QCOMPARE(selectedAssets(), (QList<int>{Pump2}));
    QCOMPARE(inEditor<QLineEdit>("assetId")->text(), QStringLiteral("Pump 2"));

    // No drops them and moves on.
    typeInto("assetId", QStringLiteral("Never stored"));
    m_answerer->pressNext(QStringLiteral("No"));
    clickAsset(Pump1);
    QCOMPARE(m_answerer->count(), 2);
    QCOMPARE(scalar("SELECT Name FROM Asset WHERE Id=2").toString(), QStringLiteral("Pump 2"));
    QCOMPARE(inEditor<QLineEdit>("assetId")->text(), QStringLiteral("Pump 1 (ward)"));

    // Cancel stays on the edited asset, edits and all.
    typeInto("assetId", QStringLiteral("Still editing"));
    m_answerer->pressNext(QStringLiteral("Cancel"));
    clickAsset(Pump2);
    QCOMPARE(m_answerer->count(), 3);
    QCOMPARE(selectedAssets(), (QList<int>{Pump1}));
    QCOMPARE(inEditor<QLineEdit>("assetId")->text(), QStringLiteral("Still editing"));

    // Leaving through the tree asks as well; Cancel keeps the node and its list.
    m_answerer->pressNext(QStringLiteral("Cancel"));
    clickTree({"Acme Health", "North", "Ward 2"});
    QCOMPARE(m_answerer->count(), 4);
    QCOMPARE(currentTreeNode(), QStringLiteral("Ward 1"));
    QCOMPARE(listedAssets(), (QList<int>{Pump1, Pump2}));
    QCOMPARE(inEditor<QLineEdit>("assetId")->text(), QStringLiteral("Still editing"));
}

void TestMainWindowAssets::closingOrSwitchingDatabaseDropsUnappliedEdits()
{
    // Switching databases empties the editor without a question; the edits go.
    clickTree({"Acme Health", "North", "Ward 1"});
    clickAsset(Pump1);
    typeInto("assetId", QStringLiteral("Switched away"));
    const QString otherPath = QFileInfo(m_path).absolutePath() + QStringLiteral("/copy.db");
    QVERIFY(QFile::copy(m_path, otherPath));
    auto* other = new SqliteDatabase;
    QCOMPARE(other->open(otherPath, false), 0);
    m_window->setDatabase(other);
    QCOMPARE(m_answerer->count(), 0);
    QVERIFY(!editor()->isEnabled());
    QVERIFY(inEditor<QLineEdit>("assetId")->text().isEmpty());
    // The buttons themselves, not only the disabled editor around them.
    QVERIFY(!inEditor<QPushButton>("applyButton")->isEnabledTo(editor()));
    QVERIFY(!inEditor<QPushButton>("resetButton")->isEnabledTo(editor()));
    QCOMPARE(storedName(m_path, Pump1), QStringLiteral("Pump 1"));
    QCOMPARE(currentTreeNode(), QStringLiteral("copy.db"));
    clickTree({"Acme Health", "North", "Ward 1"});
    clickAsset(Pump2);
    // An asset of the new database opens unedited: nothing to apply to it.
    QVERIFY(editor()->isEnabled());
    QVERIFY(!inEditor<QPushButton>("applyButton")->isEnabled());
    QCOMPARE(inEditor<QLineEdit>("assetId")->text(), QStringLiteral("Pump 2"));

    // Closing the window asks; answered No, it writes nothing.
    typeInto("assetId", QStringLiteral("Closed away"));
    m_answerer->pressNext(QStringLiteral("No"));
    QVERIFY(m_window->close());
    QCOMPARE(m_answerer->count(), 1);
    QVERIFY(!Database::instance());
    m_window.reset();
    m_window = std::make_unique<MainWindow>();
    QVERIFY(Database::instance());
    QCOMPARE(QSettings().value(QStringLiteral("db/current/fileName")).toString(), otherPath);
    QCOMPARE(scalar("SELECT Name FROM Asset WHERE Id=2").toString(), QStringLiteral("Pump 2"));
}

void TestMainWindowAssets::mergeShowsTheTargetsAssets()
{
    clickTree({"Acme Health", "North", "Ward 1"});
    QCOMPARE(listedAssets(), (QList<int>{Pump1, Pump2}));
    // Renamed in place to its sibling's name; the user agrees to merge.
    m_answerer->pressNext(QStringLiteral("Yes"));
    const QModelIndex ward1 = treeNode({"Acme Health", "North", "Ward 1"});
    QVERIFY(!tree()->model()->setData(ward1, QStringLiteral("Ward 2")));
    QCOMPARE(m_answerer->count(), 1);
    QVERIFY(!treeNode({"Acme Health", "North", "Ward 1"}).isValid());
    QCOMPARE(scalar("SELECT COUNT(Id) FROM Asset WHERE LocationId=2").toInt(), 3);

    QTRY_COMPARE(currentTreeNode(), QStringLiteral("Ward 2"));
    QCOMPARE(listedAssets(), (QList<int>{Pump1, Pump2, MonitorA}));
}

void TestMainWindowAssets::addRecycleRestoreAndDeleteAssets()
{
    clickTree({"Acme Health", "North", "Ward 2"});
    clickAsset(MonitorA);
    action("actionAddAsset")->trigger();
    QVERIFY(selectedAssets().isEmpty());
    QVERIFY(editor()->isEnabled());
    QVERIFY(inEditor<QLineEdit>("assetId")->text().isEmpty());
    QCOMPARE(inEditor<QComboBox>("location")->currentText(), QStringLiteral("Ward 2"));
    typeInto("assetId", QStringLiteral("Ventilator"));
    press("applyButton");
    const int ventilator = scalar("SELECT Id FROM Asset WHERE Name='Ventilator'").toInt();
    QVERIFY(ventilator > OldScale);
    QCOMPARE(scalar(QStringLiteral("SELECT LocationId FROM Asset WHERE Id=%1").arg(ventilator)).toInt(), int(Ward2));
    QCOMPARE(listedAssets(), (QList<int>{MonitorA, ventilator}));
    QCOMPARE(selectedAssets(), (QList<int>{ventilator}));

    // Delete outside the recycle bin recycles without asking.
    clickAsset(MonitorA, Qt::ControlModifier);
    action("actionDeleteAssets")->trigger();
    QCOMPARE(m_answerer->count(), 0);
    QCOMPARE(scalar("SELECT DeletedLocation FROM Asset WHERE Id=3").toString(),
             QStringLiteral("Acme Health / North / Ward 2"));
    QVERIFY(listedAssets().isEmpty());
    QVERIFY(!action("actionDeleteAssets")->isEnabled());

    clickTree({"Recycled"});
    QVERIFY(!action("actionAddAsset")->isVisible());
    QVERIFY(action("actionRestoreAssets")->isVisible());
    QVERIFY(!action("actionRestoreAssets")->isEnabled());
    QCOMPARE(listedAssets(), (QList<int>{MonitorA, OldScale, ventilator}));
    clickAsset(MonitorA);
    QVERIFY(action("actionRestoreAssets")->isEnabled());
    QVERIFY(!action("actionUpload")->isEnabled());
    action("actionRestoreAssets")->trigger();
    QVERIFY(scalar("SELECT DeletedLocation FROM Asset WHERE Id=3").isNull());
    QCOMPARE(scalar("SELECT LocationId FROM Asset WHERE Id=3").toInt(), int(Ward2));
    QCOMPARE(listedAssets(), (QList<int>{OldScale, ventilator}));

    // Deleting for good asks; No keeps them, Yes removes the rows.
    clickAsset(OldScale);
    clickAsset(ventilator, Qt::ControlModifier);
    m_answerer->pressNext(QStringLiteral("No"));
    action("actionDeleteAssets")->trigger();
    QCOMPARE(m_answerer->last().text,
             QStringLiteral("This operation will permanently remove the selected assets. Are you sure?"));
    QCOMPARE(scalar("SELECT COUNT(Id) FROM Asset").toInt(), 7);
    m_answerer->pressNext(QStringLiteral("Yes"));
    action("actionDeleteAssets")->trigger();
    QCOMPARE(m_answerer->count(), 2);
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(Id) FROM Asset WHERE Id IN (6,%1)").arg(ventilator)).toInt(), 0);
    QVERIFY(listedAssets().isEmpty());
    QVERIFY(!editor()->isEnabled());
}

void TestMainWindowAssets::removeLocationSiteAndClient()
{
    clickTree({"Borough Clinic", "Main", "Reception"});
    action("actionDeleteLocation")->trigger();
    QCOMPARE(m_answerer->count(), 0);
    QCOMPARE(scalar("SELECT COUNT(Id) FROM Location WHERE Id=4").toInt(), 0);
    QCOMPARE(scalar("SELECT DeletedLocation FROM Asset WHERE Id=5").toString(),
             QStringLiteral("Borough Clinic / Main / Reception"));
    QVERIFY(!treeNode({"Borough Clinic", "Main", "Reception"}).isValid());
    QCOMPARE(currentTreeNode(), QStringLiteral("Main"));
    QVERIFY(action("actionDeleteSite")->isEnabled());

    action("actionDeleteSite")->trigger();
    QCOMPARE(scalar("SELECT COUNT(Id) FROM Site WHERE Id=3").toInt(), 0);
    QCOMPARE(currentTreeNode(), QStringLiteral("Borough Clinic"));
    action("actionDeleteClient")->trigger();
    QCOMPARE(scalar("SELECT COUNT(Id) FROM Client WHERE Id=2").toInt(), 0);
    QVERIFY(!treeNode({"Borough Clinic"}).isValid());
    QCOMPARE(currentTreeNode(), QStringLiteral("register.db"));
}

void TestMainWindowAssets::uploadSendsTheSelectedAssets()
{
    SimulatedInstrument instrument;
    QVERIFY(instrument.isValid());
    instrument.setDefaultAnswer(SimulatedInstrument::AnswerAck);
    clickTree({"Acme Health", "North", "Ward 1"});
    clickAsset(Pump1);
    clickAsset(Pump2, Qt::ControlModifier);


    m_answerer->answerNext([&instrument](QWidget* w) {
        auto* ports = w->findChild<QComboBox*>(QStringLiteral("comPorts"));
        ports->addItem(instrument.portName(), instrument.portName());
        ports->setCurrentIndex(ports->count() - 1);
        qobject_cast<QDialog*>(w)->accept();
    });
    m_answerer->pressNext(QStringLiteral("OK"));  // "Press Ok when ready to send"
    action("actionUpload")->trigger();
    QVERIFY(instrument.waitForSeen(4, 5000));
    const QList<SimulatedInstrument::Seen> packets = instrument.seenOfKind(SimulatedInstrument::Seen::Packet);
    QCOMPARE(packets.size(), 4);  // header, two assets, end
    QVERIFY(packets.at(1).data.contains("Pump 1"));
    QVERIFY(packets.at(2).data.contains("Pump 2"));
    QCOMPARE(packets.at(3).data, QByteArray::fromHex("600200a9010000aaff"));
    QCOMPARE(m_answerer->count(), 2);
}

// What the menu that a right click on index opens offers (separators as "-");
// the menu is closed again unused.
QStringList TestMainWindowAssets::contextMenuAt(QAbstractItemView* view, const QModelIndex& index)
{
    QStringList entries;
    // An empty menu is never shown; the reader goes with this call then.
    QObject reader;
    QTimer::singleShot(50, &reader, [&entries] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* a : menu->actions())
            entries << (a->isSeparator() ? QStringLiteral("-") : a->text() + (a->isEnabled() ? "" : " (off)"));
        menu->close();
    });
    const QPoint pos = view->visualRect(index).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, view->viewport()->mapToGlobal(pos));
    QApplication::sendEvent(view->viewport(), &event);
    return entries;
}

void TestMainWindowAssets::contextMenusOfTreeAndTable()
{
    clickTree({"Acme Health", "South"});
    QCOMPARE(contextMenuAt(tree(), treeNode({"Acme Health", "South"})), QStringList{QStringLiteral("Delete Site")});
    clickTree({"Acme Health", "South", "Theatre"});
    clickAsset(MonitorB);
    const QModelIndex row = table()->selectionModel()->selectedRows(AssetTableView::NameColumn).value(0);
    QCOMPARE(contextMenuAt(table(), row),
             (QStringList{QStringLiteral("Add New Asset"), QStringLiteral("Delete Asset(s)"), QStringLiteral("-"),
                          QStringLiteral("Upload..."), QStringLiteral("Create Certificates...")}));
    clickTree({"Recycled"});
    clickAsset(OldScale);
    QCOMPARE(contextMenuAt(table(), table()->selectionModel()->selectedRows(AssetTableView::NameColumn).value(0)),
             (QStringList{QStringLiteral("Restore Asset(s)"), QStringLiteral("Delete Asset(s)"), QStringLiteral("-"),
                          QStringLiteral("Upload... (off)"), QStringLiteral("Create Certificates... (off)")}));
    QCOMPARE(m_answerer->count(), 0);
}

void TestMainWindowAssets::actionsOnAHeldFileAreToldAndTheWindowGoesOn_data()
{
    QTest::addColumn<WindowStep>("act");
    QTest::addColumn<QString>("told");
    QTest::newRow("Apply") << WindowStep([](TestMainWindowAssets& t) {
        t.typeInto("description", QStringLiteral("Held"));
        t.press("applyButton");
    }) << "Not saved: the changes to asset Pump 1";
    QTest::newRow("another asset") << WindowStep([](TestMainWindowAssets& t) { t.clickAsset(Pump2); })
                                   << "The asset could not be shown.";
    QTest::newRow("results tab") << WindowStep([](TestMainWindowAssets& t) {
        t.inEditor<QTabWidget>("assetTabWidget")->setCurrentWidget(t.inEditor<QWidget>("testResultsTab"));
    }) << "The asset could not be shown.";
    QTest::newRow("search") << WindowStep([](TestMainWindowAssets& t) {
        t.m_window->findChild<QTabWidget*>(QStringLiteral("assetTabWidget"))
            ->setCurrentWidget(t.m_window->findChild<QWidget*>(QStringLiteral("searchTab")));
        QTest::mouseClick(t.m_window->findChild<QPushButton*>(QStringLiteral("searchBtn")), Qt::LeftButton);
    }) << "The list of assets could not be read";
    QTest::newRow("certificates") << WindowStep([](TestMainWindowAssets& t) {
        t.action("actionGenerateCertificates")->trigger();
    }) << "The certificates window was not opened.";
}

// The sqlite3 shell holds the file for longer than the window waits for it.
void TestMainWindowAssets::actionsOnAHeldFileAreToldAndTheWindowGoesOn()
{
    QFETCH(WindowStep, act);
    QFETCH(QString, told);
    const auto restore = qScopeGuard([wait = std::exchange(WriteLock::waitSeconds, 0)] { WriteLock::waitSeconds = wait; });
    QVERIFY(QSqlQuery(Database::instance()->connection()).exec(QStringLiteral("PRAGMA busy_timeout=200")));
    clickAsset(Pump1);
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {m_path});
    shell.write("BEGIN EXCLUSIVE;\nSELECT 'held';\n");
    QVERIFY(shell.waitForReadyRead(30000));
    act(*this);
    const auto messages = [this] {
        QStringList texts;
        for (const DialogAnswerer::Seen& seen : m_answerer->seen())
            texts << seen.text;
        for (QMessageBox* box : m_window->findChildren<QMessageBox*>())
            texts << box->text();
        return texts.join(QLatin1Char('\n'));
    };
    QTRY_VERIFY2(messages().contains(told), qPrintable(messages()));
    shell.write("ROLLBACK;\n.quit\n");
    QVERIFY(shell.waitForFinished(30000) && shell.exitCode() == 0);
    // The window goes on, what was typed in it still there.
    if (QTest::currentDataTag() == QLatin1String("Apply")) {
        press("applyButton");
        QCOMPARE(scalar("SELECT Description FROM Asset WHERE Id=1").toString(), QStringLiteral("Held"));
    } else if (QTest::currentDataTag() == QLatin1String("search")) {
        act(*this);
    }
    inEditor<QTabWidget>("assetTabWidget")->setCurrentIndex(0);
    clickAsset(MonitorA);
    QCOMPARE(inEditor<QLineEdit>("assetId")->text(), QStringLiteral("Monitor A"));
}

PELVANE_TEST_MAIN(TestMainWindowAssets)
#include "TestMainWindowAssets.moc"
