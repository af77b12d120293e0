#include "core/Error.h"
#include "database/DialogProgress.h"
#include "database/ExecSqlScript.h"
#include "database/ExecSqlScriptThread.h"
#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "database/WriteLock.h"
#include "support/DialogAnswerer.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QtTest>

#include <atomic>
#include <utility>

namespace {
QString writeScript(const QByteArray& text)
{
    const QString path = TestEnvironment::instance()->newFolder() + "/script.sql";
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
    return path;
}

QStringList tablesOf(SqliteDatabase* db)
{
    QStringList names;
    QSqlQuery q(db->connection());
    q.exec("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name");
    while (q.next())
        names << q.value(0).toString();
    return names;
}

// Steps a worker in this thread; its timer is stopped so only we drive it.
int stepAll(ExecSqlScript& script)
{
    script.setAbort();
    int steps = 0;
    while (script.step())
        ++steps;
    return steps;
}

// A worker whose steps never end on their own: only an abort stops it.
class EndlessWork : public ThreadObject
{
public:
    bool init() override
    {
        m_timer.start(0);
        return true;
    }
    bool step() override
    {
        emit updateProgress(0.5f);
        QThread::msleep(2);
        return true;
    }
};

// Runs steps as fast as it can, each reporting its fraction; counts the
// steps begun. A limit of zero runs until aborted.
class CountingWork : public ThreadObject
{
public:
    CountingWork(int limit, std::atomic<int>* begun) : m_limit(limit), m_begun(begun) {}
    bool init() override
    {
        m_timer.start(0);
        return true;
    }
    bool step() override
    {
        const int n = ++*m_begun;
        if (m_limit > 0 && n > m_limit) {
            emit done();
            return false;
        }
        emit updateProgress(m_limit > 0 ? float(n) / float(m_limit) : 0.5f);
        return true;
    }

private:
    int m_limit;
    std::atomic<int>* m_begun;
};

class CountingThread : public ProgressThread
{
public:
    explicit CountingThread(int limit) : ProgressThread("Counting", nullptr), m_limit(limit) {}
    ~CountingThread() override { wait(); }
    ThreadObject* createThreadObject() override { return new CountingWork(m_limit, &begun); }
    void deleteThreadObject(ThreadObject* w) override { delete w; }
    std::atomic<int> begun{0};

private:
    int m_limit;
};

// Reports half the work in a burst of steps, then waits in one step until
// released: the dialog must catch up with the burst while the worker is busy.
class PausingWork : public ThreadObject
{
public:
    PausingWork(std::atomic<int>* begun, std::atomic<bool>* release) : m_begun(begun), m_release(release) {}
    bool init() override
    {
        m_timer.start(0);
        return true;
    }
    bool step() override
    {
        const int n = ++*m_begun;
        if (n <= 1000) {
            emit updateProgress(float(n) / 2000.0f);
            return true;
        }
        QElapsedTimer waited;
        waited.start();
        while (!m_release->load() && waited.elapsed() < 5000)
            QThread::msleep(1);
        emit done();
        return false;
    }

private:
    std::atomic<int>* m_begun;
    std::atomic<bool>* m_release;
};

class PausingThread : public ProgressThread
{
public:
    PausingThread() : ProgressThread("Pausing", nullptr) {}
    ~PausingThread() override { wait(); }
    ThreadObject* createThreadObject() override { return new PausingWork(&begun, &release); }
    void deleteThreadObject(ThreadObject* w) override { delete w; }
    std::atomic<int> begun{0};
    std::atomic<bool> release{false};
};

// Counts the queued calls that reach an object.
class QueuedCalls : public QObject
{
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MetaCall)
            ++count;
        return false;
    }
};

class EndlessThread : public ProgressThread
{
public:
    EndlessThread() : ProgressThread("Working", nullptr) {}
    ~EndlessThread() override { wait(); }
    ThreadObject* createThreadObject() override { return new EndlessWork; }
    void deleteThreadObject(ThreadObject* w) override { delete w; }
};
} // namespace

PELVANE_CHILD_SCENARIO(failedStatementIsFatal)
{
    SqliteDatabase* db = SeededDatabase::createEmpty(args.value(0));
    if (!db)
        return 3;
    SqlQuery q("SELECT NoSuchColumn FROM Client");
    q.exec();
    return 0; // not reached
}

class TestWorkers : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Database::setInstance(nullptr); }
    void scriptStatementRules();
    void scriptThatIsNotWholeIsTold_data();
    void scriptThatIsNotWholeIsTold();
    void scriptProgressCountsStatementCharacters();
    void emptyScriptIsDoneAtOnce();
    void unreadableScriptIsReported();
    void progressEstimates();
    void progressWithoutWorkDone();
    void escapeDoesNotCloseTheProgressDialog();
    void scriptThreadRunsToTheEnd();
    void abortStopsTheWorker();
    void progressBurstReachesTheDialogCoalesced();
    void abortLandsWithinOneStep();
    void dialogCatchesUpWhileTheWorkerIsBusy();
    void failedStatementEndsTheProgram();
    void scriptStoppedByAnotherWriterSaysWhereItStopped();
};

