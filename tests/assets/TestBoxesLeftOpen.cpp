// A box left open on one workstation holds up no other: the write it came
// from has ended, and the database's write lock is given back, before it is
// shown. Each workstation is a process of its own on one MariaDB database.

#include "../transfer/InstrumentRecords.h"
#include "../ux/MessageCapture.h"
#include "assets/AssetDetailsTab.h"
#include "database/DatabaseTransaction.h"
#include "database/MySqlDatabase.h"
#include "database/SqlQuery.h"
#include "database/WriteLock.h"
#include "support/DialogAnswerer.h"
#include "support/MariaDbServer.h"
#include "support/TestEnvironment.h"
#include "transfer/ImportTsq.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QSqlQuery>
#include <QtTest>

namespace {
// Child: shows a box on the database and leaves it open until the file
// answer exists: "duplicate" the editor's question on Apply, "fatal" the
// report of a statement that failed inside a transaction. The file answer
// plus ".shown" tells that the box is up. Arguments: database, kind, answer.
PELVANE_CHILD_SCENARIO(boxLeftOpen)
{
    QString why;
    if (args.size() < 3 || !MariaDbServer::reachable(&why))
        return 90;
    auto* db = new MySqlDatabase;
    if (db->open(MariaDbServer::settings(args.at(0))) != 0)
        return 91;
    Database::setInstance(db);
    DialogAnswerer answerer;
    answerer.answerNext([&args](QWidget* box) {
        QFile(args.at(2) + QStringLiteral(".shown")).open(QIODevice::WriteOnly);
        QElapsedTimer waited;
        waited.start();
        while (!QFile::exists(args.at(2)) && waited.elapsed() < 60000)
            QThread::msleep(20);
        qobject_cast<QDialog*>(box)->reject();
    });
    if (args.at(1) == QLatin1String("fatal")) {
        DatabaseTransaction transaction;
        SqlQuery().exec(QStringLiteral("UPDATE Asset SET NoSuchColumn=1"));
        return 92;
    }
    // Asset 2 typed as asset 1.
    AssetDetailsTab tab;
    tab.setAsset(2, true);
    tab.findChild<QLineEdit*>(QStringLiteral("assetId"))->setText(QStringLiteral("Pump 1"));
    tab.findChild<QLineEdit*>(QStringLiteral("serialNo"))->setText(QStringLiteral("S-1"));
    return tab.apply() ? 93 : 0;
}
} // namespace

class TestBoxesLeftOpen : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { PELVANE_REQUIRE_MARIADB(); }
    void init();
    void cleanup()
    {
        WriteLock::waitSeconds = 20;
        m_database.reset();
    }
    void importGoesOnWhileABoxIsOpenElsewhere_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("editor's duplicate question") << QStringLiteral("duplicate") << 0;
        QTest::newRow("fatal report") << QStringLiteral("fatal") << 1;
    }
    void importGoesOnWhileABoxIsOpenElsewhere();
    void editorKeepsItsEditWhileTheLockStaysTaken();

private:
    std::unique_ptr<MariaDbServer::ScopedDatabase> m_database;
};

void TestBoxesLeftOpen::init()
{
    m_database = std::make_unique<MariaDbServer::ScopedDatabase>(QStringLiteral("box open"));
    QVERIFY(m_database->install());
    Database* db = Database::instance();
    const int location = db->findOrInsertLocation(
        db->findOrInsertSite(db->findOrInsertClient(QStringLiteral("Harbour")), QStringLiteral("East")),
        QStringLiteral("Ward 7"));
    for (const QString& serial : {QStringLiteral("S-1"), QStringLiteral("S-2")}) {
        const int equipment = db->findOrInsertEquipment(QStringLiteral("Medimake"), QStringLiteral("M"), serial, 1);
        db->insertAsset(QStringLiteral("Pump ") + serial.right(1), QString(), QString(), serial, location, equipment,
                        12);
    }
}

void TestBoxesLeftOpen::importGoesOnWhileABoxIsOpenElsewhere()
{
    QFETCH(QString, kind);
    QFETCH(int, exitCode);
    const QString answer = TestEnvironment::instance()->newFolder() + QStringLiteral("/answer");
    QProcess child;
    // The child's own answerer waits, so that the box is left to the scenario.
    qputenv("PELVANE_DIALOG_GRACE_MS", "60000");
    startChildScenario(child, QStringLiteral("boxLeftOpen"), {m_database->name(), kind, answer});
    qunsetenv("PELVANE_DIALOG_GRACE_MS");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(answer + QStringLiteral(".shown")), 30000);

    // A lock still taken would fail every attempt long before the box is answered.
    WriteLock::waitSeconds = 2;
    ImportTsq import;
    import.import(InstrumentRecords::asset(QStringLiteral("Monitor"), QDateTime(QDate(2026, 1, 10), QTime(9, 0)), 1,
                                           {{1, 0.1f}}));
    QVERIFY2(import.notStored.isEmpty(), qPrintable(import.notStored));
    QCOMPARE(import.outcome, 1);
    QCOMPARE(child.state(), QProcess::Running);

    QFile(answer).open(QIODevice::WriteOnly);
    const ChildResult result = finishChildScenario(child);
    QVERIFY2(!result.crashed && result.exitCode == exitCode, result.output.right(1500).constData());
}

// Another workstation holds the lock through every attempt: Apply is not
// fatal, says so, and keeps what was typed for another Apply.
void TestBoxesLeftOpen::editorKeepsItsEditWhileTheLockStaysTaken()
{
    WriteLock::waitSeconds = 1;
    DialogAnswerer answerer;
    AssetDetailsTab tab;
    tab.setAsset(2, true);
    auto* description = tab.findChild<QLineEdit*>(QStringLiteral("description"));
    description->setText(QStringLiteral("Syringe driver"));
    {
        QSqlQuery hold(MariaDbServer::connection(QStringLiteral("holder"), m_database->name()));
        QVERIFY(hold.exec(QStringLiteral("SELECT GET_LOCK(LEFT(CONCAT('pelvane.',DATABASE()),64),0)")) && hold.next());
        QCOMPARE(hold.value(0).toInt(), 1);
        MessageCapture capture;
        QVERIFY(!tab.apply());
        // One full wait is enough to know: the user is not kept five times as long.
        const auto attempts = std::count_if(capture.lines().begin(), capture.lines().end(), [](const QString& line) {
            return line.startsWith(QStringLiteral("DatabaseTransaction: attempt"));
        });
        QCOMPARE(attempts, 1);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("holder")); // its session, and the lock, end
    QCOMPARE(answerer.count(), 1);
    QVERIFY2(answerer.last().text.contains(QStringLiteral("busy with another workstation's change")),
             qPrintable(answerer.last().text));
    QCOMPARE(description->text(), QStringLiteral("Syringe driver"));
    QVERIFY(tab.apply());
    SqlQuery stored;
    QVERIFY(stored.exec(QStringLiteral("SELECT Description FROM Asset WHERE Id=2")) && stored.next());
    QCOMPARE(stored.value(0).toString(), QStringLiteral("Syringe driver"));
}

PELVANE_TEST_MAIN(TestBoxesLeftOpen)
#include "TestBoxesLeftOpen.moc"
