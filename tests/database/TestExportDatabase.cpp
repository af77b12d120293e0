#include "database/DatabaseTransaction.h"
#include "database/ExecSqlScript.h"
#include "database/ExportDatabase.h"
#include "database/ExportDatabaseThread.h"
#include "database/MySqlDatabase.h"
#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "support/DialogAnswerer.h"
#include "support/MariaDbServer.h"
#include "support/PermissionsEnforced.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

#include <csignal>
#include <ctime>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
QByteArray everyByte()
{
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(char(i));
    return bytes;
}

const QString kQuoted = QStringLiteral("O'Brien's \"Clinic\" \\ back");
const QString kMultiLine = QStringLiteral("Line 1\nends here;\n\nLine 4\r\nÜberprüfung Ω");
// A NUL inside a text: raw in the script it stops or shifts the replay.
const QString kWithNul = QStringLiteral("before") + QChar(0) + QStringLiteral("after'; x") + QChar(0);

// Every table gets rows, with the values that are hard to write as literals.
void fill(Database* db)
{
    const int client = db->findOrInsertClient(kQuoted);
    const int location = db->findOrInsertLocation(db->findOrInsertSite(client, "Site; 1"), "Room 'A'");
    const int equipment = db->findOrInsertEquipment("Make", "Model", "EQ-1", 1);
    const int instrument = db->findOrInsertInstrument(1, "Q1-0001", QDate(2026, 1, 15), "3.09", 115200, 8, 0, 1);
    const int asset = db->insertAsset("Pump", kMultiLine, "SC-1", "", location, equipment, 12);
    db->insertAsset("Spare", kWithNul, "SC-2", "SN-2", location, equipment, 6);
    const int set = db->insertResultSet(instrument, asset, QDateTime(QDate(2026, 3, 10), QTime(9, 30, 5)), 2, 2, 1,
                                        "tech", "It's fine");
    db->insertResultSet(QVariant(), asset, QDateTime(QDate(2026, 4, 1), QTime(8, 0)), -1, 0, 2, "tech", "");

    SqlQuery part(db->connection());
    part.prepareInsert("AppliedPart", {"AssetId", "Name", "ConnectionClass", "Connection", "NumConnections"},
                       db->type());
    part.bindValue(":AssetId", asset);
    part.bindValue(":Name", "ECG");
    part.bindValue(":ConnectionClass", 3);
    part.bindValue(":Connection", 1);
    part.bindValue(":NumConnections", 3);
    part.exec();

    SqlQuery sequence(db->connection());
    sequence.prepareInsert("TestSequence", {"Name", "AssetId", "Data"}, db->type());
    sequence.bindValue(":Name", "Own");
    sequence.bindValue(":AssetId", asset);
    sequence.bindValue(":Data", everyByte());
    sequence.exec();

    SqlQuery global(db->connection());
    global.prepareInsert("GlobalTestSequence", {"Name", "EquipmentClass", "Data"}, db->type());
    global.bindValue(":Name", "Class I");
    global.bindValue(":EquipmentClass", 1);
    global.bindValue(":Data", QByteArray("\x00';\n\\\xff", 6));
    global.exec();
    global.bindValue(":Name", "No data");
    global.bindValue(":EquipmentClass", 2);
    global.bindValue(":Data", QVariant(QMetaType(QMetaType::QByteArray)));
    global.exec();

    SqlQuery result(db->connection());
    result.prepareInsert("Result",
                         {"ResultSetId", "TestId", "Status", "ResultLimit", "Result", "ResultACDC", "ResultGreaterThan",
                          "CustomName", "CustomUnits"},
                         db->type());
    result.bindValue(":ResultSetId", set);
    result.bindValue(":TestId", 7);
    result.bindValue(":Status", 1);
    result.bindValue(":ResultLimit", 0.1);
    result.bindValue(":Result", 123456.789012345);
    result.bindValue(":ResultACDC", 2);
    result.bindValue(":ResultGreaterThan", 1);
    result.bindValue(":CustomName", "µA 'leak'");
    result.bindValue(":CustomUnits", "mΩ");
    result.exec();
    result.bindValue(":TestId", 8);
    result.bindValue(":ResultLimit", QVariant(QMetaType(QMetaType::Double)));
    result.bindValue(":Result", 1e-7);
    result.bindValue(":ResultACDC", QVariant(QMetaType(QMetaType::Int)));
    result.bindValue(":ResultGreaterThan", QVariant(QMetaType(QMetaType::Int)));
    result.bindValue(":CustomName", QVariant(QMetaType(QMetaType::QString)));
    result.bindValue(":CustomUnits", QVariant(QMetaType(QMetaType::QString)));
    result.exec();
}

QString readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QStringList sections(const QString& script)
{
    QStringList names;
    static const QRegularExpression section(QStringLiteral("^/\\* '(\\w+)' Table Data \\*/$"),
                                            QRegularExpression::MultilineOption);
    auto it = section.globalMatch(script);
    while (it.hasNext())
        names.append(it.next().captured(1));
    return names;
}

