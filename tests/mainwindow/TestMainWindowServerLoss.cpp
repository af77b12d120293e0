// The server of a shared database goes away while the window works on it:
// the user is told that the connection was lost and what was not saved, the
// program goes on without a database, and Connect to Database opens it again.
// The server is reached through a relay that the test cuts.

#include "../transfer/InstrumentRecords.h"
#include "assets/AssetTableView.h"
#include "assets/AssetTreeView.h"
#include "database/Database.h"
#include "database/MySqlDatabase.h"
#include "database/SteppedWrite.h"
#include "mainwindow/MainWindow.h"
#include "support/DialogAnswerer.h"
#include "support/MariaDbServer.h"
#include "support/ServerRelay.h"
#include "support/SimulatedInstrument.h"
#include "support/TestEnvironment.h"
#include "WindowTestHelpers.h"

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSqlQuery>
#include <QtTest>
#include <memory>

namespace {
// A new database of that name on the test server holding one asset, Pump.
bool createWithPump(const QString& name)
{
    ConnectionSettings settings = MariaDbServer::settings(name);
    settings.create = true;
    auto* db = new MySqlDatabase;
    if (db->open(settings) != 0) {
        delete db;
        return false;
    }
    Database::setInstance(db);
    const int client = db->findOrInsertClient(QStringLiteral("Harbour Hospital"));
    const int site = db->findOrInsertSite(client, QStringLiteral("East Wing"));
    const int location = db->findOrInsertLocation(site, QStringLiteral("Ward 7"));
    const int equipment =
        db->findOrInsertEquipment(QStringLiteral("Medimake"), QStringLiteral("M-Pump"), QStringLiteral("S-1"), 1);
    db->insertAsset(QStringLiteral("Pump"), QStringLiteral("Infusion pump"), QString(), QStringLiteral("S-1"),
                    location, equipment, 12);
    Database::setInstance(nullptr);
    return true;
}
} // namespace

// For a person to look at (run under X with PELVANE_DIALOG_GRACE_MS set, so
// that the message stays up): the window on a test database through a
// relay, an asset edited, the server cut and Apply pressed; the screen with
// the message is saved to args[0], the window after it to args[1] if given.
PELVANE_CHILD_SCENARIO(showLostConnection)
{
    ServerRelay relay;
    QString why;
    const QString name = MariaDbServer::uniqueName(QStringLiteral("shot"));
    if (args.isEmpty() || !relay.isValid() || !MariaDbServer::reachable(&why) || !createWithPump(name))
        return 2;
    auto dropLater = qScopeGuard([&name] { MariaDbServer::dropDatabase(name); });
    QSettings().setValue(QStringLiteral("language/translation"), QStringLiteral("Translations/pelvane_en.qm"));
    MainWindow window;
    window.resize(1100, 720);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 3;
    auto* db = new MySqlDatabase;
    if (db->open(ServerRelay::settings(name)) != 0)
        return 4;
    window.setDatabase(db);
    window.activateWindow();
    // Not every platform makes a window active; the clicks below work either way.
    (void)QTest::qWaitForWindowActive(&window);
    clickAssetRow(window.findChild<AssetTableView*>(QStringLiteral("assetTableView")), 1);
    QTest::qWait(300);
    QWidget* editor = window.findChild<QWidget*>(QStringLiteral("assetTabs"));
    auto* description = editor->findChild<QLineEdit*>(QStringLiteral("description"));
    description->setFocus();
    description->selectAll();
    QTest::keyClicks(description, QStringLiteral("Pump, ward 7"));
    QTest::qWait(300);
    relay.cut();
    bool saved = false;
    QTimer::singleShot(1000, [&] { saved = window.screen()->grabWindow(0).save(args.at(0), "PNG"); });
    QTest::mouseClick(button(editor, "applyButton"), Qt::LeftButton);
    QTest::qWait(300);
    if (args.size() > 1 && !window.screen()->grabWindow(0).save(args.at(1), "PNG"))
        saved = false;
    return saved && !Database::instance() ? 0 : 5;
}

