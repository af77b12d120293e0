// Times the asset browser on a large register: 100,000 assets (or as many
// as asked for) under 1,000 locations, on SQLite and on MariaDB. Not a
// test: it prints its figures.
//
//   BenchAssetBrowser [sqlite|mariadb|both] [assets]   (both and 100,000
//   when not given; MariaDB through the PELVANE_MYSQL_* variables of
//   scripts/mariadb-test-server)
//
// For each list: the first screen (from the click until the rows the view
// shows are there and drawn), the longest time the event loop went without
// a turn until the list was read (and, on SQLite, another program could
// commit), and the memory at its peak and at idle over an empty list; then
// the same while the view is scrolled to the list's end, and what a
// refresh of the list scrolled through costs the window. The median of
// three runs.

#include "assets/AssetManager.h"
#include "assets/AssetQueryModel.h"
#include "assets/AssetTableView.h"
#include "assets/AssetTreeItem.h"
#include "assets/AssetTreeModel.h"
#include "assets/AssetTreeView.h"
#include "database/DatabaseTransaction.h"
#include "database/SqliteDatabase.h"
#include "support/DialogAnswerer.h"
#include "support/MariaDbServer.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>

namespace {
constexpr int kClients = 10;
constexpr int kSitesPerClient = 10;
constexpr int kLocationsPerSite = 10;
int assetsPerLocation = 100;

QString text(const QString& value)
{
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

// Rows written a thousand to a statement, as text: the same on both
// back-ends and few round trips to the server.
void fill(Database* db)
{
    QSqlQuery insert(db->connection());
    QStringList rows;
    const auto flush = [&](const char* into) {
        if (!rows.isEmpty() && !insert.exec(QString::fromLatin1(into) + rows.join(QLatin1Char(','))))
            qFatal("%s", qPrintable(insert.lastError().text()));
        rows.clear();
    };
    const auto add = [&](const char* into, const QString& row) {
        rows << QLatin1Char('(') + row + QLatin1Char(')');
        if (rows.size() == 1000)
            flush(into);
    };
    DatabaseTransaction transaction(&db->connection());
    const char* equipment = "INSERT INTO Equipment (Id,Manufacturer,Model,SerialNo,EquipmentClass) VALUES ";
    for (int e = 1; e <= 100; ++e)
        add(equipment, QString("%1,'Maker %2','Model %1','EQ-%1',1").arg(e).arg(e % 7));
    flush(equipment);
    const char* client = "INSERT INTO Client (Id,Name) VALUES ";
    const char* site = "INSERT INTO Site (Id,ClientId,Name) VALUES ";
    const char* location = "INSERT INTO Location (Id,SiteId,Name) VALUES ";
    for (int c = 1; c <= kClients; ++c)
        add(client, QString("%1,'Client %1'").arg(c));
    flush(client);
    for (int s = 1; s <= kClients * kSitesPerClient; ++s)
        add(site, QString("%1,%2,'Site %1'").arg(s).arg(1 + (s - 1) / kSitesPerClient));
    flush(site);
    const int locations = kClients * kSitesPerClient * kLocationsPerSite;
    for (int l = 1; l <= locations; ++l)
        add(location, QString("%1,%2,'Room %1'").arg(l).arg(1 + (l - 1) / kLocationsPerSite));
    flush(location);

    const char* asset = "INSERT INTO Asset (Id,Name,Description,ServiceCode,SerialNo,LocationId,EquipmentId,"
                        "LatestResultSetId,RetestPeriod,RetestDate,DeletedLocation) VALUES ";
    const char* result = "INSERT INTO ResultSet (Id,AssetId,Date,TestType,TestMode,OverallResult) VALUES ";
    const QDateTime base(QDate(2025, 1, 1), QTime(8, 0));
    const int statuses[] = {1, 1, 1, 2, 5, 4};
    QStringList results;
    const int assets = locations * assetsPerLocation;
    for (int assetId = 1; assetId <= assets; ++assetId) {
        // Spread the names so that name order is not insertion order.
        const int key = int((qint64(assetId) * 7919) % assets);
        const QDateTime tested = base.addSecs(qint64(key) * 79);
        const int locationId = 1 + (assetId - 1) / assetsPerLocation;
        add(asset, QString("%1,'Asset %2','Device type %3','SC-%1','SN-%1',%4,%5,%1,12,%6,%7")
                       .arg(assetId)
                       .arg(key, 6, 10, QLatin1Char('0'))
                       .arg(assetId % 50)
                       .arg(locationId)
                       .arg(1 + assetId % 100)
                       .arg(text(Database::dateTimeValue(tested.addMonths(12)).toString()),
                            assetId % 100 == 0 ? text(QString("Client / Site / Room %1").arg(locationId))
                                               : QString("NULL")));
        results << QString("(%1,%1,%2,2,2,%3)")
                       .arg(assetId)
                       .arg(text(Database::dateTimeValue(tested).toString()))
                       .arg(statuses[assetId % 6]);
        if (results.size() == 1000) {
            if (!insert.exec(QString::fromLatin1(result) + results.join(QLatin1Char(','))))
                qFatal("%s", qPrintable(insert.lastError().text()));
            results.clear();
        }
    }
    flush(asset);
    transaction.commit();
}

double timed(const std::function<void()>& step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return double(timer.nsecsElapsed()) / 1e6;
}

// Kilobytes of the process: resident now, and at its peak since the last reset.
qint64 statusKb(const char* field)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    return 0;
}

void resetPeak()
{
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// A model that reads a server's rows in the background says so; one that
// does not is done when its statement has run.
template <class Model>
auto stillReading(const Model& model, int) -> decltype(model.isReading())
{
    return model.isReading();
}
template <class Model>
bool stillReading(const Model&, long)
{
    return false;
}

struct Figures
{
    double firstScreen = 0;
    double stall = 0;
    double done = 0;
    double peakMb = 0;
    double idleMb = 0;
    double scroll = 0;
    double scrollStall = 0;
    double scrolledMb = 0;
    double refresh = 0;
};

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

class Bench
{
public:
    Bench(bool sqlite, const QString& path) : m_sqlite(sqlite), m_path(path)
    {
        m_table.setup(&m_model);
        m_table.resize(900, 600);
        m_table.show();
        connect();
        // The event loop's turns, to find the longest wait between two.
        m_beat.setInterval(0);
        QObject::connect(&m_beat, &QTimer::timeout, [this] {
            m_stall = std::max(m_stall, double(m_sinceTurn.nsecsElapsed()) / 1e6);
            m_sinceTurn.restart();
        });
        m_beat.start();
    }

    // Memory is measured over an empty list, with what was freed given back.
    void emptyList()
    {
        m_table.showLocationAssets(-1);
        settle([] { return false; });
        malloc_trim(0);
        m_emptyKb = statusKb("VmRSS:");
    }

    Figures measure(const std::function<void()>& step)
    {
        Figures f;
        const qint64 empty = m_emptyKb;
        resetPeak();
        QElapsedTimer clock;
        m_sinceTurn.restart();
        m_stall = 0;
        clock.start();
        step();
        // The rows a screen of the view shows.
        const int screen = m_table.viewport()->height() / std::max(1, m_table.verticalHeader()->defaultSectionSize());
        while (m_model.rowCount() < screen && (stillReading(m_model, 0) || m_model.canFetchMore())
               && clock.elapsed() < 20000)
            QApplication::processEvents(QEventLoop::AllEvents, 1);
        m_table.viewport()->repaint();
        f.firstScreen = double(clock.nsecsElapsed()) / 1e6;
        // Then the window idles while the list is read on.
        f.done = waitRead(clock);
        settle([] { return false; });
        f.stall = m_stall;
        f.peakMb = double(statusKb("VmHWM:") - empty) / 1024;
        f.idleMb = double(statusKb("VmRSS:") - empty) / 1024;
        // The user drags the list to its end, a screen at a time.
        m_stall = 0;
        m_sinceTurn.restart();
        f.scroll = timed([this] {
            while (stillReading(m_model, 0) || m_model.canFetchMore()) {
                m_table.scrollToBottom();
                QApplication::processEvents(QEventLoop::AllEvents, 1);
            }
            m_table.viewport()->repaint();
        });
        settle([] { return false; });
        f.scrollStall = m_stall;
        f.scrolledMb = double(statusKb("VmRSS:") - empty) / 1024;
        // What a refresh of the read list costs the window.
        f.refresh = timed([this] {
            m_table.refresh();
            QApplication::processEvents();
        });
        QElapsedTimer again;
        again.start();
        waitRead(again);
        settle([] { return false; });
        return f;
    }

    // Until the list is read and, on SQLite, another program can commit;
    // milliseconds on clock then.
    double waitRead(const QElapsedTimer& clock)
    {
        bool free = !m_sqlite;
        for (;;) {
            const double at = double(clock.nsecsElapsed()) / 1e6;
            if (!free && !stillReading(m_model, 0)) {
                // The other program's time is not the window's.
                m_stall = std::max(m_stall, double(m_sinceTurn.nsecsElapsed()) / 1e6);
                free = otherCommits();
                m_sinceTurn.restart();
            }
            if ((free && !stillReading(m_model, 0)) || clock.elapsed() > 20000)
                return at;
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        }
    }

    void settle(const std::function<bool()>& until, int ms = 300)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms && !until())
            QApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    // The longest wait of the event loop while step ran, and step's time.
    std::pair<double, double> stallOf(const std::function<void()>& step)
    {
        m_stall = 0;
        m_sinceTurn.restart();
        const double ms = timed(step);
        return {std::max(m_stall, double(m_sinceTurn.nsecsElapsed()) / 1e6), ms};
    }

    AssetQueryModel& model() { return m_model; }
    AssetTableView& table() { return m_table; }

private:
    // Another program that writes to the file, waiting for no lock.
    void connect()
    {
        if (!m_sqlite)
            return;
        m_other = QSqlDatabase::addDatabase("QSQLITE", "other program");
        m_other.setDatabaseName(m_path);
        m_other.setConnectOptions("QSQLITE_BUSY_TIMEOUT=0");
        m_other.open();
    }
    bool otherCommits()
    {
        QSqlQuery write(m_other);
        const bool done = write.exec("BEGIN IMMEDIATE") && write.exec("INSERT INTO Client (Name) VALUES ('x')")
                          && write.exec("DELETE FROM Client WHERE Name='x'") && write.exec("COMMIT");
        if (!done)
            write.exec("ROLLBACK");
        return done;
    }

    bool m_sqlite;
    QString m_path;
    AssetQueryModel m_model;
    AssetTableView m_table;
    QSqlDatabase m_other;
    QTimer m_beat;
    QElapsedTimer m_sinceTurn;
    double m_stall = 0;
    qint64 m_emptyKb = 0;
};

void run(QTextStream& out, bool sqlite)
{
    const char* backEnd = sqlite ? "SQLite" : "MariaDB";
    QString path;
    QString serverName;
    if (sqlite) {
        path = TestEnvironment::instance()->newFolder() + "/bench.db";
        if (!SeededDatabase::createEmpty(path)) {
            out << "could not create " << path << Qt::endl;
            return;
        }
    } else {
        QString why;
        serverName = MariaDbServer::uniqueName("bench");
        if (!MariaDbServer::reachable(&why) || !MariaDbServer::installNew(serverName)) {
            out << "MariaDB: no server (" << why << ")" << Qt::endl;
            return;
        }
    }
    out << backEnd << ": filling " << assetsPerLocation * 1000 << " assets under 1,000 locations: "
        << timed([] { fill(Database::instance()); }) << " ms" << Qt::endl;

    std::unique_ptr<AssetTreeItem> root;
    std::unique_ptr<AssetTreeModel> tree;
    const double treeMs = timed([&] {
        AssetTreeItem::initIcons();
        root = std::make_unique<AssetTreeItem>(0, "root", AssetTreeRoot, nullptr);
        auto* database = new AssetTreeItem(0, Database::instance()->databaseName(), AssetTreeDatabase, root.get());
        root->appendChild(database);
        database->appendChild(new AssetTreeItem(0, "Recycled", AssetTreeRecycled, database));
        tree = std::make_unique<AssetTreeModel>(root.get());
        tree->populate();
        Database::instance()->setAssetTreeModel(tree.get());
    });
    out << backEnd << ": build tree (10 clients, 100 sites, 1,000 locations): " << treeMs << " ms" << Qt::endl;
    {
        Bench bench(sqlite, path);
        bench.emptyList();
        const QList<QPair<const char*, std::function<void()>>> lists = {
            {"all assets", [&] { bench.table().showAllAssets(); }},
            {"sort by name", [&] { bench.model().sort(AssetTableView::NameColumn, Qt::AscendingOrder); }},
            {"sort by retest", [&] { bench.model().sort(AssetTableView::RetestDateColumn, Qt::AscendingOrder); }},
            {"search Asset*", [&] {
                 SearchFields f;
                 f.assetName = "Asset%";
                 bench.table().showSearchResults(f);
             }},
        };
        for (const auto& list : lists) {
            QList<double> first, stall, done, peak, idle, scroll, scrollStall, scrolled, refresh;
            for (int run = 0; run < 3; ++run) {
                // Each run from an empty list, unsorted; a sort from the
                // list of all assets read.
                bench.emptyList();
                bench.model().sort(-1, Qt::AscendingOrder);
                if (qstrncmp(list.first, "sort", 4) == 0) {
                    bench.table().showAllAssets();
                    QElapsedTimer clock;
                    clock.start();
                    bench.waitRead(clock);
                    bench.settle([] { return false; });
                }
                const Figures f = bench.measure(list.second);
                first << f.firstScreen;
                stall << f.stall;
                done << f.done;
                peak << f.peakMb;
                idle << f.idleMb;
                scroll << f.scroll;
                scrollStall << f.scrollStall;
                scrolled << f.scrolledMb;
                refresh << f.refresh;
            }
            out << QString("%1 %2: first screen %3 ms, longest stall %4 ms, read (and the file free) after %5 ms, "
                           "memory +%6 MB at peak, +%7 MB at idle; to the end in %8 ms, longest stall %9 ms, "
                           "then +%10 MB; refresh %11 ms")
                       .arg(backEnd, -7)
                       .arg(list.first, -13)
                       .arg(median(first), 0, 'f', 1)
                       .arg(median(stall), 0, 'f', 1)
                       .arg(median(done), 0, 'f', 0)
                       .arg(median(peak), 0, 'f', 1)
                       .arg(median(idle), 0, 'f', 1)
                       .arg(median(scroll), 0, 'f', 0)
                       .arg(median(scrollStall), 0, 'f', 1)
                       .arg(median(scrolled), 0, 'f', 1)
                       .arg(median(refresh), 0, 'f', 1)
                << Qt::endl;
        }
        // Delete after Ctrl+A on every asset, Restore of them all, Delete and Delete for good, as the window runs them.
        QList<QAction*> actions;
        for (int i = 0; i < AssetManager::ActionCount; ++i)
            actions << new QAction(&bench.table());
        AssetManager manager(nullptr, actions);
        AssetTreeView treeView;
        treeView.setModel(tree.get());
        QObject::connect(bench.table().selectionModel(), &QItemSelectionModel::selectionChanged, &manager,
                         &AssetManager::tableSelectionChanged);
        QObject::connect(treeView.selectionModel(), &QItemSelectionModel::selectionChanged, &manager,
                         &AssetManager::treeItemSelected);
        QObject::connect(&manager, &AssetManager::assetsRemoved, &bench.table(), &AssetTableView::assetsRemoved);
        QObject::connect(&manager, &AssetManager::assetsRestored, &bench.table(), &AssetTableView::assetsRestored);
        QObject::connect(&manager, &AssetManager::showAllAssets, &bench.table(), &AssetTableView::showAllAssets);
        QObject::connect(&manager, &AssetManager::showRecycledAssets, &bench.table(), &AssetTableView::showRecycledAssets);
        DialogAnswerer sure;
        const auto recycle = AssetManager::DeleteAssetsAction, restore = AssetManager::RestoreAssetsAction,
                   client = AssetManager::DeleteClientAction;
        for (const auto& [what, inBin, action] :
             {std::tuple{"recycle all", false, recycle}, {"restore all", true, restore}, {"delete client", false, client},
              {"recycle all", false, recycle}, {"delete for good", true, recycle}}) {
            action == client ? treeView.selectClient(1) : inBin ? treeView.selectRecycled() : treeView.selectDatabase();
            QElapsedTimer clock;
            clock.start();
            bench.waitRead(clock);
            bench.table().selectAll();
            sure.pressNext("Yes");
            const auto [stall, ms] = bench.stallOf([&, action = action] { actions.at(action)->trigger(); });
            out << QString("%1 %2: %3 ms, longest stall %4 ms").arg(backEnd, -7).arg(what, -15).arg(ms, 0, 'f', 0).arg(stall, 0, 'f', 1) << Qt::endl;
        }
    }
    tree.reset();
    root.reset();
    Database::setInstance(nullptr);
    if (!serverName.isEmpty())
        MariaDbServer::dropDatabase(serverName);
}
} // namespace

int main(int argc, char** argv)
{
    return runTestMain(argc, argv, [](int c, char** v) {
        QTextStream out(stdout);
        const QString only = c > 1 ? QString::fromLatin1(v[1]) : QString("both");
        if (c > 2)
            assetsPerLocation = std::max(1, QString::fromLatin1(v[2]).toInt() / 1000);
        if (only == "both" || only == "sqlite")
            run(out, true);
        if (only == "both" || only == "mariadb")
            run(out, false);
        return 0;
    });
}
