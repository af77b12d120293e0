#include "InstrumentRecords.h"
#include "SqlRows.h"
#include "database/MySqlDatabase.h"
#include "database/SqliteDatabase.h"
#include "database/WriteLock.h"
#include "results/AlertThresholds.h"
#include "support/DialogAnswerer.h"
#include "support/MariaDbServer.h"
#include "support/PermissionsEnforced.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"
#include "transfer/Download.h"
#include "transfer/DownloadStats.h"
#include "transfer/TransferTempFile.h"
#include "ux/InstrumentTypeString.h"

#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <grp.h>
#include <pty.h>
#include <sys/stat.h>
#include <memory>

using namespace InstrumentRecords;
using namespace SqlRows;
using Seen = SimulatedInstrument::Seen;
using Fault = SimulatedInstrument::Fault;

namespace {

double processorMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

QList<int> counters(const DownloadStats& stats)
{
    return QList<int>(std::begin(stats.counters), std::end(stats.counters));
}

} // namespace

// Downloads over a pseudo-terminal from a simulated instrument into a real
// SQLite file.
class TestDownload : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        instrument = std::make_unique<SimulatedInstrument>();
        QVERIFY(instrument->isValid());
        db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/download.db");
        QVERIFY(db);
        QDir(TransferTempFile::folder()).removeRecursively();
        for (double& value : AlertThresholds::values)
            value = 0;
    }

    void cleanup()
    {
        Database::setInstance(nullptr);
        db = nullptr;
        instrument.reset();
    }

    void wholeTransfer() { transferSixRecords(); }

    // The same download into a server database, where the download's
    // statements go as texts, several to a round trip.
    void wholeTransferIntoMariaDb()
    {
        PELVANE_REQUIRE_MARIADB();
        MariaDbServer::ScopedDatabase database("download");
        DialogAnswerer answerer;
        answerer.pressNext("Yes");
        auto* server = new MySqlDatabase;
        QCOMPARE(server->open(MariaDbServer::settings(database.name())), 0);
        Database::setInstance(server);
        db = nullptr;
        transferSixRecords();
    }

    void lineFaults()
    {
        const QByteArray pump = asset("Pump", QDateTime(QDate(2026, 1, 10), QTime(9, 0)), 1, {{1, 0.1f}});
        const QByteArray routine = sequence("Routine", 2, QByteArray::fromHex("0201"));
        QList<int> chunks;
        for (int i = 0; i < 40; ++i)
            chunks << 1 + i % 3;

        DownloadStats stats;
        Download download(instrument->portName(), 57600, &stats);
        run(download, [&] {
            QVERIFY(exchange(4, header(3)));
            // A spoilt sum is refused with the id of the last good packet.
            QVERIFY(exchange(5, pump, SimulatedInstrument::BadSum));
            QCOMPARE(instrument->seen().last().kind, Seen::Nck);
            QCOMPARE(int(instrument->seen().last().id), 4);
            // Before the repeat comes, a stray byte is refused too.
            const int before = replies();
            QVERIFY(instrument->sendRaw(QByteArray("\x55", 1)));
            QVERIFY(instrument->waitUntil([&] { return replies() > before; }, 3000));
            QCOMPARE(instrument->seen().last().kind, Seen::Nck);
            // The packet again, in many small reads.
            QVERIFY(exchange(5, pump, SimulatedInstrument::NoFault, chunks));
            QCOMPARE(instrument->seen().last().kind, Seen::Ack);
            QCOMPARE(counts("ResultSet"), QStringLiteral("1"));
            // Between good packets a stray byte is left unanswered.
            const int quiet = replies();
            QVERIFY(instrument->sendRaw(QByteArray("\x55", 1)));
            QVERIFY(!instrument->waitUntil([&] { return replies() > quiet; }, 200));
            // The ACK got lost: the instrument repeats, the program acknowledges again.
            const int acked = replies();
            QVERIFY(instrument->resendLastPacket());
            QVERIFY(instrument->waitUntil([&] { return replies() > acked; }, 3000));
            QCOMPARE(instrument->seen().last().kind, Seen::Ack);
            QCOMPARE(int(instrument->seen().last().id), 5);
            QVERIFY(exchange(6, routine, SimulatedInstrument::NoFault, {3, 5, 7}));
            QVERIFY(exchange(7, end()));
        });

        QCOMPARE(download.result(), int(QDialog::Accepted));
        QCOMPARE(ids(instrument->seenOfKind(Seen::Ack)), QList<int>({4, 5, 5, 6, 7}));
        QCOMPARE(instrument->seenOfKind(Seen::Nck).size(), 2);
        QCOMPARE(counters(stats), QList<int>({1, 1, 0, 0, 0, 0}));
        QCOMPARE(counts("Asset,ResultSet,Result,GlobalTestSequence"), QStringLiteral("1 1 1 1"));
        QCOMPARE(fileContents(TransferTempFile::path("import", 5)), pump);
        QCOMPARE(fileContents(TransferTempFile::path("import", 6)), routine);
    }

    void abortKeepsWhatCameBefore()
    {
        const QDateTime tested(QDate(2026, 1, 10), QTime(9, 0));
        const QByteArray third = asset("Lamp", tested, 1, {{1, 0.1f}});
        const QByteArray thirdFrame = SimulatedInstrument::frame(7, third);

        DownloadStats stats;
        Download download(instrument->portName(), 57600, &stats);
        run(download, [&] {
            QVERIFY(exchange(4, header(4)));
            QVERIFY(exchange(5, asset("Pump", tested, 1, {{1, 0.1f}})));
            QVERIFY(exchange(6, asset("Defib", tested, 2, {{2, 0.9f}})));
            // Half a record on the line when the user gives up.
            QVERIFY(instrument->sendAndWaitRead(thirdFrame.left(thirdFrame.size() / 2)));
            download.abortBtnClicked();
        });

        QCOMPARE(download.result(), int(QDialog::Rejected));
        // The rest of the record and one more arrive after the Abort.
        QVERIFY(instrument->sendRaw(thirdFrame.mid(thirdFrame.size() / 2)));
        QVERIFY(instrument->sendPacket(8, asset("Scale", tested, 1, {{1, 0.1f}})));
        QTest::qWait(100);

        QCOMPARE(counters(stats), QList<int>({0, 1, 1, 0, 0, 0}));
        QCOMPARE(ids(instrument->seenOfKind(Seen::Ack)), QList<int>({4, 5, 6}));
        QCOMPARE(rows("SELECT Name FROM Asset ORDER BY Id"), QStringList({"Pump", "Defib"}));
        QCOMPARE(counts("ResultSet,Result"), QStringLiteral("2 2"));
        QVERIFY(!QFile::exists(TransferTempFile::path("import", 7)));
    }

    void announcedCountClosesBeforeEndRecord()
    {
        DownloadStats stats;
        Download download(instrument->portName(), 57600, &stats);
        int afterHeader = -1;
        run(download, [&] {
            QVERIFY(exchange(4, header(0)));
            afterHeader = download.progressValue();
            // One record more than announced: the dialog closes on it.
            QVERIFY(exchange(5, asset("Pump", QDateTime(QDate(2026, 1, 10), QTime(9, 0)), 2, {{2, 1.0f}})));
        });
        QCOMPARE(afterHeader, 50);
        QCOMPARE(download.result(), int(QDialog::Accepted));
        QCOMPARE(download.progressValue(), 100);
        QCOMPARE(counters(stats), QList<int>({0, 0, 1, 0, 0, 0}));

        // The end record that follows is no longer taken.
        QVERIFY(instrument->sendPacket(6, end()));
        QTest::qWait(100);
        QCOMPARE(ids(instrument->seenOfKind(Seen::Ack)), QList<int>({4, 5}));
    }

    void packetsAfterTheCloseInTheSameReadAreImported()
    {
        const QByteArray first = sequence("First", 1, QByteArray::fromHex("0201"));
        const QByteArray second = sequence("Second", 2, QByteArray::fromHex("0201"));
        const QByteArray firstFrame = SimulatedInstrument::frame(5, first);
        // The tail of the record that closes the dialog, one record more and
        // the end record, all in one read of the program.
        const QByteArray tail = firstFrame.right(2) + SimulatedInstrument::frame(6, second)
                                + SimulatedInstrument::frame(7, end());
        QVERIFY(tail.size() <= 100);

        DownloadStats stats;
        Download download(instrument->portName(), 57600, &stats);
        run(download, [&] {
            QVERIFY(exchange(4, header(0)));
            QVERIFY(instrument->sendRaw(firstFrame + tail, {int(firstFrame.size()) - 2}));
            QVERIFY(instrument->waitUntil([&] { return replies() >= 4; }, 3000));
        });
        QCOMPARE(download.result(), int(QDialog::Accepted));
        QCOMPARE(ids(instrument->seenOfKind(Seen::Ack)), QList<int>({4, 5, 6, 7}));
        // What the instrument was told arrived is in the database.
        QCOMPARE(rows("SELECT Name FROM GlobalTestSequence ORDER BY Id"), QStringList({"First", "Second"}));
        QCOMPARE(counters(stats), QList<int>({2, 0, 0, 0, 0, 0}));
        QCOMPARE(fileContents(TransferTempFile::path("import", 6)), second);
    }

    void withoutCountOnlyTheEndCloses()
    {
        const QDateTime tested(QDate(2026, 1, 10), QTime(9, 0));
        const QByteArray older = asset("Pump", tested, 1, {{1, 0.1f}});
        const QByteArray newer = asset("Scale", tested, 4, {{1, 0.1f}});
        DownloadStats stats;
        Download download(instrument->portName(), 57600, &stats);
        QList<int> progress;
        run(download, [&] {
            QVERIFY(exchange(4, header(-1)));
            // Two records under one packet id: the later one stays in the trace.
            QVERIFY(exchange(5, older));
            QVERIFY(exchange(5, newer));
            QVERIFY(download.isVisible());
            progress << download.progressValue() << download.progressMaximum();
            QVERIFY(exchange(6, end()));
        });
        QCOMPARE(progress, QList<int>({0, 100}));
        QCOMPARE(download.result(), int(QDialog::Accepted));
        // Overall result Info counts with the other outcomes.
        QCOMPARE(counters(stats), QList<int>({0, 1, 0, 0, 0, 1}));
        QCOMPARE(fileContents(TransferTempFile::path("import", 5)), newer);
    }

    // Another program keeps the file's write lock through every attempt: the
    // download stops, saying why and what was not saved, and the program goes
    // on, whichever kind of record met the lock.
    void busyDatabaseStopsTheDownload_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QString>("notSaved");
        QTest::newRow("asset") << asset("Pump", QDateTime(QDate(2026, 1, 10), QTime(9, 0)), 1, {{1, 0.1f}})
                               << "the test record of asset Pump, tested 10/01/2026";
        QTest::newRow("test sequence") << sequence("Class I", 1, QByteArray(8, '\1')) << "the test sequence Class I";
    }
    void busyDatabaseStopsTheDownload()
    {
        QFETCH(QByteArray, record);
        QFETCH(QString, notSaved);
        WriteLock::waitSeconds = 0;
        auto restore = qScopeGuard([] { WriteLock::waitSeconds = 20; });
        auto* waitsLess = new SqliteDatabase;
        QCOMPARE(waitsLess->open(db->filePath(), false), 0);
        Database::setInstance(waitsLess);
        db = waitsLess;
        DialogAnswerer answerer;
        DownloadStats stats;
        {
            QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
            holder.setDatabaseName(db->filePath());
            QVERIFY(holder.open());
            Download download(instrument->portName(), 57600, &stats);
            run(download, [&] {
                QVERIFY(exchange(4, header(3)));
                QVERIFY(QSqlQuery(holder).exec(QStringLiteral("BEGIN IMMEDIATE")));
                QVERIFY(exchange(5, record));
            });
        }
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));

        QVERIFY2(answerer.last().text.contains("busy with another workstation's change")
                     && answerer.last().text.contains("Not saved:\n  - " + notSaved
                                                      + "\n  - the records the tester sent after it"),
                 qPrintable(answerer.last().text));
        QCOMPARE(counts("Asset,ResultSet,GlobalTestSequence"), QStringLiteral("0 0 0"));
        QCOMPARE(counters(stats), QList<int>({0, 0, 0, 0, 0, 0}));
    }

    void vanishedDeviceEndsTheDownload()
    {
        const QString device = instrument->portName();
        DialogAnswerer answerer;
        DownloadStats stats;
        Download download(device, 57600, &stats);
        run(download, [&] {
            QVERIFY(exchange(4, header(3)));
            QVERIFY(exchange(5, asset("Pump", QDateTime(QDate(2026, 1, 10), QTime(9, 0)), 1, {{1, 0.1f}})));
            // The cable is pulled: the far end of the line goes away.
            instrument.reset();
            QTRY_VERIFY_WITH_TIMEOUT(!download.isVisible(), 3000);
        });
        QCOMPARE(download.result(), int(QDialog::Rejected));
        QVERIFY(answerer.waitForCount(1, 3000));
        QVERIFY2(answerer.last().text.contains(device), qPrintable(answerer.last().text));
        QCOMPARE(answerer.last().icon, int(QMessageBox::Warning));
        // What came before is kept and counted.
        QCOMPARE(counters(stats), QList<int>({0, 1, 0, 0, 0, 0}));
        QCOMPARE(counts("Asset,ResultSet"), QStringLiteral("1 1"));
    }

    void idleLineCostsNextToNoProcessorTime()
    {
        DownloadStats stats;
        Download download(instrument->portName(), 57600, &stats);
        double busy = -1;
        run(download, [&] {
            QVERIFY(exchange(4, header(2)));
            // The instrument is silent for a while, as between two tests.
            const double before = processorMs();
            QElapsedTimer wall;
            wall.start();
            QTest::qWait(500);
            busy = (processorMs() - before) / double(wall.elapsed());
            QVERIFY(exchange(5, end()));
        });
        QCOMPARE(download.result(), int(QDialog::Accepted));
        QVERIFY2(busy >= 0 && busy < 0.1, qPrintable(QString::number(busy)));
    }

    void missingPort()
    {
        DialogAnswerer answerer;
        DownloadStats stats;
        Download download(QStringLiteral("/dev/pelvane-no-such-port"), 57600, &stats);
        QSignalSpy finished(&download, &QDialog::finished);
        bool shown = false;
        whenShown(&download, [&] { shown = true; }, [&download] { download.abort(); });
        download.start();

        QCOMPARE(answerer.count(), 1);
        // The port and the system's reason, as the user can act on them.
        QCOMPARE(answerer.last().text, QStringLiteral("The serial port /dev/pelvane-no-such-port could not be "
                                                      "opened: %1.")
                                           .arg(QString::fromLocal8Bit(std::strerror(ENOENT))));
        QVERIFY(!shown);
        QCOMPARE(finished.size(), 0);
        QCOMPARE(counters(stats), QList<int>({0, 0, 0, 0, 0, 0}));
        QVERIFY(!QDir(TransferTempFile::folder()).exists());
    }

    // A serial device that this user may not open, as /dev/ttyS0 is for a
    // user outside "dialout": the box names the device and the way in.
    void refusedPortIsExplained()
    {
        int master = -1;
        int slave = -1;
        char name[256] = {};
        QVERIFY(::openpty(&master, &slave, name, nullptr, nullptr) == 0);
        auto closePty = qScopeGuard([&] { ::close(slave); ::close(master); });
        const group* dialout = ::getgrnam("dialout");
        QVERIFY(dialout && ::chown(name, ::geteuid(), dialout->gr_gid) == 0 && ::chmod(name, 060) == 0);
        PermissionsEnforced enforced;

        DialogAnswerer answerer;
        DownloadStats stats;
        Download download(QString::fromLocal8Bit(name), 57600, &stats);
        QSignalSpy finished(&download, &QDialog::finished);
        download.start();
        QCOMPARE(answerer.count(), 1);
        const QString text = answerer.last().text;
        for (const QString& part : {QString::fromLocal8Bit(name), QStringLiteral("\"dialout\""),
                                    QStringLiteral("log in again")})
            QVERIFY2(text.contains(part), qPrintable(text));
        QCOMPARE(finished.size(), 0);
    }

