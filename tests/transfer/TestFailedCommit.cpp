// A download whose commit fails (the disk full) must stop as a refused
// statement does, never count the record as stored.

#include "InstrumentRecords.h"
#include "SqlRows.h"
#include "database/SqliteDatabase.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"
#include "transfer/Download.h"
#include "transfer/DownloadStats.h"

#include <QFileInfo>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>

using namespace InstrumentRecords;
using namespace SqlRows;
using Seen = SimulatedInstrument::Seen;

namespace {
constexpr int RecordCount = 200;

int storedCount(const DownloadStats& stats)
{
    int sum = 0;
    for (int counter : stats.counters)
        sum += counter;
    return sum;
}
} // namespace

// The file may grow a few pages, then every write past that size fails as
// on a full disk: the statements of a record still run in SQLite's cache,
// the commit that writes them out is the one that fails.
PELVANE_CHILD_SCENARIO(downloadOntoFullDisk)
{
    SqliteDatabase* db = SeededDatabase::createEmpty(args.value(0));
    SimulatedInstrument instrument;
    if (!db || !instrument.isValid())
        return 3;
    std::signal(SIGXFSZ, SIG_IGN);
    const rlim_t limit = rlim_t(QFileInfo(args.value(0)).size() + 16 * 1024);
    const rlimit fileSize{limit, limit};
    if (setrlimit(RLIMIT_FSIZE, &fileSize) != 0)
        return 4;

    DownloadStats stats;
    Download download(instrument.portName(), 115200, &stats);
    const QDateTime tested(QDate(2026, 3, 2), QTime(8, 0));
    auto exchange = [&](quint8 id, const QByteArray& record) {
        const auto replies = [&] { return instrument.seenOfKind(Seen::Ack).size(); };
        const auto before = replies();
        return instrument.sendPacket(id, record) && instrument.waitUntil([&] { return replies() > before; }, 5000);
    };
    whenShown(
        &download,
        [&] {
            if (!exchange(4, header(RecordCount)))
                return;
            for (int i = 0; i < RecordCount; ++i) {
                const QString name = QStringLiteral("Pump %1 ").arg(i) + QString(200, QLatin1Char('x'));
                if (!exchange(quint8(5 + i % 120), asset(name, tested.addSecs(60 * i), 1, {{1, 0.1f}})))
                    return;
                std::printf("stored %d\n", storedCount(stats));
                std::fflush(stdout);
            }
        },
        [&download] { download.abort(); });
    download.start();
    std::printf("finished, stored %d\n", storedCount(stats));
    return 0;
}

class TestFailedCommit : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Database::setInstance(nullptr); }
    void diskFullEndsTheDownloadWithWhatWasStored();
};

void TestFailedCommit::diskFullEndsTheDownloadWithWhatWasStored()
{
    const QString path = TestEnvironment::instance()->newFolder() + "/full.db";
    const ChildResult child = runChildScenario("downloadOntoFullDisk", {path});
    QVERIFY(!child.crashed);
    QVERIFY2(child.exitCode == 0, child.output.right(2000).constData());
    QVERIFY(child.output.contains("\"COMMIT\""));
    QVERIFY(child.output.contains("Unable to commit transaction"));
    QVERIFY(child.output.contains("finished"));

    // What the report had counted when the program ended is what the file holds.
    int counted = 0;
    for (const QByteArray& line : child.output.split('\n'))
        if (line.startsWith("stored "))
            counted = line.mid(7).toInt();
    QVERIFY(counted < RecordCount);

    auto* db = new SqliteDatabase;
    QCOMPARE(db->open(path, false), 0);
    Database::setInstance(db);
    QCOMPARE(counts("Asset,ResultSet"), QStringLiteral("%1 %1").arg(counted));
}

PELVANE_TEST_MAIN(TestFailedCommit)
#include "TestFailedCommit.moc"
