#include "database/MySqlDatabase.h"
#include "database/SqlQuery.h"
#include "support/DialogAnswerer.h"
#include "support/MariaDbServer.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QMessageBox>
#include <QSettings>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

namespace {
const QString kNoSuchDatabase =
    QStringLiteral("This database does not exist. Would you like to create a new database?");
const QString kAlreadyExists = QStringLiteral(
    "Database already exists. Are you sure you want to create a new database? All existing data will be overwritten.");
const QString kUnableToConnect =
    QStringLiteral(". Unable to connect to the MySQL service. Please check the settings and try again.");

int countRows(QSqlDatabase db, const QString& statement)
{
    QSqlQuery q(db);
    if (!q.exec(statement) || !q.next())
        return -1;
    return q.value(0).toInt();
}

int tableCount(const QString& database)
{
    QSqlQuery q(QSqlDatabase::database(QStringLiteral("pelvane-test-admin")));
    q.prepare("SELECT COUNT(*) FROM information_schema.tables WHERE table_schema=:name");
    q.bindValue(":name", database);
    if (!q.exec() || !q.next())
        return -1;
    return q.value(0).toInt();
}
} // namespace

class TestMySqlDatabase : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void quoteIdentifierDoublesBackquotes();
    void missingDatabaseIsCreatedAfterYesAndReopensFromSettings();
    void missingDatabaseCancelCreatesNothing();
    void retryAsksAgain();
    void createOverExistingAsksAndKeepsData();
    void listDatabasesUsesTheLogin();
    void wrongCredentialsKeepThePreviousDatabase();
    void unreachableServerGivesTheMessage();
    void foreignDatabaseFailsTheSchemaCheck();
    void schemaHoldsTheDeleteRules();

private:
    QString newName(const QString& hint);
    // A new database on the server, created through the missing-database
    // question, made current.
    MySqlDatabase* createCurrent(const QString& name);
    QStringList m_created;
};

void TestMySqlDatabase::initTestCase()
{
    PELVANE_REQUIRE_MARIADB();
}

void TestMySqlDatabase::cleanup()
{
    Database::setInstance(nullptr);
    TestEnvironment::clearSettings();
    for (const QString& name : std::as_const(m_created))
        MariaDbServer::dropDatabase(name);
    m_created.clear();
}

MySqlDatabase* TestMySqlDatabase::createCurrent(const QString& name)
{
    DialogAnswerer answerer;
    answerer.pressNext("Yes");
    auto* db = new MySqlDatabase;
    if (db->open(MariaDbServer::settings(name)) != 0 || answerer.count() != 1) {
        delete db;
        return nullptr;
    }
    Database::setInstance(db);
    return db;
}

QString TestMySqlDatabase::newName(const QString& hint)
{
    const QString name = MariaDbServer::uniqueName(hint);
    m_created.append(name);
    return name;
}

void TestMySqlDatabase::quoteIdentifierDoublesBackquotes()
{
    QCOMPARE(MySqlDatabase::quoteIdentifier("Assets"), QString("`Assets`"));
    QCOMPARE(MySqlDatabase::quoteIdentifier("my db-2"), QString("`my db-2`"));
    QCOMPARE(MySqlDatabase::quoteIdentifier("a`b"), QString("`a``b`"));
}

