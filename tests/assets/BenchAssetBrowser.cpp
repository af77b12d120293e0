// Times the asset browser on a large register: 100,000 assets under 1,000
// locations. Not a test: it prints its figures.

#include "assets/AssetQueryModel.h"
#include "assets/AssetTableView.h"
#include "assets/AssetTreeItem.h"
#include "assets/AssetTreeModel.h"
#include "database/DatabaseTransaction.h"
#include "database/SqliteDatabase.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextStream>
#include <cstdio>
#include <functional>

namespace {
constexpr int kClients = 10;
constexpr int kSitesPerClient = 10;
constexpr int kLocationsPerSite = 10;
constexpr int kAssetsPerLocation = 100;

void fill(SqliteDatabase* db)
{
    DatabaseTransaction transaction(&db->connection());
    QSqlQuery client(db->connection());
    client.prepare("INSERT INTO Client (Id,Name) VALUES (:Id,:Name)");
    QSqlQuery site(db->connection());
    site.prepare("INSERT INTO Site (Id,ClientId,Name) VALUES (:Id,:ClientId,:Name)");
    QSqlQuery location(db->connection());
    location.prepare("INSERT INTO Location (Id,SiteId,Name) VALUES (:Id,:SiteId,:Name)");
    QSqlQuery equipment(db->connection());
    equipment.prepare("INSERT INTO Equipment (Id,Manufacturer,Model,SerialNo,EquipmentClass) "
                      "VALUES (:Id,:Manufacturer,:Model,:SerialNo,1)");
    QSqlQuery asset(db->connection());
    asset.prepare("INSERT INTO Asset (Id,Name,Description,ServiceCode,SerialNo,LocationId,EquipmentId,"
                  "LatestResultSetId,RetestPeriod,RetestDate,DeletedLocation) VALUES (:Id,:Name,:Description,"
                  ":ServiceCode,:SerialNo,:LocationId,:EquipmentId,:LatestResultSetId,12,:RetestDate,:DeletedLocation)");
    QSqlQuery result(db->connection());
    result.prepare("INSERT INTO ResultSet (Id,AssetId,Date,TestType,TestMode,OverallResult) "
                   "VALUES (:Id,:AssetId,:Date,2,2,:OverallResult)");

    for (int e = 1; e <= 100; ++e) {
        equipment.bindValue(":Id", e);
        equipment.bindValue(":Manufacturer", QString("Maker %1").arg(e % 7));
        equipment.bindValue(":Model", QString("Model %1").arg(e));
        equipment.bindValue(":SerialNo", QString("EQ-%1").arg(e));
        equipment.exec();
    }
    const QDateTime base(QDate(2025, 1, 1), QTime(8, 0));
    const int statuses[] = {1, 1, 1, 2, 5, 4};
    int siteId = 0, locationId = 0, assetId = 0;
    for (int c = 1; c <= kClients; ++c) {
        client.bindValue(":Id", c);
        client.bindValue(":Name", QString("Client %1").arg(c));
        client.exec();
        for (int s = 0; s < kSitesPerClient; ++s) {
            site.bindValue(":Id", ++siteId);
            site.bindValue(":ClientId", c);
            site.bindValue(":Name", QString("Site %1").arg(siteId));
            site.exec();
            for (int l = 0; l < kLocationsPerSite; ++l) {
                location.bindValue(":Id", ++locationId);
                location.bindValue(":SiteId", siteId);
                location.bindValue(":Name", QString("Room %1").arg(locationId));
                location.exec();
                for (int a = 0; a < kAssetsPerLocation; ++a) {
                    ++assetId;
                    // Spread the names so that name order is not insertion order.
                    const int key = int((qint64(assetId) * 7919) % 100000);
                    const QDateTime tested = base.addSecs(qint64(key) * 317);
                    asset.bindValue(":Id", assetId);
                    asset.bindValue(":Name", QString("Asset %1").arg(key, 6, 10, QLatin1Char('0')));
                    asset.bindValue(":Description", QString("Device type %1").arg(assetId % 50));
                    asset.bindValue(":ServiceCode", QString("SC-%1").arg(assetId));
                    asset.bindValue(":SerialNo", QString("SN-%1").arg(assetId));
                    asset.bindValue(":LocationId", locationId);
                    asset.bindValue(":EquipmentId", 1 + assetId % 100);
                    asset.bindValue(":LatestResultSetId", assetId);
                    asset.bindValue(":RetestDate", Database::dateTimeValue(tested.addMonths(12)));
                    asset.bindValue(":DeletedLocation",
                                    assetId % 100 == 0 ? QVariant(QString("Client %1 / Site %2 / Room %3")
                                                                      .arg(c).arg(siteId).arg(locationId))
                                                       : QVariant());
                    asset.exec();
                    result.bindValue(":Id", assetId);
                    result.bindValue(":AssetId", assetId);
                    result.bindValue(":Date", Database::dateTimeValue(tested));
                    result.bindValue(":OverallResult", statuses[assetId % 6]);
                    result.exec();
                }
            }
        }
    }
}

double timed(const std::function<void()>& step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return double(timer.nsecsElapsed()) / 1e6;
}

void fetchAll(AssetQueryModel& model)
{
    while (model.canFetchMore())
        model.fetchMore();
}
} // namespace

