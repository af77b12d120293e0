#include "database/MsSqlDatabase.h"
#include "database/MySqlDatabase.h"
#include "database/SqliteDatabase.h"
#include "support/DialogAnswerer.h"
#include "support/QuietServer.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QSettings>
#include <QSqlDatabase>
#include <QtTest>
#include <cstdio>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
const QString kConnectError = QStringLiteral("There was an error connecting to the database.\n\n");

QString freeTdsDriver()
{
    const QStringList candidates = {QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so"),
                                    QStringLiteral("/usr/lib/aarch64-linux-gnu/odbc/libtdsodbc.so"),
                                    QStringLiteral("/usr/lib/odbc/libtdsodbc.so"),
                                    QStringLiteral("/usr/lib64/libtdsodbc.so")};
    for (const QString& path : candidates)
        if (QFile::exists(path))
            return path;
    return QString();
}

// A loopback port on which nothing listens: bound once, then released.
quint16 closedPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

// A SQL Server database as a successful connect leaves it, without a server.
class ConnectedMsSql : public MsSqlDatabase
{
public:
    explicit ConnectedMsSql(const ConnectionSettings& s) { m_settings = s; }
};

ConnectionSettings loopback(const QString& database = QStringLiteral("Assets"))
{
    ConnectionSettings s;
    s.host = QStringLiteral("127.0.0.1");
    s.databaseName = database;
    s.userName = QStringLiteral("sa");
    s.password = QStringLiteral("Secret-1");
    return s;
}
} // namespace

class TestMsSqlDatabase : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void connectionStrings_data();
    void connectionStrings();
    void statementsQuoteNames();
    void legacyAttachStatements();
    void legacyAttachFailureIsShownAndLeavesTheCurrentDatabase();
    void legacyAttachStopsWhenMasterCannotBeUsed();
    void connectFailureIsShownAndLeavesThePreviousDatabase();
    void loginIsSentOnlyWithoutIntegratedSecurity();
    void listingFailureIsShown();
    void reopenFromSettingsFailsWithTheMessage();
    void integratedSecurityIsStoredWithoutLogin();
    void connectNamesTheDriverOrWhatToInstall_data();
    void connectNamesTheDriverOrWhatToInstall();
    void quietHostIsGivenUpWithoutThePassword_data();
    void quietHostIsGivenUpWithoutThePassword();
    void hostDecliningEncryptionGetsNoLogin();
    void silentResolverIsGivenUpWithinTheTimeout();

private:
    QString traceSince(qint64 offset) const;
    qint64 traceSize() const { return QFileInfo(m_trace).size(); }
    QString m_trace;
    // unixODBC keeps 63 characters of a trace file's path, whatever TMPDIR is.
    QTemporaryDir m_traces{QStringLiteral("/tmp/odbc-XXXXXX")};
};

void TestMsSqlDatabase::initTestCase()
{
    const QString driver = freeTdsDriver();
    if (driver.isEmpty() || !QSqlDatabase::isDriverAvailable("QODBC")) {
        if (qgetenv("CI") == "true")
            QFAIL("FreeTDS (tdsodbc) or Qt's QODBC driver is missing");
        QSKIP("FreeTDS (tdsodbc) or Qt's QODBC driver is missing; run scripts/setup");
    }
    // The driver manager reads this folder instead of the machine's own
    // files; its trace shows what each connect hands to the driver.
    const QString folder = TestEnvironment::instance()->newFolder("odbc");
    m_trace = m_traces.path() + "/trace.log";
    QFile ini(folder + "/odbcinst.ini");
    QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Text));
    ini.write(QStringLiteral("[ODBC]\nTrace=Yes\nTraceFile=%1\n\n[SQL Server]\nDescription=FreeTDS\nDriver=%2\n")
                  .arg(m_trace, driver)
                  .toUtf8());
    ini.close();
    QFile odbcIni(folder + "/odbc.ini");
    QVERIFY(odbcIni.open(QIODevice::WriteOnly));
    odbcIni.close();
    qputenv("ODBCSYSINI", QFile::encodeName(folder));
    qputenv("ODBCINSTINI", "odbcinst.ini");
    qputenv("ODBCINI", QFile::encodeName(folder + "/odbc.ini"));
    // FreeTDS's default port, pointed at a port with nothing listening.
    qputenv("TDSPORT", QByteArray::number(closedPort()));
    qputenv("MYSQL_TCP_PORT", QByteArray::number(closedPort()));
}