void TestMySqlDatabase::missingDatabaseIsCreatedAfterYesAndReopensFromSettings()
{
    // A legal name with a blank and a hyphen must work.
    const QString name = newName("new db-1");
    DialogAnswerer answerer;
    answerer.pressNext("Yes");
    auto* db = new MySqlDatabase;
    QCOMPARE(db->open(MariaDbServer::settings(name)), 0);
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.last().text, kNoSuchDatabase);
    QCOMPARE(answerer.last().icon, int(QMessageBox::Question));
    QCOMPARE(tableCount(name), 11);
    QVERIFY(db->checkSchema());
    QCOMPARE(db->databaseName(), name);
    QCOMPARE(db->type(), int(DatabaseMySql));
    QCOMPARE(db->connectionSettings().host, MariaDbServer::settings().host);

    Database::setInstance(db);
    const int client = db->findOrInsertClient("Kept");
    QVERIFY(client > 0);
    Database::saveSettings(db);
    QSettings settings;
    QCOMPARE(settings.value("db/current/type").toInt(), int(DatabaseMySql));
    QCOMPARE(settings.value("db/current/dbName").toString(), name);
    QCOMPARE(settings.value("db/current/password").toString(), MariaDbServer::settings().password);
    // The stored password is for the owner's eyes only.
    QCOMPARE(QFile::permissions(settings.fileName()) & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup
                                                        | QFile::WriteOther),
             QFile::Permissions());
    Database::setInstance(nullptr);

    answerer.clear();
    Database* reopened = Database::openFromSettings();
    QVERIFY(reopened);
    Database::setInstance(reopened);
    QCOMPARE(answerer.count(), 0);
    QCOMPARE(reopened->databaseName(), name);
    QCOMPARE(reopened->findOrInsertClient("Kept"), client);
}

void TestMySqlDatabase::missingDatabaseCancelCreatesNothing()
{
    const QString name = newName("cancelled");
    DialogAnswerer answerer; // the question's escape button is Cancel
    {
        MySqlDatabase db;
        QVERIFY(db.open(MariaDbServer::settings(name)) != 0);
        QVERIFY(db.databaseName().isEmpty());
    }
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.last().text, kNoSuchDatabase);
    QCOMPARE(tableCount(name), 0);
    QVERIFY(!MySqlDatabase::listDatabases(MariaDbServer::settings().host, MariaDbServer::settings().userName,
                                          MariaDbServer::settings().password)
                 .contains(name));
    const ConnectionSettings s = MariaDbServer::settings(name);
    QVERIFY(!QSqlDatabase::contains(s.host + "." + name));
}

void TestMySqlDatabase::retryAsksAgain()
{
    const QString name = newName("retry");
    DialogAnswerer answerer;
    answerer.pressNext("Retry");
    answerer.pressNext("Retry");
    answerer.pressNext("Cancel");
    MySqlDatabase db;
    QVERIFY(db.open(MariaDbServer::settings(name)) != 0);
    QCOMPARE(answerer.count(), 3);
    for (const DialogAnswerer::Seen& seen : answerer.seen())
        QCOMPARE(seen.text, kNoSuchDatabase);
}

void TestMySqlDatabase::createOverExistingAsksAndKeepsData()
{
    const QString name = newName("existing");
    MySqlDatabase* first = createCurrent(name);
    QVERIFY(first);
    DialogAnswerer answerer;
    first->findOrInsertClient("Precious");
    Database::setInstance(nullptr);

    ConnectionSettings create = MariaDbServer::settings(name);
    create.create = true;
    answerer.clear();
    answerer.pressNext("No");
    {
        MySqlDatabase declined;
        QCOMPARE(declined.open(create), 1);
    }
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.last().text, kAlreadyExists);
    QCOMPARE(answerer.last().icon, int(QMessageBox::Warning));

    answerer.clear();
    answerer.pressNext("Yes");
    auto* again = new MySqlDatabase;
    QCOMPARE(again->open(create), 0);
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(tableCount(name), 11);
    QCOMPARE(countRows(again->connection(), "SELECT COUNT(*) FROM Client WHERE Name='Precious'"), 1);
    delete again;
}

void TestMySqlDatabase::listDatabasesUsesTheLogin()
{
    const QString name = newName("listed");
    QVERIFY(MariaDbServer::exec(QStringLiteral("CREATE DATABASE `%1`").arg(name)));
    const ConnectionSettings s = MariaDbServer::settings();
    DialogAnswerer answerer;
    const QStringList names = MySqlDatabase::listDatabases(s.host, s.userName, s.password);
    QCOMPARE(answerer.count(), 0);
    QVERIFY(names.contains(name));
    QVERIFY(names.contains("information_schema"));
    QVERIFY(!QSqlDatabase::contains(MySqlDatabase::listingConnectionName));

    // Without the login the server refuses the listing.
    QVERIFY(MySqlDatabase::listDatabases(s.host, s.userName, "wrong").isEmpty());
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.last().icon, int(QMessageBox::Critical));
    QVERIFY(answerer.last().text.startsWith("Cannot connect to server. Error:\n\n"));
    QVERIFY2(answerer.last().text.contains("Access denied"), qPrintable(answerer.last().text));
}

