#include "ResultRows.h"
#include "../transfer/SqlRows.h"
#include "assets/DateTimeDelegate.h"
#include "assets/StatusDelegate.h"
#include "database/DatabaseTransaction.h"
#include "database/MySqlDatabase.h"
#include "database/SqliteDatabase.h"
#include "results/DialogTestResults.h"
#include "results/TestResult.h"
#include "support/MariaDbServer.h"
#include "results/TestResultsTab.h"
#include "support/DialogAnswerer.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QDataStream>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

using ResultRows::Row;

// The editor's results tab on its own: listing, marking, deleting on apply
// with the asset's latest set following, and the column-width blob.
class TestResultSetTab : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void buttonsFollowTheSelection();
    void buttonsAreOffAfterAReloadLeavesNoSelection();
    void deletingOnApplyMovesTheAssetBack();
    void deletingEverySetClearsTheAsset();
    void resetOrNoDeletesNothing();
    void clearEmptiesTheList();
    void columnWidthBlob();
    void theNewestOfManySetsIsSelected();
    // Last: it replaces the SQLite database with a MariaDB one.
    void deletingOnMySql();

private:
    QTableView* table() const { return m_tab->findChild<QTableView*>("resultSetsTable"); }
    QPushButton* button(const char* name) const { return m_tab->findChild<QPushButton*>(name); }
    QList<int> shownIds() const;
    void selectRows(const QList<int>& rows);
    // Marks the selected rows through the Delete button, answering the question.
    void markSelected(const QString& answer);
    QString assetState() const;

    SqliteDatabase* m_db = nullptr;
    int m_asset = 0;
    int m_march = 0, m_june = 0, m_september = 0;
    TestResultsTab* m_tab = nullptr;
    DialogAnswerer* m_answerer = nullptr;
};

void TestResultSetTab::initTestCase()
{
    m_db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/tab.db");
    QVERIFY(m_db);
}

void TestResultSetTab::init()
{
    SqlQuery wipe;
    for (const char* table : {"Result", "ResultSet", "Asset"})
        wipe.exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
    const int site = m_db->findOrInsertSite(m_db->findOrInsertClient("C"), "S");
    m_asset = m_db->insertAsset("Pump", "", "", "SN", m_db->findOrInsertLocation(site, "L"),
                                m_db->findOrInsertEquipment("M", "M", "E", 1), 12);
    // Inserted out of date order, so the listing has to sort them.
    m_september = m_db->insertResultSet(QVariant(), m_asset, QDateTime(QDate(2026, 9, 1), QTime(10, 0)), 2, 2, 1, "t", "");
    m_march = m_db->insertResultSet(QVariant(), m_asset, QDateTime(QDate(2026, 3, 1), QTime(10, 0)), 2, 2, 2, "t", "");
    m_june = m_db->insertResultSet(QVariant(), m_asset, QDateTime(QDate(2026, 6, 1), QTime(10, 0)), 2, 2, 5, "t", "");
    for (int set : {m_march, m_june, m_september})
        ResultRows::insert(set, {Row{17}, Row{48}});
    SqlQuery latest;
    latest.exec(QStringLiteral("UPDATE Asset SET LatestResultSetId=%1, RetestDate='2027-09-01 10:00:00' WHERE Id=%2")
                    .arg(m_september)
                    .arg(m_asset));

    m_answerer = new DialogAnswerer(this);
    m_tab = new TestResultsTab(nullptr);
    m_tab->connectNewDatabase();
    m_tab->setAsset(m_asset, true);
    m_tab->show();
}

void TestResultSetTab::cleanup()
{
    delete m_tab;
    delete m_answerer;
}

void TestResultSetTab::cleanupTestCase()
{
    Database::setInstance(nullptr);
}

QList<int> TestResultSetTab::shownIds() const
{
    QList<int> ids;
    for (int row = 0; row < table()->model()->rowCount(); ++row) {
        if (!table()->isRowHidden(row))
            ids << table()->model()->index(row, 0).data().toInt();
    }
    return ids;
}