void TestMsSqlDatabase::cleanup()
{
    Database::setInstance(nullptr);
    TestEnvironment::clearSettings();
}

QString TestMsSqlDatabase::traceSince(qint64 offset) const
{
    QFile file(m_trace);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    file.seek(offset);
    return QString::fromUtf8(file.readAll());
}

void TestMsSqlDatabase::connectionStrings_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("database");
    QTest::addColumn<bool>("create");
    QTest::addColumn<bool>("integrated");
    QTest::addColumn<QString>("expected");
    QTest::newRow("database") << "SERVER\\SQLEXPRESS" << "Assets" << false << false
                              << "Driver={SQL Server};Server=SERVER\\SQLEXPRESS;Database=Assets";
    QTest::newRow("create opens the default database")
        << "." << "Assets" << true << false << "Driver={SQL Server};Server=.";
    QTest::newRow("integrated security") << "(local)" << "Assets" << false << true
                                         << "Driver={SQL Server};Server=(local);Database=Assets;Trusted_Connection=Yes";
    QTest::newRow("integrated create") << "db1" << "x" << true << true
                                       << "Driver={SQL Server};Server=db1;Trusted_Connection=Yes";
    QTest::newRow("blank and hyphen") << "db1" << "my db-2" << false << false
                                      << "Driver={SQL Server};Server=db1;Database=my db-2";
    QTest::newRow("separator in a name is braced")
        << "db1" << "a;b}c" << false << false << "Driver={SQL Server};Server=db1;Database={a;b}}c}";
}

void TestMsSqlDatabase::connectionStrings()
{
    QFETCH(QString, host);
    QFETCH(QString, database);
    QFETCH(bool, create);
    QFETCH(bool, integrated);
    QFETCH(QString, expected);
    ConnectionSettings s;
    s.host = host;
    s.databaseName = database;
    s.create = create;
    s.integratedSecurity = integrated;
    QCOMPARE(MsSqlDatabase::connectionString(s, !create), expected);
}

void TestMsSqlDatabase::statementsQuoteNames()
{
    QCOMPARE(MsSqlDatabase::createDatabaseStatement("Assets"), QString("CREATE DATABASE [Assets]"));
    QCOMPARE(MsSqlDatabase::createDatabaseStatement("my db-2"), QString("CREATE DATABASE [my db-2]"));
    QCOMPARE(MsSqlDatabase::useDatabaseStatement("a]b"), QString("USE [a]]b]"));

    MsSqlDatabase db;
    QString text;
    QTextStream out(&text);
    db.writeCreateScript(out);
    out.flush();
    QVERIFY(text.contains("CREATE TABLE dbo.Result ("));
}

void TestMsSqlDatabase::legacyAttachStatements()
{
    QCOMPARE(MsSqlDatabase::legacyNativePath("/data/v1/old.mdf"), QDir::toNativeSeparators("/data/v1/old.mdf"));
    QCOMPARE(MsSqlDatabase::legacyLogPath("C:\\data\\old.mdf"), QString("C:\\data\\old_log.LDF"));
    QCOMPARE(MsSqlDatabase::attachStatement("C:\\data\\old.mdf"), QString("sp_attach_db __temp,'C:\\data\\old.mdf'"));
    QCOMPARE(MsSqlDatabase::attachStatement("C:\\data\\old.mdf", "C:\\data\\old_log.LDF"),
             QString("sp_attach_db __temp,'C:\\data\\old.mdf','C:\\data\\old_log.LDF'"));
    // A quote in a folder name stays inside the literal.
    QCOMPARE(MsSqlDatabase::attachStatement("C:\\O'Brien\\old.mdf"),
             QString("sp_attach_db __temp,'C:\\O''Brien\\old.mdf'"));
}

void TestMsSqlDatabase::legacyAttachFailureIsShownAndLeavesTheCurrentDatabase()
{
    SqliteDatabase* current = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/kept.db");
    QVERIFY(current);
    const QString file = TestEnvironment::instance()->newFolder("v1") + "/old.mdf";
    DialogAnswerer answerer;
    const qint64 mark = traceSize();
    {
        MsSqlDatabase legacy;
        QVERIFY(legacy.open(file) != 0);
        QVERIFY(QSqlDatabase::contains(file));
    }
    QVERIFY(!QSqlDatabase::contains(file));
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.last().icon, int(QMessageBox::Warning));
    QVERIFY2(answerer.last().text.startsWith("Cannot open master database\n\n"), qPrintable(answerer.last().text));
    QVERIFY(answerer.last().text.size() > 40);
    // The local Express instance, without a login of its own.
    const QString sent = traceSince(mark);
    QVERIFY2(sent.contains("Driver={SQL Server};Server=.\\SQLEXPRESS"), qPrintable(sent.left(3000)));
    QVERIFY(!sent.contains("UID="));
    QCOMPARE(Database::instance(), current);
    QVERIFY(current->checkSchema());
}