void TestMySqlDatabase::wrongCredentialsKeepThePreviousDatabase()
{
    const QString name = newName("previous");
    MySqlDatabase* previous = createCurrent(name);
    QVERIFY(previous);
    previous->findOrInsertClient("Still here");
    DialogAnswerer answerer;
    ConnectionSettings wrong = MariaDbServer::settings(name);
    wrong.password = "not the password";
    {
        MySqlDatabase db;
        QVERIFY(db.open(wrong) != 0);
    }
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.last().icon, int(QMessageBox::Warning));
    QVERIFY2(answerer.last().text.endsWith(kUnableToConnect), qPrintable(answerer.last().text));
    QVERIFY(answerer.last().text.contains("Access denied"));
    QCOMPARE(Database::instance(), previous);
    QVERIFY(previous->checkSchema());
    QCOMPARE(countRows(previous->connection(), "SELECT COUNT(*) FROM Client WHERE Name='Still here'"), 1);

    // A good second connection to the same database replaces the first.
    auto* second = new MySqlDatabase;
    QCOMPARE(second->open(MariaDbServer::settings(name)), 0);
    Database::setInstance(second); // deletes the first
    QVERIFY(second->connection().isOpen());
    QVERIFY(second->checkSchema());
}

void TestMySqlDatabase::unreachableServerGivesTheMessage()
{
    const QString name = newName("current");
    MySqlDatabase* previous = createCurrent(name);
    QVERIFY(previous);
    DialogAnswerer answerer;

    // The test server listens on 127.0.0.1 only: on 127.0.0.2 the port is
    // closed, as it is when the server is stopped.
    ConnectionSettings stopped = MariaDbServer::settings(name);
    stopped.host = "127.0.0.2";
    {
        MySqlDatabase db;
        QVERIFY(db.open(stopped) != 0);
    }
    QCOMPARE(answerer.count(), 1);
    QVERIFY2(answerer.last().text.endsWith(kUnableToConnect), qPrintable(answerer.last().text));
    QVERIFY2(answerer.last().text.contains("Can't connect"), qPrintable(answerer.last().text));
    QCOMPARE(Database::instance(), previous);
    QVERIFY(previous->connection().isOpen());
    QVERIFY(previous->checkSchema());

    // The listing says it its own way.
    answerer.clear();
    QVERIFY(MySqlDatabase::listDatabases("127.0.0.2", stopped.userName, stopped.password).isEmpty());
    QCOMPARE(answerer.count(), 1);
    QVERIFY(answerer.last().text.startsWith("Cannot connect to server. Error:"));
}

void TestMySqlDatabase::foreignDatabaseFailsTheSchemaCheck()
{
    const QString name = newName("foreign");
    QVERIFY(MariaDbServer::exec(QStringLiteral("CREATE DATABASE `%1`").arg(name)));
    QVERIFY(MariaDbServer::exec(QStringLiteral("CREATE TABLE `%1`.Client (Id INT, Name TEXT)").arg(name)));
    DialogAnswerer answerer;
    MySqlDatabase db;
    QVERIFY(db.open(MariaDbServer::settings(name)) != 0);
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.last().className, QString("DialogErrorMessage"));
    QVERIFY(answerer.last().text.contains(
        "The database is not a Pelvane database or it has become corrupted. The database will now be closed."));
    QVERIFY(db.databaseName().isEmpty());
}