void TestWorkers::scriptStatementRules()
{
    SqliteDatabase* db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/s.db");
    const QString path = writeScript("CREATE TABLE A (\n  x TEXT\n);\n\n\n"
                                     "INSERT INTO A VALUES ('a;b'),\n"
                                     "('c;'),\n"
                                     "('d');\n"
                                     "CREATE TABLE B (y INTEGER)");
    ExecSqlScript script(path, &db->connection());
    QSignalSpy done(&script, &ThreadObject::done);
    QSignalSpy error(&script, &ThreadObject::error);
    QVERIFY(script.init());
    // A ";" inside a line does not end the statement; the last one has no ";".
    QCOMPARE(stepAll(script), 2);
    QCOMPARE(done.count(), 1);
    QCOMPARE(error.count(), 1); // cut short, which is told with what ran
    QVERIFY2(error.at(0).at(0).toString().contains("2 statement(s)"), qPrintable(error.at(0).at(0).toString()));
    QVERIFY(tablesOf(db).contains("A"));
    QVERIFY(!tablesOf(db).contains("B"));
    QSqlQuery q(db->connection());
    q.exec("SELECT x FROM A ORDER BY x");
    QStringList values;
    while (q.next())
        values << q.value(0).toString();
    QCOMPARE(values, QStringList({"a;b", "c;", "d"}));
}

void TestWorkers::scriptThatIsNotWholeIsTold_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("ran"); // statements; -1: refused before the first
    QTest::addColumn<QString>("told"); // empty: nothing
    const QByteArray exported = "/*\n\tExporting Tavisk Pelvane database 'x.db'\n\tday\n*/\n"
                                "CREATE TABLE A (x TEXT);\n\n/* 'A' Table Data */\nINSERT INTO A VALUES ('a');\n";
    QTest::newRow("an export cut after a statement") << exported << 2 << "incomplete: it was exported";
    QTest::newRow("an export with another count")
        << exported + "\n/* End of the Tavisk Pelvane export: 3 statements */\n" << 2 << "incomplete: it was exported";
    QTest::newRow("cut after a ; inside a text") << QByteArray("CREATE TABLE A (x TEXT);\nINSERT INTO A VALUES ('a;") << 1
                                                 << "ends inside a statement";
    QTest::newRow("Latin-1") << QByteArray("CREATE TABLE A (x TEXT);\nINSERT INTO A VALUES ('\xdc" "n\xef" "c\xf6" "d\xe9');")
                             << -1 << "not written in UTF-8";
}

void TestWorkers::scriptThatIsNotWholeIsTold()
{
    QFETCH(QByteArray, text);
    QFETCH(int, ran);
    QFETCH(QString, told);
    SqliteDatabase* db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/w.db");
    ExecSqlScript script(writeScript(text), &db->connection());
    QSignalSpy error(&script, &ThreadObject::error);
    QCOMPARE(script.init() ? stepAll(script) : -1, ran);
    const QString said = error.isEmpty() ? QString() : error.at(0).at(0).toString();
    QVERIFY2(error.count() == (told.isEmpty() ? 0 : 1) && said.contains(told)
                 && (ran < 0 || told.isEmpty() || said.contains(QStringLiteral("%1 statement(s)").arg(ran))), qPrintable(said));
    QVERIFY(error.isEmpty() || error.at(0).at(1).toInt() == ErrorWarning);
    QCOMPARE(tablesOf(db).contains("A"), ran > 0);
}

void TestWorkers::scriptProgressCountsStatementCharacters()
{
    SqliteDatabase* db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/p.db");
    const QByteArray text = "CREATE TABLE P (x INTEGER);\r\n\r\nINSERT INTO P\r\nVALUES (1);\r\n";
    ExecSqlScript script(writeScript(text), &db->connection());
    QSignalSpy progress(&script, &ThreadObject::updateProgress);
    QVERIFY(script.init());
    stepAll(script);
    QCOMPARE(progress.count(), 2);
    const float size = float(text.size());
    // Characters of statements with one line feed per line, blank lines not counted.
    QCOMPARE(progress.at(0).at(0).toFloat(), 28 / size);
    QCOMPARE(progress.at(1).at(0).toFloat(), (28 + 26) / size);
    QVERIFY(progress.at(1).at(0).toFloat() < 1.0f);
}