namespace {
class BoxCounter : public QObject
{
public:
    explicit BoxCounter(int* count) : m_count(count) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                ++*m_count;
                std::fputs(qPrintable(box->text()), stdout);
            }
        return false;
    }

private:
    int* m_count;
};
} // namespace

// The driver manager reads its configuration once per process, so the attach
// over another driver runs in a child of its own. args: the .mdf path, the
// working folder. The SQLite driver makes a database file named after the
// whole connection string in the working folder, which must not be the
// build folder the tests run in.
PELVANE_CHILD_SCENARIO(attachOverSqliteOdbc)
{
    QDir::setCurrent(args.value(1));
    // Seen when shown, before the child's answerer closes it.
    int boxes = 0;
    BoxCounter counter(&boxes);
    qApp->installEventFilter(&counter);
    MsSqlDatabase legacy;
    const int result = legacy.open(args.value(0));
    std::fflush(stdout);
    if (boxes != 1)
        return 2;
    return result != 0 ? 0 : 3;
}

// An ODBC driver that opens but speaks no SQL Server: the attach gets past
// the connection and must stop at the first statement that fails.
void TestMsSqlDatabase::legacyAttachStopsWhenMasterCannotBeUsed()
{
    const QString driver = QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so");
    if (!QFile::exists(driver)) {
        if (qgetenv("CI") == "true")
            QFAIL("The SQLite ODBC driver (libsqliteodbc) is missing");
        QSKIP("The SQLite ODBC driver (libsqliteodbc) is missing; run scripts/setup");
    }
    const QByteArray previous = qgetenv("ODBCSYSINI");
    auto restore = qScopeGuard([&] { qputenv("ODBCSYSINI", previous); });
    const QString folder = TestEnvironment::instance()->newFolder("odbc-sqlite");
    const qint64 mark = traceSize();
    QFile ini(folder + "/odbcinst.ini");
    QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Text));
    ini.write(QStringLiteral("[ODBC]\nTrace=Yes\nTraceFile=%1\n\n[SQL Server]\nDriver=%2\n").arg(m_trace, driver).toUtf8());
    ini.close();
    qputenv("ODBCSYSINI", QFile::encodeName(folder));

    // Other tests run beside this one in the same folder: only files named
    // like a connection string are this test's to look for.
    const auto leftovers = [] { return QDir::current().entryList({QStringLiteral("*Driver=*")}, QDir::Files); };
    const QStringList before = leftovers();
    const ChildResult child =
        runChildScenario("attachOverSqliteOdbc", {TestEnvironment::instance()->newFolder("v1") + "/old.mdf",
                                                  TestEnvironment::instance()->newFolder("work")});
    QVERIFY2(child.exitCode == 0, child.output.constData());
    // Nothing is left behind where the tests run.
    QCOMPARE(leftovers(), before);
    QVERIFY2(child.output.contains("Could not use master database (USE master)\n\n"), child.output.constData());
    const QString sent = traceSince(mark);
    QVERIFY2(sent.contains("Driver={SQL Server};Server=.\\SQLEXPRESS"), qPrintable(sent.left(2000)));
    QVERIFY2(sent.contains("USE master"), qPrintable(sent.right(2000)));
    QVERIFY(!sent.contains("sp_attach_db"));
}

void TestMsSqlDatabase::connectFailureIsShownAndLeavesThePreviousDatabase()
{
    SqliteDatabase* previous = SeededDatabase::createEmpty(TestEnvironment::instance()->newFolder() + "/kept.db");
    QVERIFY(previous);
    for (bool create : {false, true}) {
        DialogAnswerer answerer;
        ConnectionSettings s = loopback();
        s.create = create;
        {
            MsSqlDatabase db;
            QCOMPARE(db.connect(s), 1);
            QVERIFY(db.databaseName().isEmpty());
            QVERIFY(db.connectionSettings().host.isEmpty());
        }
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.last().icon, int(QMessageBox::Warning));
        QVERIFY2(answerer.last().text.startsWith(kConnectError), qPrintable(answerer.last().text));
        // The driver's own words follow.
        QVERIFY(answerer.last().text.size() > kConnectError.size() + 10);
        QVERIFY(!QSqlDatabase::contains("127.0.0.1.Assets"));
        QCOMPARE(Database::instance(), previous);
        QVERIFY(previous->checkSchema());
    }
}