void TestMySqlDatabase::schemaHoldsTheDeleteRules()
{
    const QString name = newName("rules");
    MySqlDatabase* db = createCurrent(name);
    QVERIFY(db);
    DialogAnswerer answerer;

    const int client = db->findOrInsertClient("  Client A ");
    QCOMPARE(db->findOrInsertClient("Client A"), client);
    const int location = db->findOrInsertLocation(db->findOrInsertSite(client, "Site"), "Room");
    const int equipment = db->findOrInsertEquipment("M", "X", "S", 1);
    const int instrument = db->findOrInsertInstrument(1, "Q1", QDate(2026, 1, 2), "1.0", 9600, 8, 0, 1);
    const int kept = db->insertAsset("Kept", "", "", "", location, equipment, 12);
    const int gone = db->insertAsset("Gone", "", "", "", location, equipment, 12);
    const QDateTime when(QDate(2026, 1, 31), QTime(10, 0));
    const int set = db->insertResultSet(instrument, gone, when, 2, 2, 1, "tech", "");
    QSqlQuery insert(db->connection());
    QVERIFY(insert.exec(QStringLiteral("INSERT INTO Result (ResultSetId,TestId,Status) VALUES (%1,1,1)").arg(set)));
    QVERIFY(insert.exec(QStringLiteral("INSERT INTO AppliedPart (AssetId,Name) VALUES (%1,'ECG')").arg(gone)));
    QVERIFY(insert.exec(QStringLiteral("INSERT INTO TestSequence (AssetId,Name) VALUES (%1,'S')").arg(gone)));

    // The retest date is a month on, at the end of the shorter month.
    QSqlQuery retest(db->connection());
    QVERIFY(retest.exec(QStringLiteral("SELECT RetestDate, LatestResultSetId FROM Asset WHERE Id=%1").arg(gone)));
    QVERIFY(retest.next());
    QCOMPARE(retest.value(0).toDateTime(), QDateTime(QDate(2027, 1, 31), QTime(10, 0)));
    QCOMPARE(retest.value(1).toInt(), set);

    // Result sets keep naming an instrument that the register deleted.
    const int other = db->insertResultSet(instrument, kept, when, 2, 2, 1, "tech", "");
    QSqlQuery instrumentGone(db->connection());
    QVERIFY2(instrumentGone.exec(QStringLiteral("DELETE FROM Instrument WHERE Id=%1").arg(instrument)),
             qPrintable(instrumentGone.lastError().text()));
    QCOMPARE(countRows(db->connection(), QStringLiteral("SELECT InstrumentId FROM ResultSet WHERE Id=%1").arg(other)),
             instrument);
    QVERIFY(insert.exec(QStringLiteral("DELETE FROM ResultSet WHERE Id=%1").arg(other)));

    db->recycleAssets({gone}); // Delete for good takes it from the recycle bin
    db->deleteAssets({gone});
    QCOMPARE(countRows(db->connection(), "SELECT COUNT(*) FROM ResultSet"), 0);
    QCOMPARE(countRows(db->connection(), "SELECT COUNT(*) FROM Result"), 0);
    QCOMPARE(countRows(db->connection(), "SELECT COUNT(*) FROM AppliedPart"), 0);
    QCOMPARE(countRows(db->connection(), "SELECT COUNT(*) FROM TestSequence"), 0);

    // A client whose assets are recycled goes; the assets stay in the bin.
    db->recycleAssets({kept});
    QSqlQuery remove(db->connection());
    QVERIFY2(remove.exec(QStringLiteral("DELETE FROM Client WHERE Id=%1").arg(client)),
             qPrintable(remove.lastError().text()));
    QCOMPARE(countRows(db->connection(), "SELECT COUNT(*) FROM Location"), 0);
    QCOMPARE(countRows(db->connection(),
                       QStringLiteral("SELECT COUNT(*) FROM Asset WHERE DeletedLocation='Client A / Site / Room'")),
             1);
    db->restoreAssets({kept});
    QCOMPARE(countRows(db->connection(), "SELECT COUNT(*) FROM Asset WHERE DeletedLocation IS NULL "
                                         "AND LocationId IS NOT NULL"),
             1);
}

PELVANE_TEST_MAIN(TestMySqlDatabase)
#include "TestMySqlDatabase.moc"
