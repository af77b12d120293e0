// Downloads 1,000 asset records from a simulated instrument over a
// pseudo-terminal into a fresh SQLite file and prints how long the program
// took per record beside how long the record takes on a 115,200-baud line.
// Then it keeps a download open on a silent line for 10 s and prints the
// processor time that cost.
//
// Usage: BenchDownload [--mysql] [--delay US] [--retests] [--records N]
// (--mysql: into a fresh MariaDB database of scripts/mariadb-test-server;
// US: through a relay that holds every piece US microseconds each way;
// --retests: the register holds every asset with a set of a year before,
// stored before the download; N records, default 1,000).
//
// The instrument answers as a real one would: it sends the next packet when
// the ACK of the last one arrives, from inside the download's own event
// loop. The pseudo-terminal has no baud rate, so the time from the last byte
// of a packet to its ACK is the program's: polling, unescaping, framing, the
// temporary file, the import with its SQL, and the ACK.

#include "InstrumentRecords.h"
#include "database/MySqlDatabase.h"
#include "database/SqlQuery.h"
#include "database/StatementCache.h"
#include "database/SqliteDatabase.h"
#include "support/MariaDbServer.h"
#include "support/SeededDatabase.h"
#include "support/ServerRelay.h"
#include "support/TestEnvironment.h"
#include "transfer/Download.h"
#include "transfer/DownloadStats.h"
#include "transfer/ImportTsq.h"
#include "transfer/TransferTempFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

#include <algorithm>
#include <numeric>
#include <optional>
#include <cstdio>
#include <ctime>

using namespace InstrumentRecords;
using Seen = SimulatedInstrument::Seen;