void TestMsSqlDatabase::loginIsSentOnlyWithoutIntegratedSecurity()
{
    DialogAnswerer answerer;
    qint64 mark = traceSize();
    {
        MsSqlDatabase db;
        QCOMPARE(db.connect(loopback("Login test")), 1);
    }
    QString sent = traceSince(mark);
    QVERIFY2(sent.contains("Driver={SQL Server};Server=127.0.0.1;Database=Login test;TDS_Version=7.4;Encryption=require;UID=sa;PWD=********"),
             qPrintable(sent.left(3000)));

    mark = traceSize();
    {
        ConnectionSettings s = loopback("Integrated test");
        s.integratedSecurity = true;
        MsSqlDatabase db;
        QCOMPARE(db.connect(s), 1);
    }
    sent = traceSince(mark);
    QVERIFY2(sent.contains("Driver={SQL Server};Server=127.0.0.1;Database=Integrated test;Trusted_Connection=Yes;TDS_Version=7.4"),
             qPrintable(sent.left(3000)));
    QVERIFY(!sent.contains("UID="));
    QVERIFY(!sent.contains("PWD="));
    QCOMPARE(answerer.count(), 2);
}

void TestMsSqlDatabase::listingFailureIsShown()
{
    DialogAnswerer answerer;
    const qint64 mark = traceSize();
    const QStringList names = MsSqlDatabase::listDatabases(loopback());
    QVERIFY(names.isEmpty());
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.last().icon, int(QMessageBox::Critical));
    QVERIFY2(answerer.last().text.startsWith("Cannot connect to server. Error:\n\n"), qPrintable(answerer.last().text));
    // The listing logs in with what the user entered.
    const QString sent = traceSince(mark);
    QVERIFY2(sent.contains("Driver={SQL Server};Server=127.0.0.1;TDS_Version=7.4;Encryption=require;UID=sa;PWD=********"), qPrintable(sent.right(3000)));
    QVERIFY(!QSqlDatabase::contains("127.0.0.1.__master__"));
}

void TestMsSqlDatabase::reopenFromSettingsFailsWithTheMessage()
{
    QSettings settings;
    settings.setValue("db/current/type", int(DatabaseMsSql));
    settings.setValue("db/current/host", "127.0.0.1");
    settings.setValue("db/current/dbName", "Assets");
    settings.setValue("db/current/username", "");
    settings.setValue("db/current/password", "");
    bool enabled = true;
    Database::setDatabaseActionsHook([&](bool on) { enabled = on; });
    DialogAnswerer answerer;
    const qint64 mark = traceSize();
    QVERIFY(!Database::openFromSettings());
    Database::setDatabaseActionsHook(nullptr);
    QVERIFY(!enabled);
    QCOMPARE(answerer.count(), 1);
    QVERIFY(answerer.last().text.startsWith(kConnectError));
    // A stored login without a user name is integrated security.
    QVERIFY(traceSince(mark).contains("Database=Assets;Trusted_Connection=Yes"));
}

void TestMsSqlDatabase::integratedSecurityIsStoredWithoutLogin()
{
    // The user ticked integrated security with a login still in the fields.
    ConnectionSettings s = loopback();
    s.integratedSecurity = true;
    {
        ConnectedMsSql db(s);
        Database::saveSettings(&db);
    }
    QSettings settings;
    QCOMPARE(settings.value("db/current/type").toInt(), int(DatabaseMsSql));
    QVERIFY(settings.value("db/current/username").toString().isEmpty());
    QVERIFY(settings.value("db/current/password").toString().isEmpty());

    DialogAnswerer answerer;
    qint64 mark = traceSize();
    QVERIFY(!Database::openFromSettings());
    QString sent = traceSince(mark);
    QVERIFY2(sent.contains("Database=Assets;Trusted_Connection=Yes"), qPrintable(sent.left(3000)));
    QVERIFY(!sent.contains("UID="));

    // A stored login is used as it was.
    s.integratedSecurity = false;
    {
        ConnectedMsSql db(s);
        Database::saveSettings(&db);
    }
    QCOMPARE(settings.value("db/current/username").toString(), QStringLiteral("sa"));
    mark = traceSize();
    QVERIFY(!Database::openFromSettings());
    sent = traceSince(mark);
    QVERIFY2(sent.contains("Database=Assets;TDS_Version=7.4;Encryption=require;UID=sa"), qPrintable(sent.left(3000)));
    QCOMPARE(answerer.count(), 2);
}

