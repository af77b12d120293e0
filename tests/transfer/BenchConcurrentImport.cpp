// Several workstations downloading yearly retests into one MariaDB database
// at once: 1, 2, 4 and 8 importer processes, each with assets of its own
// that the register already holds (20 results a record, comparison alerts
// on). Each importer is given its records at the pace of a line at 115,200
// baud, as its instrument sends them, and then once more all at once.
// Paced twice: with the lines' records ending at the same moments (the worst
// case: every importer wants the write lock at once), and with the lines
// started at even steps within one record's wire time, as workstations that
// were started independently are.
//
// Prints for each number of importers, paced (aligned and staggered): the
// records all of them stored a second, and the 90th percentile and the
// largest of a record's import time over its time on the wire (a line is
// kept up with below 1); all at once: the records a second together.
//
// Usage: BenchConcurrentImport [--runs N] [--records R] [--kind K]
// [--delay US] [--importers 1,8] (R records for each importer, default 150;
// K: retests, new (new assets at known places) or mix (retests and new
// assets at new sites in turn); US: each importer reaches the server
// through a relay of its own that holds every piece US microseconds each
// way; needs the PELVANE_MYSQL_* variables of scripts/mariadb-test-server).
// Also prints the share of records whose attempt was rolled back and run
// again.

#include "TsqRecordBuilder.h"

#include "database/MySqlDatabase.h"
#include "database/StatementCache.h"
#include "results/AlertThresholds.h"
#include "support/MariaDbServer.h"
#include "support/ServerRelay.h"
#include "support/TestEnvironment.h"
#include "transfer/ImportTsq.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace TsqRecordBuilder;

namespace {

constexpr int MaxImporters = 8;
constexpr double WireBaud = 115200.0;
constexpr double BitsPerByte = 10.0; // start bit, 8 data bits, stop bit

// The register's places: what a record of asset i of importer p names.
Ux::TsqMedicalApplianceResult retestRecord(int process, int i, int round)
{
    const int n = process * 10000 + i;
    Ux::TsqMedicalApplianceResult r =
        asset(QStringLiteral("Asset %1-%2").arg(process).arg(i), QStringLiteral("EQ-%1").arg(n % 500));
    r.clientName = QStringLiteral("Client %1 O'Neil").arg(n % 10 + 1);
    r.siteName = QStringLiteral("Site %1").arg(n % 40 + 1);
    r.locationName = QStringLiteral("Ward %1").arg(n % 200 + 1);
    r.make = QStringLiteral("Make %1").arg(n % 37);
    r.model = QStringLiteral("Model %1").arg(n % 500);
    r.equipmentClass = quint8(n % 3);
    r.serviceCode = QStringLiteral("SC-%1").arg(n);
    r.appliedParts[0] = {5, 3, QStringLiteral("ECG")};
    r.appliedParts[1] = {};
    r.testSequenceName = QStringLiteral("Class I");
    r.testDate = QDateTime(QDate(2024, 1, 1), QTime(8, 0)).addDays(round).addSecs(i * 60);
    // Each round's earth bonds drift from the round before.
    std::vector<Element> results;
    for (int k = 0; k < 20; ++k) {
        switch (k % 4) {
        case 0: results.push_back(resistance(17, 0.1f + k * 0.01f + (round % 2) * 0.05f, 0.5f)); break;
        case 1: results.push_back(resistance(32, 50.0f + k, 2.0f)); break;
        case 2: results.push_back(leakage(48, 100.0f + k, 500.0f, 1, 1, 0x21)); break;
        default: results.push_back(visual(1)); break;
        }
    }
    r.testResultsData = resultsData(results);
    return r;
}

QByteArray retest(int process, int i, int round)
{
    Ux::TsqMedicalApplianceResult r = retestRecord(process, i, round);
    return bytes(r);
}

// Record i of importer p in round, by kind: a retest, a new asset at the
// retest's places, or (mix) every other one a new asset at a new site.
QByteArray recordOf(const QString& kind, int process, int i, int round)
{
    const bool fresh = kind == QLatin1String("new") || (kind == QLatin1String("mix") && i % 2);
    if (!fresh)
        return retest(process, i, round);
    Ux::TsqMedicalApplianceResult r = retestRecord(process, i, round);
    // Numbered as the lines go, so that the lines' new names meet at the end
    // of one range of the name index.
    r.applianceName = QStringLiteral("New %1-%2-%3").arg(round).arg(i, 3, 10, QLatin1Char('0')).arg(process);
    if (kind == QLatin1String("mix"))
        r.siteName = QStringLiteral("New site %1-%2-%3").arg(round).arg(process).arg(i);
    return bytes(r);
}

void alertOnDrift()
{
    for (double& threshold : AlertThresholds::values)
        threshold = 0.0;
    AlertThresholds::values[AlertThresholds::ResistanceRelative] = 0.1;
    AlertThresholds::values[AlertThresholds::InsulationRelative] = 0.1;
    AlertThresholds::values[AlertThresholds::LeakageRelative] = 0.1;
}

double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values.at(std::min(values.size() - 1, size_t(share * double(values.size()))));
}

