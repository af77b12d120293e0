#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "support/DialogAnswerer.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QSettings>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

namespace {
int count(const QString& statement)
{
    SqlQuery q(statement);
    q.exec();
    return q.next() ? q.value(0).toInt() : -1;
}
} // namespace

class TestSqliteDatabase : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void openRefusesMissingFileAndNamesByTheLastSlash();
    void createRunsSchemaAndReopensFromSettings();
    void createOverExistingDatabaseKeepsData();
    void createWithoutSchemaScriptFails();
    void firstStartOrUnknownTypeOpensNothing();
    void schemaCheckRefusesForeignDatabase_data();
    void schemaCheckRefusesForeignDatabase();
    void openFromSettingsClosesForeignDatabase();
    void reopeningTheCurrentFileKeepsTheNewConnection();
    void openLeavesTheRollbackJournalAndCommitsInFull();
    void writeCreateScriptCopiesTheSchema();
    void openingAnOlderRegisterIndexesTheRetestDate();
};

void TestSqliteDatabase::cleanup()
{
    Database::setInstance(nullptr);
    TestEnvironment::clearSettings();
}

void TestSqliteDatabase::openRefusesMissingFileAndNamesByTheLastSlash()
{
    const QString folder = TestEnvironment::instance()->newFolder();
    SqliteDatabase db;
    QCOMPARE(db.open(folder + "/missing.db", false), 1);
    QVERIFY(!QSqlDatabase::contains(folder + "/missing.db"));
    QVERIFY(!QFile::exists(folder + "/missing.db"));
    QVERIFY(db.databaseName().isEmpty());

    QCOMPARE(db.open(folder + "/site.db", true), 0);
    QCOMPARE(db.databaseName(), QString("site.db"));
    QCOMPARE(db.filePath(), folder + "/site.db");

    // A back slash is part of a Linux file name and does not split it.
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(folder);
    {
        SqliteDatabase plain;
        QCOMPARE(plain.open("a\\b.db", true), 0);
        QCOMPARE(plain.databaseName(), QString("a\\b.db"));
    }
    QDir::setCurrent(cwd);
}

void TestSqliteDatabase::createRunsSchemaAndReopensFromSettings()
{
    const QString path = TestEnvironment::instance()->newFolder() + "/new.db";
    DialogAnswerer answerer;
    auto* db = new SqliteDatabase;
    QCOMPARE(db->create(path), 0);
    QCOMPARE(answerer.count(), 0);
    QVERIFY(db->checkSchema());
    db->findOrInsertClient("Kept");
    Database::setInstance(db);
    Database::saveSettings(db);
    Database::setInstance(nullptr);

    QSettings settings;
    QCOMPARE(settings.value("db/current/type").toInt(), 0);
    QCOMPARE(settings.value("db/current/fileName").toString(), path);

    Database* reopened = Database::openFromSettings();
    QVERIFY(reopened);
    Database::setInstance(reopened);
    QCOMPARE(reopened->type(), int(DatabaseSqlite));
    QCOMPARE(reopened->databaseName(), QString("new.db"));
    QCOMPARE(count("SELECT COUNT(*) FROM Client WHERE Name='Kept'"), 1);
    // Foreign keys are enforced on every open.
    QSqlQuery fk(reopened->connection());
    QVERIFY(fk.exec("PRAGMA foreign_keys") && fk.next());
    QCOMPARE(fk.value(0).toInt(), 1);
}

void TestSqliteDatabase::createOverExistingDatabaseKeepsData()
{
    const QString path = TestEnvironment::instance()->newFolder() + "/existing.db";
    SqliteDatabase* first = SeededDatabase::createSeeded(path);
    QVERIFY(first);
    Database::setInstance(nullptr);

    DialogAnswerer answerer;
    auto* again = new SqliteDatabase;
    QCOMPARE(again->create(path), 0);
    Database::setInstance(again);
    QCOMPARE(count("SELECT COUNT(*) FROM Asset"), 6);
    QCOMPARE(answerer.count(), 0);
}

void TestSqliteDatabase::createWithoutSchemaScriptFails()
{
    const QString folder = TestEnvironment::instance()->newFolder();
    const QString cwd = QDir::currentPath();
    // No Schemas folder beside the program here.
    QDir::setCurrent(folder);
    DialogAnswerer answerer;
    {
        SqliteDatabase db;
        QCOMPARE(db.create(folder + "/empty.db"), 1);
    }
    QDir::setCurrent(cwd);
    QVERIFY(!QFile::exists(folder + "/empty.db"));
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.last().className, QString("DialogErrorMessage"));
    QVERIFY(answerer.last().text.startsWith("Critical warning at"));
    QVERIFY(answerer.last().text.contains("Schemas/schema.sqlite.sql"));
}

void TestSqliteDatabase::firstStartOrUnknownTypeOpensNothing()
{
    bool enabled = true;
    Database::setDatabaseActionsHook([&](bool on) { enabled = on; });
    QVERIFY(!Database::openFromSettings());
    QVERIFY(!enabled);
    Database::setDatabaseActionsHook(nullptr);
    QSettings().setValue("db/current/type", 3);
    QSettings().setValue("db/current/fileName", "/nonexistent");
    QVERIFY(!Database::openFromSettings());
}

void TestSqliteDatabase::schemaCheckRefusesForeignDatabase_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("Asset lacks DeletedLocation") << "ALTER TABLE Asset DROP COLUMN DeletedLocation";
    QTest::newRow("no TestSequence table") << "DROP TABLE TestSequence";
    QTest::newRow("Result lacks CustomUnits") << "ALTER TABLE Result DROP COLUMN CustomUnits";
}