int insertLines(const QString& script, const QString& table)
{
    return int(script.count(QRegularExpression(QStringLiteral("^INSERT INTO %1 \\(.*\\);$").arg(table),
                                               QRegularExpression::MultilineOption)));
}

int rowCount(QSqlDatabase db, const QString& table)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)) || !q.next())
        return -1;
    return q.value(0).toInt();
}

// Compares every row of every table, blobs byte for byte.
void compareDatabases(QSqlDatabase original, QSqlDatabase copy)
{
    for (const QString& table : ExportDatabase::tableOrder) {
        QSqlQuery a(original), b(copy);
        const QString select = QStringLiteral("SELECT * FROM %1 ORDER BY Id").arg(table);
        QVERIFY2(a.exec(select), qPrintable(a.lastError().text()));
        QVERIFY2(b.exec(select), qPrintable(b.lastError().text()));
        int rows = 0;
        while (a.next()) {
            QVERIFY2(b.next(), qPrintable(table + " lacks a row"));
            ++rows;
            const QSqlRecord ra = a.record(), rb = b.record();
            QCOMPARE(rb.count(), ra.count());
            for (int i = 0; i < ra.count(); ++i) {
                const QString where = QStringLiteral("%1.%2 row %3").arg(table, ra.fieldName(i)).arg(rows);
                const QVariant va = ra.value(i), vb = rb.value(i);
                QVERIFY2(va.isNull() == vb.isNull(), qPrintable(where));
                if (va.typeId() == QMetaType::QByteArray)
                    QVERIFY2(va.toByteArray() == vb.toByteArray(), qPrintable(where));
                else
                    QVERIFY2(va.toString() == vb.toString(),
                             qPrintable(where + ": " + va.toString() + " != " + vb.toString()));
            }
        }
        QVERIFY2(!b.next(), qPrintable(table + " has an extra row"));
        QVERIFY2(rows > 0, qPrintable(table + " was not filled"));
    }
}

// The data part of the MySQL export of fill() with the rows and columns
// added by mariaDbLiteralsOfEveryColumnType.
const char* const EXPECTED_LITERALS = R"sql(
/* 'Client' Table Data */
INSERT INTO Client (Id,Name,Since,Share) VALUES (1,'O''Brien''s "Clinic" \\ back',NULL,NULL);
INSERT INTO Client (Id,Name,Since,Share) VALUES (7,'Dated','2026-02-28 00:00:00',-12.5);

/* 'Site' Table Data */
INSERT INTO Site (Id,ClientId,Name) VALUES (1,1,'Site; 1');

/* 'Location' Table Data */
INSERT INTO Location (Id,SiteId,Name) VALUES (1,1,'Room ''A''');

/* 'Equipment' Table Data */
INSERT INTO Equipment (Id,Manufacturer,Model,SerialNo,EquipmentClass) VALUES (1,'Make','Model','EQ-1',1);

/* 'GlobalTestSequence' Table Data */
INSERT INTO GlobalTestSequence (Id,Name,EquipmentClass,Data) VALUES (-5,'',-2147483648,X'');
INSERT INTO GlobalTestSequence (Id,Name,EquipmentClass,Data) VALUES (1,'Class I',1,X'00273B0A5CFF');
INSERT INTO GlobalTestSequence (Id,Name,EquipmentClass,Data) VALUES (2,'No data',2,NULL);

/* 'Instrument' Table Data */
INSERT INTO Instrument (Id,InstrumentType,SerialNo,CalibrationDate,FirmwareVersion,BaudRate,DataBits,Parity,StopBits) VALUES (1,1,'Q1-0001','2026-01-15 00:00:00','3.09',115200,8,0,1);
INSERT INTO Instrument (Id,InstrumentType,SerialNo,CalibrationDate,FirmwareVersion,BaudRate,DataBits,Parity,StopBits) VALUES (2147483647,0,'tab)sql" "\t" R"sql(here  \n',NULL,NULL,NULL,NULL,NULL,NULL);

/* 'Asset' Table Data */
INSERT INTO Asset (Id,Name,Description,ServiceCode,SerialNo,LocationId,EquipmentId,LatestResultSetId,RetestPeriod,RetestDate,DeletedLocation) VALUES (1,'Pump','Line 1\nends here;\n\nLine 4\r\nÜberprüfung Ω','SC-1','',1,1,2,12,'2027-04-01 08:00:00',NULL);
INSERT INTO Asset (Id,Name,Description,ServiceCode,SerialNo,LocationId,EquipmentId,LatestResultSetId,RetestPeriod,RetestDate,DeletedLocation) VALUES (2,'Spare','before\0after''; x\0','SC-2','SN-2',1,1,NULL,6,NULL,NULL);