// One importer: a download of its records of round, paced at its line's rate
// or given all at once, started when the file go appears, its line's first
// record ending start ms later than its wire time. Prints each record's
// import and wire time, and the time from go to its last record.
// Arguments: database, process, records, round, paced (1/0), go file, start,
// kind, delay.
PELVANE_CHILD_SCENARIO(importer)
{
    QString why;
    if (args.size() < 9 || !MariaDbServer::reachable(&why))
        return 2;
    const int process = args.at(1).toInt(), records = args.at(2).toInt(), round = args.at(3).toInt();
    const bool paced = args.at(4) == QLatin1String("1");
    alertOnDrift();
    ServerRelay relay;
    relay.delay(args.at(8).toInt());
    auto* db = new MySqlDatabase;
    if (db->open(args.at(8).toInt() > 0 ? ServerRelay::settings(args.at(0)) : MariaDbServer::settings(args.at(0))) != 0)
        return 3;
    Database::setInstance(db);
    QList<QByteArray> list;
    for (int i = 0; i < records; ++i)
        list << recordOf(args.at(7), process, i, round);
    std::printf("ready\n");
    std::fflush(stdout);
    while (!QFile::exists(args.at(5)))
        QThread::usleep(200);
    QElapsedTimer clock;
    clock.start();
    QByteArray out;
    {
        ImportTsq::resetTransfer();
        StatementCache statements(db->connection());
        double due = args.at(6).toDouble();
        for (const QByteArray& data : std::as_const(list)) {
            const double wireMs = double(data.size()) * BitsPerByte / WireBaud * 1000.0;
            due += wireMs;
            // The record is all there once its last byte has come.
            while (paced && double(clock.nsecsElapsed()) / 1e6 < due)
                QThread::usleep(100);
            const qint64 started = clock.nsecsElapsed();
            ImportTsq import;
            import.import(data);
            out += QByteArray::number(double(clock.nsecsElapsed() - started) / 1e6, 'f', 3) + '/'
                   + QByteArray::number(wireMs, 'f', 3) + ' ';
        }
    }
    std::printf("span %.3f\nrecords %s\n", double(clock.nsecsElapsed()) / 1e6, out.constData());
    std::fflush(stdout);
    Database::setInstance(nullptr);
    return 0;
}

struct Figures
{
    double perSecond = 0;
    double p50 = 0;
    double p90 = 0;
    double worst = 0;
    double retried = 0; // share of records
};

QString g_kind = QStringLiteral("retests");
int g_delay = 0;