private:
    // Sends one packet and waits for the program's answer to it.
    bool exchange(quint8 id, const QByteArray& record, Fault fault = SimulatedInstrument::NoFault,
                  QList<int> chunks = {})
    {
        const int before = replies();
        return instrument->sendPacket(id, record, fault, chunks)
               && instrument->waitUntil([&] { return replies() > before; }, 3000);
    }

    int replies() const
    {
        return int(instrument->seenOfKind(Seen::Ack).size() + instrument->seenOfKind(Seen::Nck).size());
    }

    // Six records of every kind, one of them an alert and one a repeat.
    void transferSixRecords()
    {
        AlertThresholds::values[AlertThresholds::ResistanceAbsolute] = 0.05;
        const QDateTime first(QDate(2026, 1, 10), QTime(9, 30, 0));
        const QDateTime later(QDate(2026, 2, 10), QTime(9, 30, 0));
        const QList<QByteArray> records = {
            header(6),
            asset("Pump", first, 1, {{1, 0.10f}}),
            asset("Defib", first, 2, {{2, 0.50f}}),
            asset("Lamp", first, 1, {}),
            asset("Pump", later, 1, {{1, 0.30f}}),   // drifted from the first Pump test
            asset("Defib", first, 2, {{2, 0.50f}}),  // the same test again
            sequence("Class I routine", 1, QByteArray::fromHex("0201060a")),
            end(),
        };

        DownloadStats stats;
        Download download(instrument->portName(), 115200, &stats);
        QSignalSpy finished(&download, &QDialog::finished);
        QList<int> progress;
        run(download, [&] {
            for (int i = 0; i < records.size(); ++i) {
                QVERIFY2(exchange(quint8(4 + i), records.at(i)), qPrintable(QString::number(i)));
                progress << download.progressValue();
            }
        });

        QCOMPARE(finished.size(), 1);
        QCOMPARE(download.result(), int(QDialog::Accepted));
        // 6 records announced: 8 packets with header and end record.
        QCOMPARE(progress, QList<int>({12, 25, 37, 50, 62, 75, 87, 100}));
        QCOMPARE(counters(stats), QList<int>({1, 1, 1, 1, 1, 1}));
        QCOMPARE(ids(instrument->seenOfKind(Seen::Ack)), QList<int>({4, 5, 6, 7, 8, 9, 10, 11}));
        QVERIFY(instrument->seenOfKind(Seen::Nck).isEmpty());

        QCOMPARE(counts("Client,Asset,ResultSet,Result,AppliedPart,TestSequence"), QStringLiteral("1 3 3 3 3 3"));
        QCOMPARE(row("SELECT Name,EquipmentClass,hex(Data) FROM GlobalTestSequence"),
                 QStringLiteral("Class I routine|1|0201060A"));
        QCOMPARE(row("SELECT SerialNo,InstrumentType FROM Instrument"),
                 QStringLiteral("SN-1001|%1").arg(Ux::InstrumentTypeString::fromName("Tavisk Q1")));
        QCOMPARE(rows("SELECT a.Name,r.OverallResult,r.InstrumentId FROM ResultSet r JOIN Asset a ON a.Id=r.AssetId "
                      "ORDER BY r.Id"),
                 QStringList({"Pump|1|1", "Defib|2|1", "Pump|5|1"}));

        for (int i = 0; i < records.size(); ++i)
            QCOMPARE(fileContents(TransferTempFile::path("import", quint8(4 + i))), records.at(i));
        QCOMPARE(QDir(TransferTempFile::folder()).entryList(QDir::Files).size(), records.size());
    }

    void run(Download& download, std::function<void()> script);

    std::unique_ptr<SimulatedInstrument> instrument;
    SqliteDatabase* db = nullptr;
};


void TestDownload::run(Download& download, std::function<void()> script)
{
    whenShown(&download, std::move(script), [&download] { download.abort(); });
    download.start();
}

PELVANE_TEST_MAIN(TestDownload)
#include "TestDownload.moc"