/* 'AppliedPart' Table Data */
INSERT INTO AppliedPart (Id,AssetId,Name,ConnectionClass,Connection,NumConnections) VALUES (1,1,'ECG',3,1,3);

/* 'TestSequence' Table Data */
INSERT INTO TestSequence (Id,Name,AssetId,Data) VALUES (1,'Own',1,X'000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F202122232425262728292A2B2C2D2E2F303132333435363738393A3B3C3D3E3F404142434445464748494A4B4C4D4E4F505152535455565758595A5B5C5D5E5F606162636465666768696A6B6C6D6E6F707172737475767778797A7B7C7D7E7F808182838485868788898A8B8C8D8E8F909192939495969798999A9B9C9D9E9FA0A1A2A3A4A5A6A7A8A9AAABACADAEAFB0B1B2B3B4B5B6B7B8B9BABBBCBDBEBFC0C1C2C3C4C5C6C7C8C9CACBCCCDCECFD0D1D2D3D4D5D6D7D8D9DADBDCDDDEDFE0E1E2E3E4E5E6E7E8E9EAEBECEDEEEFF0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF');

/* 'ResultSet' Table Data */
INSERT INTO ResultSet (Id,InstrumentId,AssetId,Date,TestType,TestMode,OverallResult,UserName,Comments) VALUES (1,1,1,'2026-03-10 09:30:05',2,2,1,'tech','It''s fine');
INSERT INTO ResultSet (Id,InstrumentId,AssetId,Date,TestType,TestMode,OverallResult,UserName,Comments) VALUES (2,NULL,1,'2026-04-01 08:00:00',-1,0,2,'tech','');

/* 'Result' Table Data */
INSERT INTO Result (Id,ResultSetId,TestId,Status,ResultLimit,Result,ResultACDC,ResultGreaterThan,SingleFaultCondition,MainsPolarity,PatientConnection,PatientAuxConnection,CustomName,CustomUnits) VALUES (1,1,7,1,0.1,123456.789012345,2,1,NULL,NULL,NULL,NULL,'µA ''leak''','mΩ');
INSERT INTO Result (Id,ResultSetId,TestId,Status,ResultLimit,Result,ResultACDC,ResultGreaterThan,SingleFaultCondition,MainsPolarity,PatientConnection,PatientAuxConnection,CustomName,CustomUnits) VALUES (2,1,8,1,NULL,1e-07,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL);
INSERT INTO Result (Id,ResultSetId,TestId,Status,ResultLimit,Result,ResultACDC,ResultGreaterThan,SingleFaultCondition,MainsPolarity,PatientConnection,PatientAuxConnection,CustomName,CustomUnits) VALUES (3,NULL,-1,NULL,0,1.7976931348623157e+308,NULL,127,NULL,NULL,NULL,NULL,NULL,NULL);
INSERT INTO Result (Id,ResultSetId,TestId,Status,ResultLimit,Result,ResultACDC,ResultGreaterThan,SingleFaultCondition,MainsPolarity,PatientConnection,PatientAuxConnection,CustomName,CustomUnits) VALUES (4,NULL,0,NULL,2.2250738585072014e-308,0.30000000000000004,NULL,-128,NULL,NULL,NULL,NULL,NULL,NULL);
)sql";
} // namespace

// A workstation storing whole records until the stop file appears. args: sqlite|mysql, file or database, stop file
PELVANE_CHILD_SCENARIO(downloadUntilStopped)
{
    auto* file = new SqliteDatabase;
    auto* server = new MySqlDatabase; // at the port the parent found
    const bool sqlite = args.at(0) == "sqlite";
    if ((sqlite ? file->open(args.at(1), false) : server->open(MariaDbServer::settings(args.at(1)))) != 0)
        return 2;
    Database* db = sqlite ? static_cast<Database*>(file) : server;
    Database::setInstance(db);
    for (qint64 n = QCoreApplication::applicationPid() * 1000000; !QFile::exists(args.at(2)); ++n) {
        if (!DatabaseTransaction::run([&](DatabaseTransaction&) {
            const int site = db->findOrInsertSite(db->findOrInsertClient(QString::number(n)), "Site");
            const int asset = db->insertAsset(QString::number(n), "", "", "", db->findOrInsertLocation(site, "Ward"),
                                              db->findOrInsertEquipment("Make", "Model", QString::number(n), 1), 12);
            db->insertResultSet(QVariant(), asset, QDateTime::currentDateTime(), 2, 2, 1, "tech", "");
            }))
            return 3;
    }
    return 0;
}

// args: database file, export file. Ends itself by SIGKILL once rows are being written.
PELVANE_CHILD_SCENARIO(exportKilledMidway)
{
    auto* db = new SqliteDatabase;
    Database::setInstance(db->open(args.value(0), false) == 0 ? db : nullptr);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (auto* bar = dialog ? dialog->findChild<QProgressBar*>() : nullptr; bar && bar->value() > 0)
            std::raise(SIGKILL);
    });
    watch.start(1);
    ExportDatabaseThread::exportCurrentDatabase(args.value(1), nullptr);
    return 4; // done before it was killed
}

