#include "database/Database.h"
#include "database/DialogImportV1Database.h"
#include "database/SqliteDatabase.h"
#include "mainwindow/MainWindow.h"
#include "support/DialogAnswerer.h"
#include "support/LegacyStandIn.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QToolBar>
#include <QTreeView>
#include <QtTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <memory>

namespace {

QString freeTdsDriver()
{
    for (const char* path : {"/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so", "/usr/lib/aarch64-linux-gnu/odbc/libtdsodbc.so",
                             "/usr/lib/odbc/libtdsodbc.so", "/usr/lib64/libtdsodbc.so"})
        if (QFile::exists(QLatin1String(path)))
            return QLatin1String(path);
    return QString();
}

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

int rows(const QString& table)
{
    QSqlQuery q(Database::instance()->connection());
    q.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table));
    return q.next() ? q.value(0).toInt() : -1;
}

// Fills the import dialog with a file name, leaves the boxes as they are
// and presses OK.
DialogAnswerer::Handler acceptImport(const QString& file, QString* title = nullptr)
{
    return [file, title](QWidget* w) {
        if (title)
            *title = w->windowTitle();
        auto* name = w->findChild<QLineEdit*>(QStringLiteral("lineEditFileName"));
        auto* buttons = w->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        if (!name || !buttons) {
            qWarning("expected the import dialog, got %s", w->metaObject()->className());
            return;
        }
        name->setText(file);
        buttons->button(QDialogButtonBox::Ok)->click();
    };
}

} // namespace

// For a person to look at (args: database file, window PNG, dialog PNG):
// the window on a demo register with its File menu open, and the import
// dialog with a file chosen.
PELVANE_CHILD_SCENARIO(showImport)
{
    if (args.size() < 3 || !SeededDatabase::createSeeded(args.at(0)))
        return 2;
    QSettings settings;
    settings.setValue("language/translation", QStringLiteral("Translations/pelvane_en.qm"));
    settings.setValue("db/current/type", 0);
    settings.setValue("db/current/fileName", args.at(0));
    Database::setInstance(nullptr);
    MainWindow window;
    window.resize(1000, 650);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    auto* file = window.findChild<QMenu*>("menuFile_2");
    file->popup(window.mapToGlobal(QPoint(5, 20)));
    QTest::qWait(300);
    QPixmap shot = window.grab();
    {
        QPainter painter(&shot);
        painter.drawPixmap(window.mapFromGlobal(file->pos()), file->grab());
    }
    file->hide();
    if (!shot.save(args.at(1), "PNG"))
        return 1;
    DialogImportV1Database dialog(&window);
    dialog.findChild<QLineEdit*>("lineEditFileName")->setText("/srv/pelvane-v1/Register.mdf");
    dialog.show();
    QTest::qWait(300);
    return dialog.grab().save(args.at(2), "PNG") ? 0 : 1;
}

class TestMainWindowImport : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void importActionInFileMenuAndToolBar();
    void cancelledDialogAttachesNothing();
    void unattachableFileLeavesTheDatabase_data();
    void unattachableFileLeavesTheDatabase();
    void importShowsTheRegisterAnew();

private:
    std::unique_ptr<MainWindow> windowOnSeededDatabase();
    QString traceSince(qint64 offset) const;
    qint64 traceSize() const { return QFileInfo(m_trace).size(); }
    QString m_trace;
};