void TestWorkers::emptyScriptIsDoneAtOnce()
{
    SqliteDatabase* db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/e.db");
    ExecSqlScript script(writeScript(""), &db->connection());
    QSignalSpy done(&script, &ThreadObject::done);
    QVERIFY(script.init());
    QCOMPARE(stepAll(script), 0);
    QCOMPARE(done.count(), 1);
}

void TestWorkers::unreadableScriptIsReported()
{
    SqliteDatabase* db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/u.db");
    ExecSqlScript script("/nonexistent/script.sql", &db->connection());
    QSignalSpy error(&script, &ThreadObject::error);
    QVERIFY(!script.init());
    QCOMPARE(error.count(), 1);
    QVERIFY(error.at(0).at(0).toString().contains("/nonexistent/script.sql"));
    QCOMPARE(error.at(0).at(1).toInt(), 2);
}

void TestWorkers::progressEstimates()
{
    const QDateTime start(QDate(2026, 1, 1), QTime(10, 0, 0));
    QDateTime now = start;
    DialogProgress dialog("t");
    dialog.setClock([&] { return now; });

    dialog.updateProgress(0.0f);
    QCOMPARE(dialog.timeRemainingText(), QString("Unknown"));
    now = start.addSecs(10);
    dialog.updateProgress(0.5f);
    QCOMPARE(dialog.timeRemainingText(), QString("11s"));
    QCOMPARE(dialog.finishTimeText(), QString("10:00:21"));
    QCOMPARE(dialog.progressValue(), 50);

    // Later estimates are averaged with the previous one.
    DialogProgress avg("t");
    now = start;
    avg.setClock([&] { return now; });
    avg.updateProgress(0.0f);
    now = start.addSecs(49);
    avg.updateProgress(0.5f); // raw 50
    QCOMPARE(avg.timeRemainingText(), QString("50s"));
    now = start.addSecs(117);
    avg.updateProgress(0.75f); // raw total 157, remaining 40
    QCOMPARE(avg.timeRemainingText(), QString("45s"));

    struct Case { int elapsed; float fraction; const char* text; };
    const Case cases[] = {{250, 0.0625f, "1h 2m"}, {1000, 0.25f, "50m 1s"}, {100, 0.5f, "1m 41s"}};
    for (const Case& c : cases) {
        DialogProgress d("t");
        now = start;
        d.setClock([&] { return now; });
        d.updateProgress(0.0f);
        now = start.addSecs(c.elapsed);
        d.updateProgress(c.fraction);
        QCOMPARE(d.timeRemainingText(), QString(c.text));
    }

    // A negative fraction shows the busy bar and restarts the clock.
    now = start.addSecs(500);
    dialog.updateProgress(-1.0f);
    QCOMPARE(dialog.progressMaximum(), 0);
    QCOMPARE(dialog.timeRemainingText(), QString("Unknown"));
    QCOMPARE(dialog.finishTimeText(), QString("Unknown"));
    dialog.updateProgress(0.25f);
    QCOMPARE(dialog.progressMaximum(), 100);
    now = start.addSecs(510);
    dialog.updateProgress(0.5f);
    QCOMPARE(dialog.timeRemainingText(), QString("11s"));

    dialog.setInfo(1, "details");
    QCOMPARE(dialog.detailedInfoText(), QString("details"));
    dialog.setInfo(0, "New title");
    QCOMPARE(dialog.windowTitle(), QString("New title"));
    dialog.setInfo(2, "ignored");
    QCOMPARE(dialog.windowTitle(), QString("New title"));
    QCOMPARE(dialog.detailedInfoText(), QString("details"));
}

void TestWorkers::progressWithoutWorkDone()
{
    QDateTime now(QDate(2026, 1, 1), QTime(10, 0, 0));
    DialogProgress dialog("t");
    dialog.setClock([&] { return now; });
    dialog.updateProgress(0.0f);
    now = now.addSecs(30);
    dialog.updateProgress(0.0f);
    QCOMPARE(dialog.timeRemainingText(), QString("Unknown"));
    QCOMPARE(dialog.finishTimeText(), QString("Unknown"));
    QCOMPARE(dialog.progressValue(), 0);
}