// A connect as a workstation makes it; args: an empty folder for Qt's plugins.
PELVANE_CHILD_SCENARIO(connectAsAWorkstation)
{
    if (!args.isEmpty())
        QCoreApplication::setLibraryPaths(args);
    int boxes = 0;
    BoxCounter counter(&boxes);
    qApp->installEventFilter(&counter);
    std::printf("DRIVER %s\n", qPrintable(MsSqlDatabase::odbcDriver()));
    MsSqlDatabase msSql;
    MySqlDatabase mySql;
    const int failed = msSql.connect(loopback()) + mySql.open(loopback());
    std::fflush(stdout);
    return boxes == 2 && failed == 2 ? 0 : 2;
}

void TestMsSqlDatabase::connectNamesTheDriverOrWhatToInstall_data()
{
    QTest::addColumn<QStringList>("registered");
    QTest::addColumn<bool>("qtDrivers");
    QTest::addColumn<QString>("used");
    QTest::addColumn<QStringList>("told");
    const QStringList byFreeTds{kConnectError + "The port refused the connection at 127.0.0.1,", "\n\n[FreeTDS]",
                                "The port refused the connection at 127.0.0.1:"};
    QTest::newRow("SQL Server before FreeTDS") << QStringList{"FreeTDS", "SQL Server"} << true << "SQL Server" << byFreeTds;
    QTest::newRow("FreeTDS, as tdsodbc registers it") << QStringList{"FreeTDS"} << true << "FreeTDS" << byFreeTds;
    const QString noTds = "No ODBC driver for SQL Server is installed; FreeTDS comes with the Debian package tdsodbc";
    QTest::newRow("no SQL Server driver") << QStringList{"SQLite3"} << true << "" << QStringList{kConnectError + noTds};
    QTest::newRow("no Qt drivers") << QStringList{"FreeTDS"} << false << "FreeTDS"
                                   << QStringList{"QODBC is not installed; it comes with the Debian package libqt6sql6-odbc",
                                                  "QMYSQL is not installed; it comes with the Debian package libqt6sql6-mysql"};
}

void TestMsSqlDatabase::connectNamesTheDriverOrWhatToInstall()
{
    QFETCH(QStringList, registered);
    QFETCH(bool, qtDrivers);
    QFETCH(QString, used);
    QFETCH(QStringList, told);
    const QString folder = TestEnvironment::instance()->newFolder("odbc-registry");
    QFile ini(folder + "/odbcinst.ini");
    QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Text));
    for (const QString& name : registered)
        ini.write(QStringLiteral("[%1]\nDriver=%2\n\n").arg(name, freeTdsDriver()).toUtf8());
    ini.close();
    const QByteArray previous = qgetenv("ODBCSYSINI");
    auto restore = qScopeGuard([&] { qputenv("ODBCSYSINI", previous); });
    qputenv("ODBCSYSINI", QFile::encodeName(folder));

    const ChildResult child = runChildScenario(
        "connectAsAWorkstation", qtDrivers ? QStringList() : QStringList{TestEnvironment::instance()->newFolder("none")});
    QVERIFY2(child.exitCode == 0, child.output.constData());
    QVERIFY2(child.output.contains("DRIVER " + used.toUtf8() + "\n"), child.output.constData());
    for (const QString& text : told)
        QVERIFY2(child.output.contains(text.toUtf8()), child.output.constData());
}

PELVANE_TEST_MAIN(TestMsSqlDatabase)
#include "TestMsSqlDatabase.moc"

void TestMsSqlDatabase::quietHostIsGivenUpWithoutThePassword_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("type");
    for (int type : {DatabaseMsSql, DatabaseMySql})
        for (const QByteArray& reply : {QByteArray(), QByteArray("HTTP/1.0 400 Bad Request\r\n\r\n")})
            QTest::addRow("%s %d", reply.isEmpty() ? "silent" : "garbage", type) << reply << type;
}