// args: sync|room, database file, folder. Exports onto a file system of its own at folder, which takes
// writes its 1 MB beneath cannot keep (sync), or has no room for the copy (room); 77 where none is mounted.
PELVANE_CHILD_SCENARIO(exportOntoItsOwnDisk)
{
    const QString image = args.at(2) + "/image", disk = args.at(0) == "sync" ? args.at(2) + "/disk" : args.at(2);
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
        || mount("tmpfs", qPrintable(args.at(2)), "tmpfs", 0, "size=1m") != 0
        || (disk != args.at(2) && (!QFile(image).open(QIODevice::WriteOnly) || !QFile::resize(image, 64 << 20)
                                   || QProcess::execute("mkfs.ext2", {"-q", "-N", "64", "-m", "0", image}) != 0
                                   || !QDir().mkdir(disk) || QProcess::execute("mount", {"-o", "loop", image, disk}) != 0)))
        return 77;
    auto* db = new SqliteDatabase;
    Database::setInstance(db->open(args.at(1), false) == 0 ? db : nullptr);
    QFile old(disk + "/out.sql");
    DialogAnswerer answerer;
    const bool exported = !old.open(QIODevice::WriteOnly) || old.write("old") != 3 || !old.flush()
                          || ExportDatabaseThread::exportCurrentDatabase(old.fileName(), nullptr);
    const QString told = answerer.last().text;
    std::fprintf(stderr, "%s\n", qPrintable(told));
    const bool words = disk != args.at(2) ? told.contains(qt_error_string(ENOSPC))
                                          : told.contains(QLocale().formattedDataSize(QFileInfo(args.at(1)).size())) && told.contains(disk);
    return !exported && answerer.count() == 1 && words && readAll(old.fileName()) == "old"
                   && QDir(disk).entryList(QDir::Files | QDir::Hidden) == QStringList{"out.sql"} ? 0 : 1;
}

class TestExportDatabase : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void sqliteScriptLayout();
    void sqliteRoundTripKeepsEveryValue();
    void emptyDatabaseCompletes();
    void unopenableFileIsReported_data();
    void unopenableFileIsReported();
    void noDatabaseWritesNothing();
    void cutExportLeavesTheTargetAsItWas_data();
    void cutExportLeavesTheTargetAsItWas();
    void literalsForSqlServer();
    void mariaDbRoundTripKeepsEveryValue();
    void mariaDbDateTimesAreWrittenAsStored();
    void mariaDbLiteralsOfEveryColumnType();
    void exportDuringDownloadsReplays_data();
    void exportDuringDownloadsReplays();

private:
    QString exportTo(const QString& name);
    // Creates the database name on the server, makes it current and fills it.
    bool openFilledMariaDb(const QString& name);
};

void TestExportDatabase::cleanup()
{
    Database::setInstance(nullptr);
}

QString TestExportDatabase::exportTo(const QString& name)
{
    const QString path = TestEnvironment::instance()->newFolder() + "/" + name;
    DialogAnswerer answerer;
    if (!ExportDatabaseThread::exportCurrentDatabase(path, nullptr) || answerer.count() != 0)
        return QString();
    return path;
}

bool TestExportDatabase::openFilledMariaDb(const QString& name)
{
    DialogAnswerer answerer;
    answerer.pressNext("Yes");
    auto* db = new MySqlDatabase;
    if (db->open(MariaDbServer::settings(name)) != 0) {
        delete db;
        return false;
    }
    Database::setInstance(db);
    fill(db);
    return true;
}

void TestExportDatabase::sqliteScriptLayout()
{
    SqliteDatabase* db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/layout.db");
    QVERIFY(db);
    fill(db);
    const QString path = exportTo("layout.sql");
    QVERIFY(!path.isEmpty());
    const QString script = readAll(path);
    const QStringList lines = script.split('\n');
    QCOMPARE(lines.at(0), QString("/*"));
    QCOMPARE(lines.at(1), QString("\tExporting Tavisk Pelvane database 'layout.db'"));
    QVERIFY(lines.at(2).startsWith('\t') && lines.at(2).size() > 1);
    QCOMPARE(lines.at(3), QString("*/"));
    QVERIFY(script.mid(script.indexOf("*/\n") + 3).startsWith(readAll(SqliteDatabase::schemaScript)));

    QCOMPARE(sections(script), ExportDatabase::tableOrder);
    QVERIFY(script.contains("\n\n/* 'Client' Table Data */\n"));
    for (const QString& table : ExportDatabase::tableOrder)
        QCOMPARE(insertLines(script, table), rowCount(db->connection(), table));
    QVERIFY(script.contains("'O''Brien''s \"Clinic\" \\ back'"));
    QVERIFY(script.contains("X'000102030405"));
    // A NULL comment and a NULL blob.
    QVERIFY(script.contains(QRegularExpression("^INSERT INTO GlobalTestSequence .*'No data',2,NULL\\);$",
                                               QRegularExpression::MultilineOption)));
    // The multi-line description stays on its INSERT line.
    QVERIFY(script.contains("'Line 1'||char(10)||'ends here;'||char(10)||char(10)||'Line 4'||char(13)||char(10)"));
    QCOMPARE(script.count("ends here;"), 1);
    QVERIFY(!script.contains(QChar(0)));
    QVERIFY(script.endsWith("/* 'Result' Table Data */\n" + script.section("/* 'Result' Table Data */\n", 1)));
}