void TestSqliteDatabase::schemaCheckRefusesForeignDatabase()
{
    QFETCH(QString, damage);
    SqliteDatabase* db = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/x.db");
    QVERIFY(db->checkSchema());
    QSqlQuery extra(db->connection());
    QVERIFY(extra.exec("CREATE TABLE Extra (Id INTEGER)"));
    QVERIFY(extra.exec("ALTER TABLE Client ADD COLUMN Notes TEXT"));
    QVERIFY(db->checkSchema());
    QSqlQuery q(db->connection());
    QVERIFY2(q.exec(damage), qPrintable(q.lastError().text()));
    QVERIFY(!db->checkSchema());
}

void TestSqliteDatabase::openFromSettingsClosesForeignDatabase()
{
    const QString path = TestEnvironment::instance()->newFolder() + "/foreign.db";
    {
        SqliteDatabase db;
        QCOMPARE(db.open(path, true), 0);
        QSqlQuery q(db.connection());
        QVERIFY(q.exec("CREATE TABLE Client (Id INTEGER PRIMARY KEY, Name TEXT)"));
    }
    QSettings().setValue("db/current/type", 0);
    QSettings().setValue("db/current/fileName", path);
    DialogAnswerer answerer;
    QVERIFY(!Database::openFromSettings());
    QVERIFY(!Database::instance());
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.last().className, QString("DialogErrorMessage"));
    QCOMPARE(answerer.last().text,
             QString("The database is not a Pelvane database or it has become corrupted. The database will now be closed."));
    QVERIFY(!QSqlDatabase::contains(path));
}

void TestSqliteDatabase::reopeningTheCurrentFileKeepsTheNewConnection()
{
    const QString path = TestEnvironment::instance()->newFolder() + "/same.db";
    SeededDatabase::createEmpty(path);
    auto* second = new SqliteDatabase;
    QCOMPARE(second->open(path, false), 0);
    Database::setInstance(second); // deletes the first object
    QVERIFY(QSqlDatabase::contains(path));
    QCOMPARE(count("SELECT COUNT(*) FROM Client"), 0);
    Database::setInstance(nullptr);
    QVERIFY(!QSqlDatabase::contains(path));
}

void TestSqliteDatabase::openLeavesTheRollbackJournalAndCommitsInFull()
{
    // The file may live on a network share, where a write-ahead log does not
    // work; nothing beside the file but a journal while a write is open.
    const QString folder = TestEnvironment::instance()->newFolder();
    const QString path = folder + "/journal.db";
    SqliteDatabase* db = SeededDatabase::createSeeded(path);
    QVERIFY(db);
    db->findOrInsertClient("Written");
    QSqlQuery q(db->connection());
    QVERIFY(q.exec("PRAGMA journal_mode") && q.next());
    QVERIFY2(q.value(0).toString() != "wal", qPrintable(q.value(0).toString()));
    QVERIFY(q.exec("PRAGMA synchronous") && q.next());
    QCOMPARE(q.value(0).toInt(), 2); // FULL
    QVERIFY(!QFile::exists(path + "-wal"));
    QVERIFY(!QFile::exists(path + "-shm"));
    Database::setInstance(nullptr);

    // What the file says of its journal is what it said before we opened it.
    QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "raw");
    raw.setDatabaseName(path);
    QVERIFY(raw.open());
    {
        QSqlQuery mode(raw);
        QVERIFY(mode.exec("PRAGMA journal_mode") && mode.next());
        QCOMPARE(mode.value(0).toString(), QString("delete"));
    }
    raw.close();
    raw = QSqlDatabase();
    QSqlDatabase::removeDatabase("raw");
}

// A list sorted by retest date reads its first screen from the index, not
// after a sort of every asset; a register made before the index gets it.
void TestSqliteDatabase::openingAnOlderRegisterIndexesTheRetestDate()
{
    const QString path = TestEnvironment::instance()->newFolder() + "/older.db";
    SqliteDatabase* db = SeededDatabase::createSeeded(path);
    QVERIFY(db && QSqlQuery(db->connection()).exec("DROP INDEX AssetRetestDateIndex"));
    Database::setInstance(db = new SqliteDatabase);
    QCOMPARE(db->open(path, false), 0);
    QSqlQuery plan(db->connection());
    QStringList steps;
    for (plan.exec("EXPLAIN QUERY PLAN SELECT a.Id FROM Asset a LEFT JOIN ResultSet rs ON a.LatestResultSetId=rs.Id "
                   "WHERE DeletedLocation IS NULL ORDER BY a.RetestDate DESC,a.Id DESC"); plan.next();)
        steps << plan.value(3).toString();
    QVERIFY2(steps.join('|').contains("AssetRetestDateIndex") && !steps.join('|').contains("B-TREE"), qPrintable(steps.join('|')));
}

void TestSqliteDatabase::writeCreateScriptCopiesTheSchema()
{
    SqliteDatabase db;
    QString text;
    QTextStream out(&text);
    db.writeCreateScript(out);
    out.flush();
    QFile file(SqliteDatabase::schemaScript);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QCOMPARE(text, QString::fromUtf8(file.readAll()));
    QVERIFY(text.contains("CREATE TABLE IF NOT EXISTS Result"));
}

PELVANE_TEST_MAIN(TestSqliteDatabase)
#include "TestSqliteDatabase.moc"