Figures runImporters(const QString& database, int importers, int records, int round, bool paced,
                     bool staggered = false)
{
    const double wireMs = double(retest(0, 0, round).size()) * BitsPerByte / WireBaud * 1000.0;
    const QString go = TestEnvironment::instance()->newFolder(QStringLiteral("go")) + QStringLiteral("/go");
    std::vector<std::unique_ptr<QProcess>> children;
    for (int p = 0; p < importers; ++p) {
        children.push_back(std::make_unique<QProcess>());
        startChildScenario(*children.back(), QStringLiteral("importer"),
                           {database, QString::number(p), QString::number(records), QString::number(round),
                            paced ? QStringLiteral("1") : QStringLiteral("0"), go,
                            QString::number(staggered ? wireMs * p / importers : 0.0), g_kind,
                            QString::number(g_delay)});
    }
    for (const auto& child : children)
        while (child->state() != QProcess::NotRunning && !child->readAllStandardOutput().contains("ready"))
            child->waitForReadyRead(1000);
    QFile(go).open(QIODevice::WriteOnly);
    Figures figures;
    std::vector<double> ratios;
    double span = 0;
    int retried = 0;
    for (const auto& child : children) {
        child->waitForFinished(600000);
        const QByteArray output = child->readAllStandardOutput();
        retried += int(output.count("rolled back"));
        const int at = output.indexOf("span ");
        if (child->exitCode() != 0 || at < 0) {
            std::fprintf(stderr, "importer failed (%d): %s\n", child->exitCode(),
                         (output + child->readAllStandardError()).right(2000).constData());
            continue;
        }
        const QList<QByteArray> lines = output.mid(at).split('\n');
        span = std::max(span, lines.value(0).mid(5).toDouble());
        for (const QByteArray& pair : lines.value(1).mid(8).split(' ')) {
            const QList<QByteArray> times = pair.split('/');
            if (times.size() == 2)
                ratios.push_back(times.at(0).toDouble() / times.at(1).toDouble());
        }
    }
    figures.perSecond = span > 0 ? double(ratios.size()) / span * 1000.0 : 0;
    figures.p50 = percentile(ratios, 0.5);
    figures.p90 = percentile(ratios, 0.9);
    figures.retried = ratios.empty() ? 0 : double(retried) / double(ratios.size());
    figures.worst = percentile(ratios, 1.0);
    return figures;
}

int runBench(int, char**)
{
    const QStringList args = QCoreApplication::arguments();
    int runs = 1, records = 150;
    QList<int> lines = {1, 2, 4, MaxImporters};
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--kind"))
            g_kind = args.at(i + 1);
        if (args.at(i) == QLatin1String("--delay"))
            g_delay = args.at(i + 1).toInt();
        if (args.at(i) == QLatin1String("--importers")) {
            lines.clear();
            for (const QString& n : args.at(i + 1).split(QLatin1Char(',')))
                lines << std::clamp(n.toInt(), 1, MaxImporters);
        }
        if (args.at(i) == QLatin1String("--runs"))
            runs = std::max(1, args.at(i + 1).toInt());
        if (args.at(i) == QLatin1String("--records"))
            records = std::max(1, args.at(i + 1).toInt());
    }
    QString why;
    if (!MariaDbServer::reachable(&why)) {
        std::printf("MariaDB not reachable: %s\n", qPrintable(why));
        return 1;
    }
    alertOnDrift();
    MariaDbServer::ScopedDatabase database(QStringLiteral("bench concurrent"));
    if (!database.install())
        return 1;
    // The register: every asset with its first set, on places it shares with others.
    {
        StatementCache statements(Database::instance()->connection());
        for (int p = 0; p < MaxImporters; ++p)
            for (int i = 0; i < records; ++i)
                ImportTsq().import(retest(p, i, 0));
    }
    Database::setInstance(nullptr);

    std::printf("%s into MariaDB (%d us each way), %d records of 20 results for each importer, median of %d run(s)\n",
                qPrintable(g_kind), g_delay, records, runs);
    std::printf("importers | paced, aligned: records/s  p50 import/wire  p90  worst | staggered: p90  worst"
                " | all at once: records/s  p90 import/wire | retried\n");
    int round = 1;
    for (int importers : std::as_const(lines)) {
        std::vector<Figures> paced, staggered, flat;
        for (int run = 0; run < runs; ++run) {
            paced.push_back(runImporters(database.name(), importers, records, round++, true));
            staggered.push_back(runImporters(database.name(), importers, records, round++, true, true));
            flat.push_back(runImporters(database.name(), importers, records, round++, false));
        }
        auto middle = [](std::vector<Figures> all, double Figures::*field) {
            std::vector<double> values;
            for (const Figures& f : all)
                values.push_back(f.*field);
            return percentile(values, 0.5);
        };
        std::printf("%9d | %25.1f  %15.3f  %5.3f  %5.3f | %14.3f  %5.3f | %22.1f  %15.3f | %.4f\n", importers,
                    middle(paced, &Figures::perSecond), middle(paced, &Figures::p50), middle(paced, &Figures::p90),
                    middle(paced, &Figures::worst), middle(staggered, &Figures::p90), middle(staggered, &Figures::worst),
                    middle(flat, &Figures::perSecond), middle(flat, &Figures::p90),
                    (middle(paced, &Figures::retried) + middle(staggered, &Figures::retried)
                     + middle(flat, &Figures::retried)) / 3);
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return runTestMain(argc, argv, runBench);
}