void TestExportDatabase::sqliteRoundTripKeepsEveryValue()
{
    SqliteDatabase* db = SeededDatabase::createSeeded(TestEnvironment::instance()->newFolder() + "/round.db");
    QVERIFY(db);
    fill(db);
    const QString path = exportTo("round.sql");
    QVERIFY(!path.isEmpty());

    SqliteDatabase copy;
    QCOMPARE(copy.open(TestEnvironment::instance()->newFolder() + "/copy.db", true), 0);
    DialogAnswerer answerer;
    QVERIFY(SeededDatabase::runScript(&copy.connection(), path));
    QCOMPARE(answerer.count(), 0);
    QVERIFY(copy.checkSchema());
    compareDatabases(db->connection(), copy.connection());
}

void TestExportDatabase::emptyDatabaseCompletes()
{
    QVERIFY(SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/empty.db"));
    const QString path = exportTo("empty.sql");
    QVERIFY(!path.isEmpty());
    const QString script = readAll(path);
    QCOMPARE(sections(script), ExportDatabase::tableOrder);
    QVERIFY(!script.contains("INSERT INTO"));
    QVERIFY(script.contains(QRegularExpression("\n/\\* 'Result' Table Data \\*/\n\n/\\* End of the Tavisk Pelvane "
                                               "export: \\d+ statements \\*/\n$")));
    SqliteDatabase copy; // its last section line is no statement cut short
    QCOMPARE(copy.open(TestEnvironment::instance()->newFolder() + "/copy.db", true), 0);
    QVERIFY(SeededDatabase::runScript(&copy.connection(), path));
}

void TestExportDatabase::unopenableFileIsReported_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("told");
    QTest::newRow("no such folder") << "no such folder/out.sql" << "";
    QTest::newRow("a pipe") << "pipe" << "a pipe, a device";
    QTest::newRow("a writable file in a read-only folder") << "read-only/out.sql" << "the folder must be writable";
}