namespace {

int RecordCount = 1000;
constexpr double WireBaud = 115200.0;
constexpr double BitsPerByte = 10.0; // start bit, 8 data bits, stop bit

// The program logs a few lines per packet; they go to a file as in the
// program, not to the terminal.
QFile* logFile = nullptr;
void fileLog(QtMsgType, const QMessageLogContext&, const QString& text)
{
    if (logFile)
        logFile->write(text.toLocal8Bit() + '\n');
}

QList<QByteArray> buildRecords(int year = 2026)
{
    QList<QByteArray> records;
    records << header(RecordCount);
    const QDateTime tested(QDate(year, 1, 10), QTime(8, 0));
    for (int i = 0; i < RecordCount; ++i) {
        QList<EarthBond> results;
        for (int r = 0; r < 6; ++r)
            results.append({quint8(1), 0.05f + 0.01f * float(r)});
        records << asset(QStringLiteral("Asset %1").arg(i, 4, 10, QLatin1Char('0')), tested.addSecs(60 * i),
                         1, results, QStringLiteral("SN%1").arg(i));
    }
    records << end();
    return records;
}

// Processor time of this process: unlike the wall clock it does not grow
// when other work loads the machine (nor while SQLite waits for the disk).
double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

constexpr int IdleMs = 10000;

// A download waiting on a line on which the instrument says nothing, as
// between two tests; the share of one core the program used meanwhile.
double idleShare()
{
    SimulatedInstrument instrument;
    if (!instrument.isValid())
        return -1;
    DownloadStats stats;
    Download download(instrument.portName(), 115200, &stats);
    double share = -1;
    whenShown(
        &download,
        [&] {
            const double before = cpuMs();
            QElapsedTimer wall;
            wall.start();
            QTest::qWait(IdleMs);
            share = (cpuMs() - before) / double(wall.elapsed());
            download.abort();
        },
        [&download] { download.abort(); });
    download.start();
    return share;
}

int runBench()
{
    const QStringList args = QCoreApplication::arguments();
    const qsizetype delayAt = args.indexOf(QStringLiteral("--delay"));
    const int delay = delayAt > 0 ? args.value(delayAt + 1).toInt() : 0;
    if (const qsizetype at = args.indexOf(QStringLiteral("--records")); at > 0)
        RecordCount = std::max(1, args.value(at + 1).toInt());
    std::optional<MariaDbServer::ScopedDatabase> server;
    ServerRelay relay;
    Database* db = nullptr;
    if (args.contains(QStringLiteral("--mysql"))) {
        QString why;
        server.emplace(QStringLiteral("bench download"));
        if (!MariaDbServer::reachable(&why) || !server->install()) {
            std::fprintf(stderr, "MariaDB not reachable: %s\n", qPrintable(why));
            return 1;
        }
        db = Database::instance();
        if (delay > 0) {
            relay.delay(delay);
            auto* relayed = new MySqlDatabase;
            if (relayed->open(ServerRelay::settings(server->name())) != 0)
                return 1;
            Database::setInstance(db = relayed);
        }
        std::printf("into MariaDB, %d us each way\n", delay);
    } else {
        db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/bench.db");
    }
    if (args.contains(QStringLiteral("--retests"))) {
        StatementCache statements(db->connection());
        for (const QByteArray& record : buildRecords(2025))
            ImportTsq().import(record);
    }
    SimulatedInstrument instrument;
    if (!db || !instrument.isValid()) {
        std::fprintf(stderr, "no database or no pseudo-terminal\n");
        return 1;
    }
    QFile log(TestEnvironment::instance()->newFolder() + "/bench.log");
    log.open(QIODevice::WriteOnly);
    logFile = &log;
    qInstallMessageHandler(fileLog);

    const QList<QByteArray> records = buildRecords();
    QList<qint64> frameBytes;
    QList<double> responseMs;
    int next = 0;
    QElapsedTimer sinceSent;
    QElapsedTimer total;

    auto sendNext = [&] {
        const quint8 id = quint8(4 + next % 123);
        instrument.sendPacket(id, records.at(next));
        sinceSent.start();
        frameBytes << instrument.lastFrame().size();
        ++next;
    };
    QObject::connect(&instrument, &SimulatedInstrument::frameSeen, &instrument, [&](const Seen& frame) {
        if (frame.kind != Seen::Ack)
            return;
        responseMs << double(sinceSent.nsecsElapsed()) / 1e6;
        if (next < records.size())
            sendNext();
    });

    DownloadStats stats;
    Download download(instrument.portName(), 115200, &stats);
    double cpuAtStart = 0;
    whenShown(&download, [&] { total.start(); cpuAtStart = cpuMs(); sendNext(); }, [] {});
    // A stalled run must not hang: give up after a generous time.
    QTimer::singleShot(600000, &download, [&download] { download.abort(); });
    download.start();
    const double totalMs = double(total.nsecsElapsed()) / 1e6;
    const double totalCpuMs = cpuMs() - cpuAtStart;
    qInstallMessageHandler(nullptr);
    logFile = nullptr;

    // Asset records only: the header and the end record are left out.
    const QList<double> assetMs = responseMs.mid(1, RecordCount);
    const QList<qint64> assetBytes = frameBytes.mid(1, RecordCount);
    double meanMs = 0;
    for (double ms : assetMs)
        meanMs += ms;
    meanMs /= std::max<qsizetype>(assetMs.size(), 1);
    double meanBytes = 0;
    for (qint64 bytes : assetBytes)
        meanBytes += double(bytes);
    meanBytes /= std::max<qsizetype>(assetBytes.size(), 1);
    const double wireMs = meanBytes * BitsPerByte / WireBaud * 1000.0;

    SqlQuery count;
    count.exec(QStringLiteral("SELECT (SELECT COUNT(*) FROM Asset), (SELECT COUNT(*) FROM Result)"));
    count.next();
    std::printf("records acknowledged      %lld of %d (download %s, %d Pass counted)\n",
                static_cast<long long>(assetMs.size()), RecordCount,
                download.result() == QDialog::Accepted ? "completed" : "NOT completed", stats[DownloadStats::Pass]);
    std::printf("rows written              %d assets, %d results\n", count.value(0).toInt(), count.value(1).toInt());
    std::printf("frame size per record     %.0f bytes\n", meanBytes);
    std::printf("program time per record   mean %.3f ms, median %.3f ms, max %.3f ms\n", meanMs, median(assetMs),
                assetMs.isEmpty() ? 0 : *std::max_element(assetMs.begin(), assetMs.end()));
    std::printf("processor time per packet %.3f ms (instrument side included)\n",
                totalCpuMs / double(std::max<qsizetype>(responseMs.size(), 1)));
    std::printf("wire time per record      %.3f ms at 115,200 baud (8N1)\n", wireMs);
    std::printf("program / wire            %.2f\n", wireMs > 0 ? meanMs / wireMs : 0);
    std::printf("whole download            %.0f ms, %lld packets acknowledged\n", totalMs,
                static_cast<long long>(responseMs.size()));
    const bool completed = download.result() == QDialog::Accepted;

    // The temporary file as the download writes it, between the imports'
    // commits (which wait for the disk), packet ids going round; the same
    // records imported again only find their result sets stored.
    QList<double> fileMs;
    for (int i = 0; i < RecordCount; ++i) {
        QElapsedTimer file;
        file.start();
        TransferTempFile::write(QStringLiteral("import"), quint8(4 + i % 123), records.at(1 + i));
        fileMs << double(file.nsecsElapsed()) / 1e6;
        ImportTsq importer;
        importer.import(records.at(1 + i));
    }
    std::printf("temporary file per record median %.3f ms, mean %.3f ms, max %.3f ms (mean %.4f of wire time)\n",
                median(fileMs), std::accumulate(fileMs.begin(), fileMs.end(), 0.0) / fileMs.size(),
                *std::max_element(fileMs.begin(), fileMs.end()),
                wireMs > 0 ? std::accumulate(fileMs.begin(), fileMs.end(), 0.0) / fileMs.size() / wireMs : 0);

    const double idle = idleShare();
    std::printf("silent line, %d s          processor time %.2f %% of one core\n", IdleMs / 1000, idle * 100.0);
    Database::setInstance(nullptr);
    return completed && idle >= 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    return runTestMain(argc, argv, [](int, char**) { return runBench(); });
}