class TestMainWindowServerLoss : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void applyOnALostConnectionIsToldAndTheWindowGoesOn();
    void downloadStopsAtALostConnection();
    void exportWorkerStopsAtALostConnection();
    void deleteCutMidwaySaysWhatWasDone_data();
    void deleteCutMidwaySaysWhatWasDone();

private:
    QAction* action(const char* name) const { return m_window->findChild<QAction*>(QLatin1String(name)); }
    AssetTableView* table() const { return m_window->findChild<AssetTableView*>(QStringLiteral("assetTableView")); }
    QWidget* editor() const { return m_window->findChild<QWidget*>(QStringLiteral("assetTabs")); }
    // The window on the test database, through the relay.
    void openThroughRelay();
    // What the server holds, asked on the test login's own connection.
    QVariant stored(const QString& statement) const;
    // The lost-connection message among the dialogs seen; empty when none.
    QString lossMessage() const;

    QString m_name;
    std::unique_ptr<ServerRelay> m_relay;
    DialogAnswerer* m_answerer = nullptr;
    std::unique_ptr<MainWindow> m_window;
};

void TestMainWindowServerLoss::initTestCase()
{
    PELVANE_REQUIRE_MARIADB();
}

void TestMainWindowServerLoss::init()
{
    TestEnvironment::clearSettings();
    QSettings().setValue(QStringLiteral("language/translation"), QStringLiteral("Translations/pelvane_en.qm"));
    m_name = MariaDbServer::uniqueName(QStringLiteral("lost"));
    QVERIFY(createWithPump(m_name));
    m_relay = std::make_unique<ServerRelay>();
    QVERIFY(m_relay->isValid());
    m_answerer = new DialogAnswerer(this);
    m_window = std::make_unique<MainWindow>();
    m_window->resize(1000, 700);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    openThroughRelay();
}

void TestMainWindowServerLoss::cleanup()
{
    m_window.reset();
    delete m_answerer;
    m_answerer = nullptr;
    Database::setInstance(nullptr);
    m_relay.reset();
    MariaDbServer::dropDatabase(m_name);
}

void TestMainWindowServerLoss::openThroughRelay()
{
    auto* db = new MySqlDatabase;
    QCOMPARE(db->open(ServerRelay::settings(m_name)), 0);
    m_window->setDatabase(db);
    QCOMPARE(Database::instance(), db);
    // The asset list is read on a thread of its own: read before a test cuts the line.
    auto* list = qobject_cast<PagedQueryModel*>(m_window->findChild<AssetTableView*>()->model());
    QTRY_VERIFY(list && !list->isReading());
}

QVariant TestMainWindowServerLoss::stored(const QString& statement) const
{
    MySqlDatabase peek;
    if (peek.open(MariaDbServer::settings(m_name)) != 0)
        return QVariant();
    QSqlQuery query(peek.connection());
    if (!query.exec(statement) || !query.next())
        return QVariant();
    return query.value(0);
}

QString TestMainWindowServerLoss::lossMessage() const
{
    for (const DialogAnswerer::Seen& seen : m_answerer->seen()) {
        if (seen.text.contains(QStringLiteral("was lost")))
            return seen.text;
    }
    return QString();
}

