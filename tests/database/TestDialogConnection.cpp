#include "database/DialogConnection.h"
#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "support/DialogAnswerer.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFileDialog>
#include <QSqlQuery>
#include <QtTest>

namespace {
const QString kNotOurs = QStringLiteral("The file \"%1\" is not a Pelvane database. It was not opened, and "
                                        "nothing was changed.");

DialogAnswerer::Handler chooseFile(const QString& path)
{
    return [path](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        if (!dialog) {
            qWarning("expected a file dialog, got %s", w->metaObject()->className());
            return;
        }
        DialogAnswerer::enterFileName(dialog, path);
        // Later, so that a question the file dialog asks meets the next handler.
        QTimer::singleShot(0, dialog, [dialog] { static_cast<QDialog*>(dialog)->accept(); });
    };
}

// Through QSqlQuery, so that a broken connection fails the test instead of ending it.
int assetCount(Database* db)
{
    QSqlQuery q(db->connection());
    if (!q.exec("SELECT COUNT(*) FROM Asset") || !q.next())
        return -1;
    return q.value(0).toInt();
}
} // namespace

// The SQLite side of the connection dialog: what it hands on as the current
// database, and that a failure leaves the open database working.
class TestDialogConnection : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void openingAFileThatIsNotOursKeepsTheOpenDatabase_data();
    void openingAFileThatIsNotOursKeepsTheOpenDatabase();
    void newOverTheOpenFileIsRefused_data();
    void newOverTheOpenFileIsRefused();
    void failedNewKeepsTheOpenDatabase();

private:
    QString m_openPath;
    SqliteDatabase* m_open = nullptr;
};

void TestDialogConnection::init()
{
    m_openPath = TestEnvironment::instance()->newFolder() + "/open.db";
    m_open = SeededDatabase::createSeeded(m_openPath);
    QVERIFY(m_open);
    QCOMPARE(assetCount(m_open), 6);
}

void TestDialogConnection::cleanup()
{
    Database::setInstance(nullptr);
    m_open = nullptr;
}

void TestDialogConnection::openingAFileThatIsNotOursKeepsTheOpenDatabase_data()
{
    QTest::addColumn<bool>("sqlite");
    QTest::addColumn<QString>("journal");
    QTest::newRow("SQLite file of another program") << true << "DELETE";
    QTest::newRow("another program's file with a write-ahead log") << true << "WAL";
    QTest::newRow("not a database at all") << false << "";
}

void TestDialogConnection::openingAFileThatIsNotOursKeepsTheOpenDatabase()
{
    QFETCH(bool, sqlite);
    QFETCH(QString, journal);
    const QString path = TestEnvironment::instance()->newFolder() + "/other.db";
    if (sqlite) {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
        other.setDatabaseName(path);
        QVERIFY(other.open());
        QSqlQuery q(other);
        QVERIFY(q.exec("PRAGMA journal_mode = " + journal));
        QVERIFY(q.exec("CREATE TABLE Client (Id INTEGER PRIMARY KEY, Name TEXT)"));
        q = QSqlQuery();
        other.close();
        other = QSqlDatabase();
        QSqlDatabase::removeDatabase("other");
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    DialogConnection dialog;
    DialogAnswerer answerer;
    answerer.answerNext(chooseFile(path));
    dialog.openSQLiteDatabase();

    QCOMPARE(answerer.count(), 2);
    QCOMPARE(answerer.last().className, QString("QMessageBox"));
    QCOMPARE(answerer.last().text, kNotOurs.arg(QDir::toNativeSeparators(path)));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == before);
    QCOMPARE(Database::instance(), static_cast<Database*>(m_open));
    QCOMPARE(assetCount(m_open), 6);
    QVERIFY(!QSqlDatabase::contains(path));
    QVERIFY(dialog.result() != QDialog::Accepted);
}

void TestDialogConnection::newOverTheOpenFileIsRefused_data()
{
    QTest::addColumn<bool>("withSchema");
    QTest::newRow("schema script at hand") << true;
    QTest::newRow("create would fail") << false;
}

void TestDialogConnection::newOverTheOpenFileIsRefused()
{
    QFETCH(bool, withSchema);
    const QString cwd = QDir::currentPath();
    if (!withSchema)
        QDir::setCurrent(TestEnvironment::instance()->newFolder());
    DialogConnection dialog;
    DialogAnswerer answerer;
    answerer.answerNext(chooseFile(m_openPath));
    answerer.pressNext("Yes"); // the file dialog's "replace it?"
    dialog.createSQLiteDatabase();
    QDir::setCurrent(cwd);

    QCOMPARE(answerer.count(), 3);
    QCOMPARE(answerer.last().text, QString("The database \"%1\" is open now and cannot be created anew. "
                                           "Choose another file for the new database.")
                                       .arg(m_openPath));
    QCOMPARE(Database::instance(), static_cast<Database*>(m_open));
    QCOMPARE(assetCount(m_open), 6);
    QSqlQuery write(m_open->connection());
    QVERIFY(write.exec("UPDATE Asset SET Description='still here' WHERE Id=1"));
    QVERIFY(dialog.result() != QDialog::Accepted);
}

void TestDialogConnection::failedNewKeepsTheOpenDatabase()
{
    const QString folder = TestEnvironment::instance()->newFolder();
    const QString cwd = QDir::currentPath();
    DialogConnection dialog;
    DialogAnswerer answerer;
    answerer.answerNext(chooseFile(folder + "/new.db"));
    // No schema script beside the program here: the create fails.
    QDir::setCurrent(folder);
    dialog.createSQLiteDatabase();
    QDir::setCurrent(cwd);

    QCOMPARE(answerer.last().className, QString("DialogErrorMessage"));
    QCOMPARE(Database::instance(), static_cast<Database*>(m_open));
    QCOMPARE(assetCount(m_open), 6);
    QVERIFY(!QFile::exists(folder + "/new.db"));
}

PELVANE_TEST_MAIN(TestDialogConnection)
#include "TestDialogConnection.moc"