void TestResultSetTab::selectRows(const QList<int>& rows)
{
    table()->clearSelection();
    for (int row : rows)
        table()->selectionModel()->select(table()->model()->index(row, 1),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void TestResultSetTab::markSelected(const QString& answer)
{
    m_answerer->pressNext(answer);
    QTest::mousePress(button("deleteBtn"), Qt::LeftButton);
    QTest::mouseRelease(button("deleteBtn"), Qt::LeftButton);
}

QString TestResultSetTab::assetState() const
{
    return SqlRows::row(QStringLiteral("SELECT LatestResultSetId,RetestDate FROM Asset WHERE Id=%1").arg(m_asset));
}

void TestResultSetTab::buttonsFollowTheSelection()
{
    // The columns are titled for the user, not by their database names.
    QCOMPARE(table()->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Test Date"));
    QCOMPARE(table()->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Result"));
    // The newest set is selected on load.
    QCOMPARE(table()->selectionModel()->selectedRows().value(0).row(), 2);
    QVERIFY(button("detailsBtn")->isEnabled());
    QVERIFY(button("deleteBtn")->isEnabled());
    selectRows({0, 1});
    QVERIFY(!button("detailsBtn")->isEnabled());
    QVERIFY(button("deleteBtn")->isEnabled());
    table()->clearSelection();
    QVERIFY(!button("detailsBtn")->isEnabled());
    QVERIFY(!button("deleteBtn")->isEnabled());

    // Marked sets are hidden: nothing of them stays selected to open or mark again.
    selectRows({0, 1});
    markSelected("Yes");
    QCOMPARE(shownIds(), QList<int>{m_september});
    QVERIFY(table()->selectionModel()->selectedRows().isEmpty());
    QVERIFY(!button("detailsBtn")->isEnabled());
    QVERIFY(!button("deleteBtn")->isEnabled());
}

void TestResultSetTab::buttonsAreOffAfterAReloadLeavesNoSelection()
{
    // A reloaded list has no selection, and its buttons must say so: Delete
    // would otherwise ask its question and mark the tab with nothing to delete.
    selectRows({0});
    markSelected("Yes");
    QVERIFY(m_tab->apply());
    QVERIFY(table()->selectionModel()->selectedRows().isEmpty());
    QVERIFY(!button("detailsBtn")->isEnabled());
    QVERIFY(!button("deleteBtn")->isEnabled());

    m_tab->setAsset(m_asset, true);
    QVERIFY(button("deleteBtn")->isEnabled());
    const int site = m_db->findOrInsertSite(m_db->findOrInsertClient("C"), "S");
    const int bare = m_db->insertAsset("Lamp", "", "", "SN2", m_db->findOrInsertLocation(site, "L"),
                                       m_db->findOrInsertEquipment("M", "M", "E", 1), 12);
    m_tab->setAsset(bare, true);
    QCOMPARE(table()->model()->rowCount(), 0);
    QVERIFY(!button("detailsBtn")->isEnabled());
    QVERIFY(!button("deleteBtn")->isEnabled());

    m_tab->setAsset(m_asset, true);
    m_tab->clear();
    QVERIFY(!button("detailsBtn")->isEnabled());
    QVERIFY(!button("deleteBtn")->isEnabled());
}

void TestResultSetTab::deletingOnApplyMovesTheAssetBack()
{
    // An older set goes without touching the asset.
    const QString before = assetState();
    selectRows({0});
    markSelected("Yes");
    QVERIFY(m_tab->apply());
    QCOMPARE(assetState(), before);
    QCOMPARE(shownIds(), (QList<int>{m_june, m_september}));
    ResultRows::insert(m_march = m_db->insertResultSet(QVariant(), m_asset, QDateTime(QDate(2026, 3, 1), QTime(10, 0)),
                                                       2, 2, 2, "t", ""),
                       {Row{17}, Row{48}});
    m_tab->setAsset(m_asset, true);

    QSignalSpy modified(m_tab, &AssetTabBase::notifyModified);
    QSignalSpy updated(m_tab, &TestResultsTab::updateAsset);
    selectRows({2});
    markSelected("Yes");
    QCOMPARE(m_answerer->last().text, QStringLiteral("Are you sure you want to delete this set of test results?\n"
                                                     "After clicking 'Apply' the test results will be lost forever."));
    QCOMPARE(m_answerer->last().icon, int(QMessageBox::Warning));
    QCOMPARE(shownIds(), (QList<int>{m_march, m_june}));
    QCOMPARE(modified.size(), 1);
    QCOMPARE(modified.first().first().value<ModifiedFlags>(), ModifiedFlags(ModifiedTestResults));
    // Nothing is written before apply.
    QCOMPARE(SqlRows::counts("ResultSet,Result"), QStringLiteral("3 6"));

    QVERIFY(m_tab->apply());
    QCOMPARE(SqlRows::counts("ResultSet,Result"), QStringLiteral("2 4"));
    QCOMPARE(SqlRows::row(QStringLiteral("SELECT COUNT(*) FROM Result WHERE ResultSetId=%1").arg(m_september)),
             QStringLiteral("0"));
    QCOMPARE(assetState(), QStringLiteral("%1|2027-06-01 10:00:00").arg(m_june));
    QCOMPARE(updated.size(), 1);
    QCOMPARE(updated.first().first().toInt(), m_asset);
    QCOMPARE(shownIds(), (QList<int>{m_march, m_june}));
}

void TestResultSetTab::deletingEverySetClearsTheAsset()
{
    QSignalSpy updated(m_tab, &TestResultsTab::updateAsset);
    selectRows({0, 1, 2});
    markSelected("Yes");
    QVERIFY(shownIds().isEmpty());
    QVERIFY(m_tab->apply());
    QCOMPARE(SqlRows::counts("ResultSet,Result"), QStringLiteral("0 0"));
    QCOMPARE(assetState(), QStringLiteral("0|-"));
    QCOMPARE(updated.size(), 3);
    QCOMPARE(table()->model()->rowCount(), 0);
    QCOMPARE(table()->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Result"));
}

void TestResultSetTab::resetOrNoDeletesNothing()
{
    QSignalSpy modified(m_tab, &AssetTabBase::notifyModified);
    selectRows({0, 1});
    markSelected("No");
    QCOMPARE(shownIds().size(), 3);
    QCOMPARE(modified.size(), 0);

    markSelected("Yes");
    QCOMPARE(shownIds(), (QList<int>{m_september}));
    // A reload, as the editor's Reset does, drops the marks.
    m_tab->setAsset(m_asset, true);
    QCOMPARE(shownIds(), (QList<int>{m_march, m_june, m_september}));
    QVERIFY(m_tab->apply());
    QCOMPARE(SqlRows::counts("ResultSet,Result"), QStringLiteral("3 6"));
}

void TestResultSetTab::clearEmptiesTheList()
{
    m_tab->clear();
    QCOMPARE(table()->model()->rowCount(), 0);
    QCOMPARE(table()->model()->columnCount(), 3);
    QCOMPARE(table()->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Test Date"));
    QCOMPARE(m_tab->currentAssetId(), 0);
    // The models go with the database and come back with the next.
    m_tab->releaseOldDatabase();
    m_tab->clear();
    m_tab->connectNewDatabase();
    m_tab->setAsset(m_asset, true);
    QCOMPARE(shownIds().size(), 3);
}

void TestResultSetTab::columnWidthBlob()
{
    auto blob = [](const QList<qint32>& widths) {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        for (qint32 w : widths)
            out << w;
        return bytes;
    };
    auto widths = [this] {
        return QList<int>{table()->columnWidth(0) == 0 ? 0 : -1, table()->columnWidth(1), table()->columnWidth(2)};
    };
    m_tab->restoreColumnWidths(blob({0, 150, 60}));
    QCOMPARE(widths(), (QList<int>{0, 150, 60}));
    QVERIFY(table()->isColumnHidden(0));
    m_tab->restoreColumnWidths(QByteArray());
    QCOMPARE(widths(), (QList<int>{0, 100, 100}));
    m_tab->restoreColumnWidths(blob({0, 170}));
    QCOMPARE(widths(), (QList<int>{0, 170, 100}));

    // The widths outlive a reload of the list and come back as 12 bytes,
    // little-endian, the hidden column as 0.
    table()->setColumnWidth(2, 80);
    m_tab->setAsset(m_asset, true);
    QCOMPARE(widths(), (QList<int>{0, 170, 80}));
    QCOMPARE(m_tab->saveColumnWidths(), blob({0, 170, 80}));
    QCOMPARE(m_tab->saveColumnWidths().toHex(), QByteArray("00000000aa00000050000000"));
}

void TestResultSetTab::theNewestOfManySetsIsSelected()
{
    // Far more sets than the model reads at a time, the newest stored first.
    const int total = 700;
    {
        DatabaseTransaction transaction;
        SqlQuery insert;
        for (int i = total; i > 0; --i) {
            insert.prepare(QStringLiteral("INSERT INTO ResultSet (AssetId,Date,OverallResult) VALUES (?,?,1)"));
            insert.addBindValue(m_asset);
            insert.addBindValue(QDateTime(QDate(2000, 1, 1), QTime(12, 0)).addDays(i).toString("yyyy-MM-dd HH:mm:ss"));
            insert.exec();
        }
    }
    const int newest = SqlRows::row(QStringLiteral("SELECT Id FROM ResultSet WHERE AssetId=%1 ORDER BY Date DESC")
                                        .arg(m_asset))
                           .toInt();
    QCOMPARE(newest, m_september);
    m_tab->setAsset(m_asset, true);
    const QModelIndexList selected = table()->selectionModel()->selectedRows();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(table()->model()->index(selected.first().row(), 0).data().toInt(), newest);
    QCOMPARE(selected.first().row(), total + 2);
    QVERIFY(button("detailsBtn")->isEnabled());
    // ... and scrolled into view, as it is when the tab is first shown.
    for (bool shownBefore : {true, false}) {
        if (!shownBefore) {
            m_tab->hide();
            m_tab->setAsset(m_asset, true);
            m_tab->show();
            QVERIFY(QTest::qWaitForWindowExposed(m_tab));
        }
        const QRect newestRow = table()->visualRect(table()->model()->index(total + 2, 1));
        QVERIFY2(table()->viewport()->rect().contains(newestRow), shownBefore ? "shown" : "hidden");
    }
}

void TestResultSetTab::deletingOnMySql()
{
    PELVANE_REQUIRE_MARIADB();
    const QString name = MariaDbServer::uniqueName("results tab");
    m_answerer->pressNext("Yes"); // create the missing database
    auto* server = new MySqlDatabase;
    QCOMPARE(server->open(MariaDbServer::settings(name)), 0);
    m_tab->releaseOldDatabase();
    Database::setInstance(server);
    m_db = nullptr;
    m_tab->connectNewDatabase();

    const int location = server->findOrInsertLocation(server->findOrInsertSite(server->findOrInsertClient("C"), "S"), "L");
    const int asset = server->insertAsset("Pump", "", "", "SN", location, server->findOrInsertEquipment("M", "M", "E", 1), 3);
    const int january = server->insertResultSet(QVariant(), asset, QDateTime(QDate(2026, 1, 31), QTime(8, 0)), 2, 2, 1, "t", "");
    const int february = server->insertResultSet(QVariant(), asset, QDateTime(QDate(2026, 2, 20), QTime(8, 0)), 2, 2, 2, "t", "");
    ResultRows::insert(january, {Row{17}, Row{17, 2}, Row{48}});
    ResultRows::insert(february, Row{17});
    m_asset = asset;
    m_tab->setAsset(asset, true);
    QCOMPARE(shownIds(), (QList<int>{january, february}));

    // The set's dialog reads its rows by name on this server too.
    {
        DialogTestResults dialog(january, nullptr);
        const QList<TestResult*> lines = dialog.findChildren<TestResult*>();
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.first()->findChild<QWidget*>("status")->styleSheet(),
                 QStringLiteral("image: url(:/icons/icons/cross.png)"));
    }

    selectRows({1});
    markSelected("Yes");
    QVERIFY(m_tab->apply());
    QCOMPARE(SqlRows::counts("ResultSet,Result"), QStringLiteral("1 3"));
    // Three months after 31 January is the last day of April.
    QCOMPARE(assetState(), QStringLiteral("%1|2026-04-30T08:00:00.000").arg(january));
    Database::setInstance(nullptr);
    MariaDbServer::dropDatabase(name);
}

PELVANE_TEST_MAIN(TestResultSetTab)
#include "TestResultSetTab.moc"