void TestMainWindowServerLoss::applyOnALostConnectionIsToldAndTheWindowGoesOn()
{
    const int pump = stored(QStringLiteral("SELECT Id FROM Asset WHERE Name='Pump'")).toInt();
    QVERIFY(pump > 0);
    clickAssetRow(table(), pump);
    auto* description = editor()->findChild<QLineEdit*>(QStringLiteral("description"));
    QVERIFY(description);
    QTRY_COMPARE(description->text(), QStringLiteral("Infusion pump"));
    description->selectAll();
    QTest::keyClicks(description, QStringLiteral("Pump, ward 7"));

    m_relay->cut();
    press(button(editor(), "applyButton"));

    // Told plainly, as a warning and not as a broken installation.
    const QString message = lossMessage();
    QVERIFY2(!message.isEmpty(), qPrintable(m_answerer->last().className + ": " + m_answerer->last().text));
    QVERIFY2(message.startsWith(QStringLiteral("The connection to the MySQL server on %1 (database %2) was lost.")
                                    .arg(QString::fromLatin1(ServerRelay::host()), m_name)),
             qPrintable(message));
    QVERIFY(message.contains(QStringLiteral("Reason: ")));
    QVERIFY(message.contains(QStringLiteral("Not saved:\n  - the changes to asset Pump (Asset Details)")));
    for (const DialogAnswerer::Seen& seen : m_answerer->seen()) {
        QVERIFY2(seen.className != QStringLiteral("DialogErrorMessage"), qPrintable(seen.text));
        QVERIFY(!seen.text.contains(QStringLiteral("re-install")));
    }

    // The window goes on without a database, as after a start with the server down.
    QTRY_VERIFY(!Database::instance());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Tavisk Pelvane"));
    QVERIFY(!action("actionDownload")->isEnabled());
    QVERIFY(!action("actionAddAsset")->isEnabled());
    QVERIFY(action("actionDatabaseConnect")->isEnabled());
    QVERIFY(!table()->model() || table()->model()->rowCount() == 0);
    QCOMPARE(stored(QStringLiteral("SELECT Description FROM Asset WHERE Id=%1").arg(pump)).toString(),
             QStringLiteral("Infusion pump"));

    // Connect to Database works again, straight to the server.
    const ConnectionSettings server = MariaDbServer::settings(m_name);
    m_answerer->answerNext([&server](QWidget* w) {
        fillMySqlTab(w, server, false);
        auto* connect = w->findChild<QPushButton*>(QStringLiteral("mySqlConnectBtn"));
        QTimer::singleShot(0, connect, [connect] { QTest::mouseClick(connect, Qt::LeftButton); });
    });
    action("actionDatabaseConnect")->trigger();
    QVERIFY2(Database::instance(), "Connect to Database failed");
    QCOMPARE(Database::instance()->type(), int(DatabaseMySql));
    QVERIFY(action("actionDownload")->isEnabled());
    clickAssetRow(table(), pump);
    QTRY_COMPARE(description->text(), QStringLiteral("Infusion pump"));
}

void TestMainWindowServerLoss::downloadStopsAtALostConnection()
{
    SimulatedInstrument instrument;
    QVERIFY(instrument.isValid());
    const QDateTime tested(QDate(2026, 1, 10), QTime(9, 30));
    const QList<QByteArray> before = {InstrumentRecords::header(3),
                                      InstrumentRecords::asset(QStringLiteral("Monitor"), tested, 1, {{1, 0.10f}})};
    const QList<QByteArray> after = {InstrumentRecords::asset(QStringLiteral("Lamp"), tested, 2, {{2, 0.90f}}),
                                     InstrumentRecords::asset(QStringLiteral("Scale"), tested, 1, {{1, 0.20f}}),
                                     InstrumentRecords::end()};
    m_answerer->answerNext([&](QWidget* w) {
        choosePortThenSend(w, instrument.portName(), m_window.get(), [&] {
            if (sendAcknowledged(instrument, before) != before.size())
                return;
            m_relay->cut();
            sendAcknowledged(instrument, after);
        });
    });
    action("actionDownload")->trigger();

    const QString message = lossMessage();
    QVERIFY2(!message.isEmpty(), qPrintable(m_answerer->last().className + ": " + m_answerer->last().text));
    QVERIFY2(message.contains(QStringLiteral("Not saved:\n  - the test record of asset Lamp, tested 10/01/2026\n"
                                             "  - the rest of this download")),
             qPrintable(message));
    for (const DialogAnswerer::Seen& seen : m_answerer->seen())
        QVERIFY2(seen.className != QStringLiteral("DialogDownloadReport"), "a report of what was not stored");
    QTRY_VERIFY(!Database::instance());
    QVERIFY(action("actionDatabaseConnect")->isEnabled());

    // The record before the loss is stored whole, the one it met not at all.
    QCOMPARE(stored(QStringLiteral("SELECT COUNT(*) FROM Asset WHERE Name='Monitor'")).toInt(), 1);
    QCOMPARE(stored(QStringLiteral("SELECT COUNT(*) FROM ResultSet rs JOIN Asset a ON a.Id=rs.AssetId "
                                   "WHERE a.Name='Monitor'"))
                 .toInt(),
             1);
    QCOMPARE(stored(QStringLiteral("SELECT COUNT(*) FROM Asset WHERE Name IN ('Lamp','Scale')")).toInt(), 0);
    QCOMPARE(stored(QStringLiteral("SELECT COUNT(*) FROM Result r LEFT JOIN ResultSet rs ON rs.Id=r.ResultSetId "
                                   "WHERE rs.Id IS NULL"))
                 .toInt(),
             0);
}