// A host that takes the connection and then says nothing, or nonsense, is given up after
// the time-out set (its port named in the host field), and never gets the password.
void TestMsSqlDatabase::quietHostIsGivenUpWithoutThePassword()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, type);
    QuietServer server(reply, 10000);
    ConnectionSettings s = loopback();
    s.host = QString(type == DatabaseMySql ? "localhost:%1" : "127.0.0.1,%1").arg(server.port);
    s.timeout = 2;
    auto restore = qScopeGuard([port = qgetenv("TDSPORT")] { qputenv("TDSPORT", port); });
    qunsetenv("TDSPORT"); // it would overrule the port named
    DialogAnswerer answerer;
    const QDeadlineTimer bound(12000);
    QVERIFY(type == DatabaseMySql
                ? MySqlDatabase().open(s) && MySqlDatabase::listDatabases(s.host, s.userName, s.password, 2).isEmpty()
                : MsSqlDatabase().connect(s) && MsSqlDatabase::listDatabases(s).isEmpty());
    QVERIFY2(!bound.hasExpired(), qPrintable(QString::number(bound.remainingTime())));
    // Nonsense is the driver's to judge, on a connection of its own.
    QVERIFY(answerer.count() == 2 && !server.stop().contains(s.password.toLatin1())
            && server.accepted == (reply.isEmpty() ? 2 : 4));
    if (type == DatabaseMsSql || reply.isEmpty())
        QVERIFY2(answerer.last().text.contains("did not answer within 2 seconds ("), qPrintable(answerer.last().text));
}

// FreeTDS would send the login to a host that answers the prelogin with "encryption not
// supported", with only the protocol's fixed scramble over the password.
void TestMsSqlDatabase::hostDecliningEncryptionGetsNoLogin()
{
    QuietServer server(QByteArray::fromHex("0401001a00000100" "00000b000601001100" "01ff0f0007d0000002"), 3000);
    ConnectionSettings s = loopback();
    s.host = QString("127.0.0.1,%1").arg(server.port);
    auto restore = qScopeGuard([port = qgetenv("TDSPORT")] { qputenv("TDSPORT", port); });
    qunsetenv("TDSPORT");
    DialogAnswerer answerer;
    QCOMPARE(MsSqlDatabase().connect(s), 1);
    const QByteArray got = server.stop();
    for (int at = 0; at + 4 <= got.size(); at += qMax(8, int(qFromBigEndian<quint16>(got.constData() + at + 2))))
        QVERIFY2(got.at(at) != 0x10, "a login packet arrived");
    QVERIFY2(answerer.last().text.contains(s.host + " does not encrypt logins, so the password was not sent"),
             qPrintable(answerer.last().text));
}

// Both back-ends through a resolver that never answers; args: none. Seen by a timer of the
// window's thread: whether it kept running, and under a busy cursor.
PELVANE_CHILD_SCENARIO(connectThroughSilentResolver)
{
    const int resolver = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{AF_INET, htons(53), {htonl(INADDR_LOOPBACK)}, {}};
    if (::bind(resolver, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0)
        return 3;
    int boxes = 0, ticks = 0, busy = 0;
    BoxCounter counter(&boxes);
    qApp->installEventFilter(&counter);
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        ++ticks;
        busy += QGuiApplication::overrideCursor() != nullptr;
    });
    tick.start(100);
    ConnectionSettings s = loopback();
    s.host = QStringLiteral("db.pelvane.test");
    s.timeout = 2;
    QElapsedTimer took;
    took.start();
    const int failed = MsSqlDatabase().connect(s) + MySqlDatabase().open(s);
    std::printf("\nTOOK %lld TICKS %d BUSY %d\n", took.elapsed(), ticks, busy);
    return boxes == 2 && failed == 2 && took.elapsed() < 5000 && busy > 25 ? 0 : 2;
}

void TestMsSqlDatabase::silentResolverIsGivenUpWithinTheTimeout()
{
    // A network and a /etc/resolv.conf of the child's own, pointing at its silent socket.
    const QString conf = TestEnvironment::instance()->newFolder("resolver") + "/resolv.conf";
    QFile file(conf);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("nameserver 127.0.0.1\noptions timeout:5 attempts:1\n") > 0);
    file.close();
    const QStringList wrapper{"unshare", "-rmn", "sh", "-c",
                              "ip link set lo up && mount --bind \"$0\" /etc/resolv.conf && exec \"$@\"", conf};
    if (QProcess::execute("unshare", {"-rmn", "ip", "link", "set", "lo", "up"}) != 0)
        QSKIP("this machine lets no process have a network and mounts of its own (unshare -rmn, ip)");
    const ChildResult child = runChildScenario("connectThroughSilentResolver", {}, 60000, false, wrapper);
    QVERIFY2(child.exitCode == 0, child.output.constData());
    QVERIFY2(child.output.count("The name db.pelvane.test could not be looked up within 2 seconds") == 2, child.output.constData());
}