int main(int argc, char** argv)
{
    return runTestMain(argc, argv, [](int c, char** v) {
        Q_UNUSED(c);
        Q_UNUSED(v);
        QTextStream out(stdout);
        const QString path = TestEnvironment::instance()->newFolder() + "/bench.db";
        SqliteDatabase* db = SeededDatabase::createEmpty(path);
        if (!db) {
            out << "could not create " << path << Qt::endl;
            return 1;
        }
        out << "Filling 100,000 assets under 1,000 locations: " << timed([db] { fill(db); }) << " ms" << Qt::endl;

        std::unique_ptr<AssetTreeItem> root;
        std::unique_ptr<AssetTreeModel> tree;
        const double treeMs = timed([&] {
            AssetTreeItem::initIcons();
            root = std::make_unique<AssetTreeItem>(0, "root", AssetTreeRoot, nullptr);
            auto* database = new AssetTreeItem(0, db->databaseName(), AssetTreeDatabase, root.get());
            root->appendChild(database);
            database->appendChild(new AssetTreeItem(0, "Recycled", AssetTreeRecycled, database));
            tree = std::make_unique<AssetTreeModel>(root.get());
            db->setAssetTreeModel(tree.get());
        });
        out << "Build tree (10 clients, 100 sites, 1,000 locations): " << treeMs << " ms" << Qt::endl;

        AssetQueryModel model;
        AssetTableView table;
        table.setup(&model);
        table.resize(900, 600);
        table.show();
        QApplication::processEvents();

        // Another program that writes to the file, waiting for no lock.
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other program");
        other.setDatabaseName(path);
        other.setConnectOptions("QSQLITE_BUSY_TIMEOUT=0");
        other.open();
        const auto otherCommits = [&other] {
            QSqlQuery write(other);
            const bool done = write.exec("BEGIN IMMEDIATE") && write.exec("INSERT INTO Client (Name) VALUES ('x')")
                              && write.exec("DELETE FROM Client WHERE Name='x'") && write.exec("COMMIT");
            if (!done)
                write.exec("ROLLBACK");
            return done;
        };

        // Each step starts from a list of which only the first rows were read,
        // as on screen; a refresh after reading every row is timed on its own
        // (it drops the rows read).
        const auto report = [&](const char* what, const std::function<void()>& step) {
            const double shown = timed([&] {
                step();
                QApplication::processEvents();
            });
            const int firstRows = model.rowCount();
            // The window idles on: how long until the other program can commit.
            QElapsedTimer locked;
            locked.start();
            while (!otherCommits() && locked.elapsed() < 5000)
                QApplication::processEvents();
            out << what << ": the other program commits after " << double(locked.nsecsElapsed()) / 1e6 << " ms"
                << Qt::endl;
            const double all = timed([&] { fetchAll(model); });
            const int rows = model.rowCount();
            const double rerun = timed([&] {
                table.refresh();
                QApplication::processEvents();
            });
            out << what << ": " << shown << " ms to show (" << firstRows << " rows read), " << all
                << " ms more to read all " << rows << " rows (" << rerun << " ms to refresh then)" << Qt::endl;
        };
        report("List all assets", [&] { table.showAllAssets(); });
        report("Sort by Name, descending", [&] { model.sort(AssetTableView::NameColumn, Qt::DescendingOrder); });
        report("Sort by Last Test, ascending", [&] { model.sort(AssetTableView::LastTestColumn, Qt::AscendingOrder); });
        report("Sort by Retest Date, descending",
               [&] { model.sort(AssetTableView::RetestDateColumn, Qt::DescendingOrder); });
        report("List one location", [&] { table.showLocationAssets(500); });
        report("List one client", [&] { table.showClientAssets(5); });
        report("Recycle bin", [&] { table.showRecycledAssets(); });
        model.sort(-1, Qt::AscendingOrder);
        report("Search name 'Asset 012*', unsorted", [&] {
            SearchFields f;
            f.assetName = "Asset 012%";
            table.showSearchResults(f);
        });
        report("Search name '*99*' unsorted", [&] {
            SearchFields f;
            f.assetName = "%99%";
            table.showSearchResults(f);
        });
        report("  the same sorted by Name", [&] { model.sort(AssetTableView::NameColumn, Qt::AscendingOrder); });

        table.hide();
        tree.reset();
        root.reset();
        Database::setInstance(nullptr);
        return 0;
    });
}