void TestMainWindowImport::initTestCase()
{
    const QString driver = freeTdsDriver();
    if (driver.isEmpty() || !QSqlDatabase::isDriverAvailable("QODBC")) {
        if (qgetenv("CI") == "true")
            QFAIL("FreeTDS (tdsodbc) or Qt's QODBC driver is missing");
        QSKIP("FreeTDS (tdsodbc) or Qt's QODBC driver is missing; run scripts/setup");
    }
    // FreeTDS answers for "SQL Server" here, and finds no server listening.
    const QString folder = TestEnvironment::instance()->newFolder("odbc");
    m_trace = folder + "/trace.log";
    QFile ini(folder + "/odbcinst.ini");
    QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Text));
    ini.write(QStringLiteral("[ODBC]\nTrace=Yes\nTraceFile=%1\n\n[SQL Server]\nDriver=%2\n").arg(m_trace, driver).toUtf8());
    ini.close();
    qputenv("ODBCSYSINI", QFile::encodeName(folder));
    qputenv("ODBCINSTINI", "odbcinst.ini");
    qputenv("TDSPORT", QByteArray::number(closedPort()));
}

void TestMainWindowImport::init()
{
    TestEnvironment::clearSettings();
    QSettings().setValue(QStringLiteral("language/translation"), QStringLiteral("Translations/pelvane_en.qm"));
}

void TestMainWindowImport::cleanup()
{
    Database::setInstance(nullptr);
}

QString TestMainWindowImport::traceSince(qint64 offset) const
{
    QFile file(m_trace);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    file.seek(offset);
    return QString::fromUtf8(file.readAll());
}

std::unique_ptr<MainWindow> TestMainWindowImport::windowOnSeededDatabase()
{
    const QString path = TestEnvironment::instance()->newFolder() + "/site.db";
    if (!SeededDatabase::createSeeded(path))
        return nullptr;
    QSettings settings;
    settings.setValue("db/current/type", 0);
    settings.setValue("db/current/fileName", path);
    Database::setInstance(nullptr);
    auto window = std::make_unique<MainWindow>();
    window->show();
    return window;
}

void TestMainWindowImport::importActionInFileMenuAndToolBar()
{
    auto window = std::make_unique<MainWindow>();
    auto* import = window->findChild<QAction*>("actionImport");
    QVERIFY(import);
    QVERIFY(!import->icon().isNull());
    QVERIFY(!import->isEnabled());

    // File: Connect, a separator, Import, Export. Tool bar: Connect, Import.
    const QList<QAction*> file = window->findChild<QMenu*>("menuFile_2")->actions();
    QVERIFY(file.size() >= 4);
    QVERIFY(file.at(1)->isSeparator());
    QCOMPARE(file.at(2), import);
    QCOMPARE(file.at(3)->objectName(), QString("actionExportDatabase"));
    QCOMPARE(window->findChild<QToolBar*>("toolBar")->actions().value(1), import);

    window.reset();
    window = windowOnSeededDatabase();
    QVERIFY(window);
    QVERIFY(window->findChild<QAction*>("actionImport")->isEnabled());
    window->setDatabaseActionsEnabled(false);
    QVERIFY(!window->findChild<QAction*>("actionImport")->isEnabled());
}

void TestMainWindowImport::cancelledDialogAttachesNothing()
{
    auto window = windowOnSeededDatabase();
    QVERIFY(window);
    Database* before = Database::instance();
    const qint64 mark = traceSize();
    DialogAnswerer answerer; // rejects the import dialog
    window->findChild<QAction*>("actionImport")->trigger();
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.last().className, QString("DialogImportV1Database"));
    QVERIFY(!traceSince(mark).contains("SQLEXPRESS"));
    QCOMPARE(Database::instance(), before);
}

void TestMainWindowImport::unattachableFileLeavesTheDatabase_data()
{
    QTest::addColumn<bool>("exists");
    QTest::newRow("missing file") << false;
    QTest::newRow("not a database") << true;
}