void TestExportDatabase::unopenableFileIsReported()
{
    QFETCH(QString, target);
    QFETCH(QString, told);
    QVERIFY(SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/any.db"));
    const QString path = TestEnvironment::instance()->newFolder() + "/" + target;
    const QString folder = QFileInfo(path).path();
    QVERIFY(target != "pipe" || mkfifo(qPrintable(path), 0600) == 0);
    if (target.startsWith("read-only"))
        QVERIFY(QDir().mkpath(folder) && QFile(path).open(QIODevice::WriteOnly)
                && QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    DialogAnswerer answerer;
    {
        PermissionsEnforced asAUser;
        QVERIFY(!ExportDatabaseThread::exportCurrentDatabase(path, nullptr));
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.last().icon, int(QMessageBox::Warning));
    QVERIFY2(answerer.last().text.contains(path) && answerer.last().text.contains(told), qPrintable(answerer.last().text));
    struct stat left = {};
    QCOMPARE(stat(qPrintable(path), &left) == 0 ? int(left.st_mode & S_IFMT) : 0,
             target == "pipe" ? S_IFIFO : target.startsWith("read-only") ? S_IFREG : 0);
}

void TestExportDatabase::noDatabaseWritesNothing()
{
    QString text;
    QTextStream out(&text);
    ExportDatabase worker(&out);
    QSignalSpy done(&worker, &ThreadObject::done);
    QVERIFY(!worker.init());
    QVERIFY(text.isEmpty());

    const QString path = TestEnvironment::instance()->newFolder() + "/none.sql";
    QVERIFY(!ExportDatabaseThread::exportCurrentDatabase(path, nullptr));
    QVERIFY(!QFile::exists(path));
}

void TestExportDatabase::cutExportLeavesTheTargetAsItWas_data()
{
    QTest::addColumn<double>("room"); // the largest file as a share of the database's; 0: killed midway
    QTest::newRow("no room for the copy") << 0.5;
    QTest::newRow("no room for the script") << 1.5;
    QTest::newRow("killed midway") << 0.0;
    QTest::newRow("data the disk takes but cannot keep") << -1.0; // on a disk of its own
    QTest::newRow("no room for the copy, known at once") << -2.0;
}

void TestExportDatabase::cutExportLeavesTheTargetAsItWas()
{
    QFETCH(double, room);
    const QString file = TestEnvironment::instance()->newFolder() + "/cut.db";
    const QString path = TestEnvironment::instance()->newFolder() + "/cut.sql";
    QVERIFY(QSqlQuery(SeededDatabase::createEmpty(file)->connection()).exec( // short rows, a long script
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<100000) "
        "INSERT INTO Client (Name) SELECT 'Client ' || i FROM n"));
    if (room < 0) {
        qputenv("PELVANE_DIALOG_GRACE_MS", "60000"); // the child's own answerer reads the dialog
        const ChildResult r = runChildScenario("exportOntoItsOwnDisk", {room < -1 ? "room" : "sync", file, TestEnvironment::instance()->newFolder()});
        qunsetenv("PELVANE_DIALOG_GRACE_MS");
        if (r.exitCode == 77)
            QSKIP("A file system of the test's own needs a mount namespace (root or CAP_SYS_ADMIN), loop devices and mkfs.ext2");
        QVERIFY2(!r.crashed && r.exitCode == 0, r.output.constData());
        return;
    }
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3 && old.flush());
    // What an export killed while it made its copy leaves: the next export removes it, or the next start.
    const QString leftover = QFileInfo(path).path() + "/.pelvane-export-Q1w2E3";
    QVERIFY(QFile(leftover).open(QIODevice::WriteOnly));
    if (room == 0) {
        QVERIFY(runChildScenario("exportKilledMidway", {file, path}, 60000, true).crashed);
        QVERIFY(QFile(leftover).open(QIODevice::WriteOnly));
        ExportDatabaseThread::removeLeftoversOfKilledExports();
    } else {
        std::signal(SIGXFSZ, SIG_IGN); // past the limit a write fails (EFBIG), as on a full disk (ENOSPC)
        rlimit before;
        getrlimit(RLIMIT_FSIZE, &before);
        const rlimit limit = {rlim_t(double(QFileInfo(file).size()) * room), before.rlim_max};
        DialogAnswerer answerer;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
        const bool exported = ExportDatabaseThread::exportCurrentDatabase(path, nullptr);
        setrlimit(RLIMIT_FSIZE, &before);
        QVERIFY(!exported);
        QCOMPARE(answerer.count(), 1);
        QVERIFY2(answerer.last().text.contains(path) && answerer.last().text.contains(qt_error_string(EFBIG)),
                 qPrintable(answerer.last().text));
    }
    QCOMPARE(readAll(path), QString("old"));
    QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden), QStringList{"cut.sql"});
}

void TestExportDatabase::literalsForSqlServer()
{
    const QSqlDriver* driver = QSqlDatabase::addDatabase("QSQLITE", "literals").driver();
    auto field = [](const QVariant& value) {
        QSqlField f("x", value.metaType());
        f.setValue(value);
        return f;
    };
    QCOMPARE(ExportDatabase::formatValue(field(QByteArray("\x00\xff", 2)), DatabaseMsSql, driver), QString("0x00FF"));
    QCOMPARE(ExportDatabase::formatValue(field(QByteArray("\x00\xff", 2)), DatabaseMySql, driver), QString("X'00FF'"));
    QCOMPARE(ExportDatabase::formatValue(field(QString("it's")), DatabaseMsSql, driver), QString("N'it''s'"));
    QCOMPARE(ExportDatabase::formatValue(field(QString("a\r\nb")), DatabaseMsSql, driver),
             QString("N'a'+NCHAR(13)+NCHAR(10)+N'b'"));
    QCOMPARE(ExportDatabase::formatValue(field(QString("a\\b\nc")), DatabaseMySql, driver), QString("'a\\\\b\\nc'"));
    const QString nul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    QCOMPARE(ExportDatabase::formatValue(field(nul), DatabaseMsSql, driver), QString("N'a'+NCHAR(0)+N'b'"));
    QCOMPARE(ExportDatabase::formatValue(field(nul), DatabaseMySql, driver), QString("'a\\0b'"));
    QCOMPARE(ExportDatabase::formatValue(field(nul), DatabaseSqlite, driver), QString("'a'||char(0)||'b'"));
    QCOMPARE(ExportDatabase::formatValue(field(QVariant(QMetaType(QMetaType::QString))), DatabaseMsSql, driver),
             QString("NULL"));
    QCOMPARE(ExportDatabase::formatValue(field(QString("")), DatabaseSqlite, driver), QString("''"));
    QCOMPARE(ExportDatabase::formatValue(field(QDateTime(QDate(2026, 2, 3), QTime(4, 5, 6))), DatabaseMsSql, driver),
             QString("'2026-02-03 04:05:06'"));
    QCOMPARE(ExportDatabase::formatValue(field(0.1), DatabaseMsSql, driver), QString("0.1"));
    QCOMPARE(ExportDatabase::tableStartStatement("Asset", DatabaseMsSql), QString("SET IDENTITY_INSERT [Asset] ON;"));
    QCOMPARE(ExportDatabase::tableEndStatement("Asset", DatabaseMsSql), QString("SET IDENTITY_INSERT [Asset] OFF;"));
    QVERIFY(ExportDatabase::tableStartStatement("Asset", DatabaseMySql).isEmpty());
    QSqlDatabase::removeDatabase("literals");
}