// The export reads on a worker thread behind the progress dialog: the loss
// is told from there, the worker ends and the window closes the database.
void TestMainWindowServerLoss::exportWorkerStopsAtALostConnection()
{
    const QString path = TestEnvironment::instance()->newFolder(QStringLiteral("export")) + QStringLiteral("/lab.sql");
    m_answerer->answerNext([&path](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        QVERIFY(dialog);
        DialogAnswerer::enterFileName(dialog, path);
        static_cast<QDialog*>(dialog)->accept();
    });
    m_relay->cut();
    action("actionExportDatabase")->trigger();

    const QString message = lossMessage();
    QVERIFY2(!message.isEmpty(), qPrintable(m_answerer->last().className + ": " + m_answerer->last().text));
    QVERIFY2(message.contains(QStringLiteral("Not saved:\n  - the export to %1, which was not written").arg(path)),
             qPrintable(message));
    QCOMPARE(m_answerer->count(), 2);
    QTRY_VERIFY(!Database::instance());
    QVERIFY(action("actionDatabaseConnect")->isEnabled());
}

// Its first step stored, the next meets the cut.
void TestMainWindowServerLoss::deleteCutMidwaySaysWhatWasDone_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("notDone");
    QTest::newRow("client") << "actionDeleteClient" << ", and the client itself not deleted.\n";
    QTest::newRow("every asset listed") << "actionDeleteAssets" << ".\n";
}

void TestMainWindowServerLoss::deleteCutMidwaySaysWhatWasDone()
{
    QFETCH(QString, name);
    QFETCH(QString, notDone);
    const QString spares = "INSERT INTO `%1`.Asset (Name,LocationId,EquipmentId,RetestPeriod) SELECT CONCAT('Spare ',seq),"
                           "LocationId,EquipmentId,12 FROM `%1`.seq_1_to_119,`%1`.Asset";
    QVERIFY(MariaDbServer::exec(spares.arg(m_name)));
    m_window->findChild<AssetTreeView*>()->selectClient(1);
    QTRY_VERIFY(!qobject_cast<PagedQueryModel*>(table()->model())->isReading() && table()->model()->rowCount() == 120);
    table()->selectAll();
    SteppedWrite::betweenSteps = [this] { m_relay->cut(); };
    action(qPrintable(name))->trigger();
    QVERIFY2(lossMessage().contains("Done and saved:\n  - 50 asset(s) moved to the recycle bin.\n\nNot saved:\n"
                                    "  - 70 asset(s) still in their places" + notDone), qPrintable(lossMessage()));
    for (const DialogAnswerer::Seen& seen : m_answerer->seen()) // the loss is not told as a busy database too
        QVERIFY2(!seen.text.contains("busy with another"), qPrintable(seen.text));
    QCOMPARE(stored("SELECT COUNT(*) FROM Asset WHERE DeletedLocation IS NOT NULL").toInt(), 50);
}

PELVANE_TEST_MAIN(TestMainWindowServerLoss)
#include "TestMainWindowServerLoss.moc"