void TestMainWindowImport::unattachableFileLeavesTheDatabase()
{
    QFETCH(bool, exists);
    auto window = windowOnSeededDatabase();
    QVERIFY(window);
    Database* before = Database::instance();
    const int assets = rows("Asset");
    const int results = rows("Result");
    const QString file = TestEnvironment::instance()->newFolder("v1") + "/register.mdf";
    if (exists) {
        QFile garbage(file);
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write("not a database");
    }

    const qint64 mark = traceSize();
    DialogAnswerer answerer;
    QString title;
    answerer.answerNext(acceptImport(file, &title));
    window->findChild<QAction*>("actionImport")->trigger();

    // The import dialog, then the attach's own message; no progress dialog.
    QCOMPARE(answerer.count(), 2);
    QCOMPARE(title, QString("Import Legacy Database (Pelvane V1)"));
    QCOMPARE(answerer.last().icon, int(QMessageBox::Warning));
    QVERIFY2(answerer.last().text.startsWith("Cannot open master database\n\n"), qPrintable(answerer.last().text));
    QVERIFY(traceSince(mark).contains("Driver={SQL Server};Server=.\\SQLEXPRESS"));
    QVERIFY(!QSqlDatabase::contains(file));

    QCOMPARE(Database::instance(), before);
    QCOMPARE(rows("Asset"), assets);
    QCOMPARE(rows("Result"), results);
    auto* tree = window->findChild<QTreeView*>("assetTreeView");
    QVERIFY(tree->model()->rowCount(tree->model()->index(0, 0)) > 1);
}

namespace {
QStringList childNames(QTreeView* tree, const QModelIndex& parent)
{
    QStringList names;
    for (int row = 0; row < tree->model()->rowCount(parent); ++row)
        names << tree->model()->index(row, 0, parent).data().toString();
    return names;
}
} // namespace

void TestMainWindowImport::importShowsTheRegisterAnew()
{
    auto window = windowOnSeededDatabase();
    QVERIFY(window);
    Database* target = Database::instance();
    const int assets = rows("Asset");
    LegacyStandIn legacy(TestEnvironment::instance()->newFolder("v1") + "/v1.db");
    QVERIFY(legacy.insert("Assetdetails", {"NEW-1", "Scale", "Zeta Care", "Hub", "Lab", "Weighco", "W1", "S-1",
                                           "SC", 12, "", "", "dora"}));
    QVERIFY(legacy.insert("Assetdetails", {"NEW-2", "Scale", "Acme Health", "North", "Ward 1", "Weighco", "W1",
                                           "S-2", "SC", 12, "", "", "dora"}));
    QVERIFY(legacy.insert("TblTestResults", {"NEW-1", "01/02/2010 10:00:00 AM", "Load Current", "", "", "", "",
                                             "1", "A", "Failed", "", "TaviskQ1", "Q-1", "", "", ""}));

    auto* tree = window->findChild<QTreeView*>("assetTreeView");
    QAbstractItemModel* before = tree->model();
    QVERIFY(!childNames(tree, before->index(0, 0)).contains("Zeta Care"));
    // Nothing reaches the tree while the worker runs.
    QSignalSpy inserted(before, &QAbstractItemModel::rowsInserted);
    DialogAnswerer answerer;
    window->importLegacyDatabase(&legacy, true, true);
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(answerer.count(), 0);

    QCOMPARE(Database::instance(), target);
    QCOMPARE(rows("Asset"), assets + 2);
    QCOMPARE(rows("ResultSet WHERE OverallResult=2 AND UserName='dora'"), 1);
    const QModelIndex database = tree->model()->index(0, 0);
    QStringList clients = childNames(tree, database);
    QVERIFY2(clients.contains("Zeta Care"), qPrintable(clients.join(',')));
    QVERIFY(clients.contains("Acme Health"));
    QVERIFY(clients.contains("Recycled"));
    // Further assets reach the new tree as before.
    const int rowsBefore = tree->model()->rowCount(database);
    const int client = target->findOrInsertClient("Omega Labs");
    const int location = target->findOrInsertLocation(target->findOrInsertSite(client, "S"), "L");
    target->insertAsset("LATE", "", "", "", location, target->findOrInsertEquipment("M", "M", "1", 0), 12);
    QTRY_COMPARE(tree->model()->rowCount(database), rowsBefore + 1);
}

PELVANE_TEST_MAIN(TestMainWindowImport)
#include "TestMainWindowImport.moc"