void TestWorkers::escapeDoesNotCloseTheProgressDialog()
{
    DialogProgress dialog("t");
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    dialog.reject();
    QVERIFY(dialog.isVisible());
    dialog.abort();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void TestWorkers::scriptThreadRunsToTheEnd()
{
    const QString path = TestEnvironment::instance()->newFolder() + "/t.db";
    SqliteDatabase db;
    QCOMPARE(db.open(path, true), 0);
    ExecSqlScriptThread thread(SqliteDatabase::schemaScript, &db.connection(), nullptr);
    QCOMPARE(thread.exec(), int(QDialog::Accepted));
    QVERIFY(!thread.hasError());
    QVERIFY(db.checkSchema());
}

void TestWorkers::abortStopsTheWorker()
{
    EndlessThread thread;
    QTimer::singleShot(100, [&] {
        auto* button = thread.dialog().findChild<QPushButton*>("abortButton");
        QVERIFY(button);
        button->click();
        QCOMPARE(thread.dialog().detailedInfoText(),
                 QString("Aborting... Please wait while the task terminates ..."));
        QCOMPARE(thread.dialog().progressMaximum(), 0);
    });
    QCOMPARE(thread.exec(), int(QDialog::Rejected));
    QVERIFY(thread.isFinished());
}

void TestWorkers::progressBurstReachesTheDialogCoalesced()
{
    const int steps = 100000;
    CountingThread thread(steps);
    QueuedCalls calls;
    thread.dialog().installEventFilter(&calls);
    QCOMPARE(thread.exec(), int(QDialog::Accepted));
    QCOMPARE(thread.begun.load(), steps + 1);
    // The dialog is not woken for every step, yet it shows where the work ended.
    QVERIFY2(calls.count > 0 && calls.count < steps / 10, qPrintable(QString::number(calls.count)));
    QCOMPARE(thread.dialog().progressValue(), 100);
}

void TestWorkers::abortLandsWithinOneStep()
{
    CountingThread thread(0);
    int begunAtAbort = -1;
    QTimer::singleShot(100, [&] {
        thread.dialog().findChild<QPushButton*>("abortButton")->click();
        begunAtAbort = thread.begun.load();
    });
    QCOMPARE(thread.exec(), int(QDialog::Rejected));
    QVERIFY(begunAtAbort > 0);
    // Only a step that had already passed its check when Abort was pressed may follow.
    QVERIFY2(thread.begun.load() <= begunAtAbort + 1,
             qPrintable(QStringLiteral("%1 after %2").arg(thread.begun.load()).arg(begunAtAbort)));
}

void TestWorkers::dialogCatchesUpWhileTheWorkerIsBusy()
{
    PausingThread thread;
    int shownDuringPause = -1;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (thread.begun.load() <= 1000)
            return;
        poll.stop();
        // Well after the burst, yet long before the work ends.
        QTimer::singleShot(200, [&] {
            shownDuringPause = thread.dialog().progressValue();
            thread.release.store(true);
        });
    });
    poll.start();
    QCOMPARE(thread.exec(), int(QDialog::Accepted));
    QCOMPARE(shownDuringPause, 50);
}

void TestWorkers::failedStatementEndsTheProgram()
{
    const QString path = TestEnvironment::instance()->newFolder() + "/fatal.db";
    const ChildResult r = runChildScenario("failedStatementIsFatal", {path});
    QVERIFY(!r.crashed);
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.output.contains("SELECT NoSuchColumn FROM Client"));
    // A statement of megabytes is shown by its beginning.
    const QString shown = SqlQuery::reportedStatement("SELECT '" + QString(1 << 20, 'x') + "'");
    QVERIFY(shown.startsWith("SELECT 'xx") && shown.size() < 400 && shown.contains(QLocale().toString((1 << 20) + 9)));
}

// Another program holds the file through every attempt: the statements run
// before stay, the script stops there and says so, and nothing is fatal.
void TestWorkers::scriptStoppedByAnotherWriterSaysWhereItStopped()
{
    const QString path = TestEnvironment::instance()->newFolder() + "/held.db";
    SqliteDatabase* db = SeededDatabase::createEmpty(path);
    ExecSqlScript script(writeScript("CREATE TABLE H (x INTEGER);\nINSERT INTO H VALUES (1);\n"), &db->connection());
    QSignalSpy error(&script, &ThreadObject::error);
    QVERIFY(script.init());
    script.setAbort();
    QVERIFY(script.step());
    QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other program");
    other.setDatabaseName(path);
    QVERIFY(other.open());
    QVERIFY(QSqlQuery(other).exec("BEGIN IMMEDIATE"));
    QSqlQuery(db->connection()).exec("PRAGMA busy_timeout=200");
    const int before = std::exchange(WriteLock::waitSeconds, 1);
    QVERIFY(!script.step());
    WriteLock::waitSeconds = before;
    QVERIFY(QSqlQuery(other).exec("ROLLBACK"));
    QCOMPARE(error.count(), 1);
    QCOMPARE(error.at(0).at(1).toInt(), int(ErrorWarning)); // a plain warning: the installation is whole
    const QString text = error.at(0).at(0).toString();
    QVERIFY2(text.contains("Done and saved: 1 statement(s)") && text.contains("Not done: The statement \"INSERT INTO H"),
             qPrintable(text));
    QSqlQuery rows(db->connection());
    QVERIFY(rows.exec("SELECT COUNT(*) FROM H") && rows.next());
    QCOMPARE(rows.value(0).toInt(), 0);
}

PELVANE_TEST_MAIN(TestWorkers)
#include "TestWorkers.moc"