void TestExportDatabase::mariaDbRoundTripKeepsEveryValue()
{
    PELVANE_REQUIRE_MARIADB();
    // A name that would end the script's header comment and run a statement.
    MariaDbServer::ScopedDatabase sourceDatabase("src*/ DROP TABLE Client; /*");
    const QString& source = sourceDatabase.name();
    MariaDbServer::ScopedDatabase targetDatabase("export target");
    const QString& target = targetDatabase.name();
    QVERIFY(openFilledMariaDb(source));
    const QString path = exportTo("mariadb.sql");
    QVERIFY(!path.isEmpty());
    const QString script = readAll(path);
    QCOMPARE(sections(script), ExportDatabase::tableOrder);
    QVERIFY(script.contains(readAll(MySqlDatabase::schemaScript)));
    QVERIFY(script.contains("X'000102030405"));
    // The header comment ends only at its own last line.
    QCOMPARE(script.indexOf("*/"), script.indexOf("\n*/\n") + 1);
    QVERIFY(!script.contains(QChar(0)));

    QVERIFY(MariaDbServer::exec(QStringLiteral("CREATE DATABASE %1").arg(MySqlDatabase::quoteIdentifier(target))));
    {
        QSqlDatabase copy = QSqlDatabase::addDatabase("QMYSQL", "export-copy");
        const ConnectionSettings s = MariaDbServer::settings(target);
        copy.setHostName(s.host);
        copy.setUserName(s.userName);
        copy.setPassword(s.password);
        copy.setDatabaseName(target);
        QVERIFY2(copy.open(), qPrintable(copy.lastError().text()));
        DialogAnswerer answerer;
        QVERIFY(SeededDatabase::runScript(&copy, path));
        QCOMPARE(answerer.count(), 0);
        compareDatabases(Database::instance()->connection(), copy);
        copy.close();
    }
    QSqlDatabase::removeDatabase("export-copy");
}

// A date-time is stored without a time zone: an instrument whose clock
// does not follow summer time records times that the local clock skips.
// The export writes what is stored, whatever the zone it runs in.
void TestExportDatabase::mariaDbDateTimesAreWrittenAsStored()
{
    PELVANE_REQUIRE_MARIADB();
    MariaDbServer::ScopedDatabase sourceDatabase("export dates");
    const QString& source = sourceDatabase.name();
    QVERIFY(openFilledMariaDb(source));
    SqlQuery skipped;
    skipped.exec("UPDATE ResultSet SET Date='2026-03-29 02:30:00' WHERE Comments='It''s fine'");
    skipped.exec("UPDATE Asset SET RetestDate='2027-03-28 02:00:00' WHERE Name='Pump'");
    skipped.exec("UPDATE Instrument SET CalibrationDate='2026-10-25 02:30:00'");

    const QByteArray zone = qgetenv("TZ");
    const bool hadZone = qEnvironmentVariableIsSet("TZ");
    auto restoreZone = qScopeGuard([&] {
        if (hadZone)
            qputenv("TZ", zone);
        else
            qunsetenv("TZ");
        tzset();
    });
    qputenv("TZ", "Europe/Berlin");
    tzset();
    const QString path = exportTo("dates.sql");
    QVERIFY(!path.isEmpty());
    const QString script = readAll(path);
    for (const char* stored : {"'2026-03-29 02:30:00'", "'2027-03-28 02:00:00'", "'2026-10-25 02:30:00'",
                               "'2026-04-01 08:00:00'"})
        QVERIFY2(script.contains(QLatin1String(stored)), stored);
}

// The MySQL export writes each value from the server's own text: every
// column type of the register, NULL and the empty value included, must come
// out as the literal the script has always had. A column of a type the
// register does not use (one added to a table by hand) is written as the
// driver reads it: a date as a stored date-time, a decimal as the shortest
// text of its double.
void TestExportDatabase::mariaDbLiteralsOfEveryColumnType()
{
    PELVANE_REQUIRE_MARIADB();
    MariaDbServer::ScopedDatabase sourceDatabase("export literals");
    const QString& source = sourceDatabase.name();
    QVERIFY(openFilledMariaDb(source));
    SqlQuery more;
    more.exec("ALTER TABLE Client ADD COLUMN Since DATE NULL, ADD COLUMN Share DECIMAL(8,3) NULL");
    more.exec("INSERT INTO Client (Id,Name,Since,Share) VALUES (7,'Dated','2026-02-28',-12.5)");
    more.exec("INSERT INTO GlobalTestSequence (Id,Name,EquipmentClass,Data) VALUES (-5,'',-2147483648,'')");
    more.exec("INSERT INTO Instrument (Id,InstrumentType,SerialNo,CalibrationDate) "
              "VALUES (2147483647,0,'tab\there \\ \\n',NULL)");
    more.exec("INSERT INTO Result (ResultSetId,TestId,ResultLimit,Result,ResultGreaterThan) "
              "VALUES (NULL,-1,-0.0,1.7976931348623157e308,127),(NULL,0,2.2250738585072014e-308,"
              "0.30000000000000004,-128)");
    const QString path = exportTo("literals.sql");
    QVERIFY(!path.isEmpty());
    const QString script = readAll(path);
    const QString data = script.mid(script.indexOf("\n/* 'Client' Table Data */")).section("\n/* End of the", 0, 0);
    const QString expected = QString::fromUtf8(EXPECTED_LITERALS);
    QCOMPARE(data.split('\n'), expected.split('\n'));
}

void TestExportDatabase::exportDuringDownloadsReplays_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("sqlite") << "sqlite";
    QTest::newRow("mariadb") << "mysql";
}

// Records stored while the export runs, more between two of its tables: the script still replays.
void TestExportDatabase::exportDuringDownloadsReplays()
{
    QFETCH(QString, kind);
    const bool sqlite = kind == "sqlite";
    if (!sqlite)
        PELVANE_REQUIRE_MARIADB();
    const QString folder = TestEnvironment::instance()->newFolder();
    std::optional<MariaDbServer::ScopedDatabase> source, replay;
    if (!sqlite)
        source.emplace("export during downloads"), replay.emplace("export replayed");
    const QString name = sqlite ? folder + "/source.db" : source->name();
    QVERIFY(sqlite ? SeededDatabase::createEmpty(name) != nullptr : source->install());
    auto open = [&](const QString& as, const QString& file, const QString& database) {
        QSqlDatabase db = sqlite ? QSqlDatabase::addDatabase("QSQLITE", as) : MariaDbServer::connection(as, database);
        db.setDatabaseName(sqlite ? file : database);
        return db.open() ? db : QSqlDatabase();
    };
    QSqlDatabase probe = open("probe " + kind, name, name);
    QProcess children[3];
    for (QProcess& child : children)
        startChildScenario(child, "downloadUntilStopped", {kind, name, folder + "/stop"});
    QTRY_VERIFY_WITH_TIMEOUT(rowCount(probe, "ResultSet") >= 5, 30000);
    QString script;
    int clients = -1;
    QTextStream out(&script);
    ExportDatabase worker(&out);
    QVERIFY(worker.init());
    worker.setAbort(); // stepped here, not by its timer
    for (qsizetype written = 0; worker.step(); written = script.size()) {
        // A step that writes nothing ends a table: the first ends the clients'.
        if (clients < 0 && script.size() == written) {
            clients = insertLines(script, "Client");
            QTRY_VERIFY_WITH_TIMEOUT(rowCount(probe, "Client") > clients + 3, 30000);
        }
    }
    QFile(folder + "/stop").open(QIODevice::WriteOnly);
    for (QProcess& child : children)
        QCOMPARE(finishChildScenario(child).exitCode, 0);
    QFile file(folder + "/export.sql");
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(script.toUtf8()) > 0 && file.flush());
    QProcess client;
    client.setStandardInputFile(file.fileName());
    if (sqlite) {
        client.start("sqlite3", {"-bail", "-cmd", "PRAGMA foreign_keys=ON; PRAGMA synchronous=OFF", folder + "/replay.db"});
    } else {
        QVERIFY(MariaDbServer::exec(QString("CREATE DATABASE `%1`").arg(replay->name())));
        client.start("mariadb", {"--no-defaults", "-h", qEnvironmentVariable("PELVANE_MYSQL_HOST"), "-P",
                                 qEnvironmentVariable("PELVANE_MYSQL_PORT"), "-u" + qEnvironmentVariable("PELVANE_MYSQL_USER"),
                                 "-p" + qEnvironmentVariable("PELVANE_MYSQL_PASSWORD"), replay->name()});
    }
    QVERIFY2(client.waitForFinished(120000) && client.exitCode() == 0, client.readAllStandardError().constData());
    QSqlDatabase replayed = open("replayed " + kind, folder + "/replay.db", sqlite ? QString() : replay->name());
    for (const QString& table : ExportDatabase::tableOrder)
        QCOMPARE(rowCount(replayed, table), insertLines(script, table));
    QVERIFY(clients > 0 && insertLines(script, "ResultSet") >= 5);
}

PELVANE_TEST_MAIN(TestExportDatabase)
#include "TestExportDatabase.moc"
