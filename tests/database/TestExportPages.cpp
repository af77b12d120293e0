#include "database/ExportDatabase.h"
#include "database/ExportDatabaseThread.h"
#include "database/MySqlDatabase.h"
#include "support/DialogAnswerer.h"
#include "support/MariaDbServer.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

namespace {

QList<qint64> insertedIds(const QString& script, const QString& table)
{
    static const QRegularExpression line(QStringLiteral("^INSERT INTO (\\w+) \\([^)]*\\) VALUES \\((-?\\d+),"),
                                         QRegularExpression::MultilineOption);
    QList<qint64> ids;
    auto it = line.globalMatch(script);
    while (it.hasNext()) {
        const auto m = it.next();
        if (m.captured(1) == table)
            ids << m.captured(2).toLongLong();
    }
    return ids;
}

} // namespace

// MySQL tables are read page by page; the rows at the pages' edges must come
// out once each, in the order of the Ids.
class TestExportPages : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Database::setInstance(nullptr); }
    void mariaDbTablesLongerThanAPage();
};

void TestExportPages::mariaDbTablesLongerThanAPage()
{
    PELVANE_REQUIRE_MARIADB();
    MariaDbServer::ScopedDatabase sourceDatabase("pages source");
    const QString& source = sourceDatabase.name();
    const int page = ExportDatabase::mysqlPageRows;
    {
        DialogAnswerer answerer;
        answerer.pressNext("Yes");
        auto* db = new MySqlDatabase;
        QCOMPARE(db->open(MariaDbServer::settings(source)), 0);
        Database::setInstance(db);
    }
    QSqlDatabase db = Database::instance()->connection();
    QSqlQuery fill(db);
    // Two full pages of clients with gaps between their Ids, and one below zero.
    QVERIFY2(fill.exec(QStringLiteral("INSERT INTO Client (Id,Name) SELECT seq*3,CONCAT('Client ''',seq) "
                                      "FROM seq_1_to_%1")
                           .arg(2 * page)),
             qPrintable(fill.lastError().text()));
    QVERIFY(fill.exec("INSERT INTO Client (Id,Name) VALUES (-7,'Below zero')"));
    // Exactly one page of sites: the next page is empty.
    QVERIFY(fill.exec(QStringLiteral("INSERT INTO Site (Id,ClientId,Name) SELECT seq,3,NULL FROM seq_1_to_%1")
                          .arg(page)));

    const QString path = TestEnvironment::instance()->newFolder() + "/pages.sql";
    {
        DialogAnswerer answerer;
        QVERIFY(ExportDatabaseThread::exportCurrentDatabase(path, nullptr));
        QCOMPARE(answerer.count(), 0);
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString script = QString::fromUtf8(file.readAll());

    const QList<qint64> clients = insertedIds(script, "Client");
    QCOMPARE(clients.size(), 2 * page + 1);
    QCOMPARE(clients.first(), qint64(-7));
    QCOMPARE(clients.last(), qint64(6 * page));
    QVERIFY(std::is_sorted(clients.begin(), clients.end()));
    QVERIFY(std::adjacent_find(clients.begin(), clients.end()) == clients.end());
    QCOMPARE(insertedIds(script, "Site").size(), page);

    // Every row once, in the order of the Ids, each as the driver writes it.
    QList<qint64> stored;
    QSqlQuery ids(db);
    QVERIFY(ids.exec("SELECT Id FROM Client ORDER BY Id"));
    while (ids.next())
        stored << ids.value(0).toLongLong();
    QCOMPARE(clients, stored);
    for (const int id : {3 * page, 3 * page + 3})
        QCOMPARE(script.count(QStringLiteral("INSERT INTO Client (Id,Name) VALUES (%1,'Client ''%2');")
                                  .arg(id)
                                  .arg(id / 3)),
                 1);
}

PELVANE_TEST_MAIN(TestExportPages)
#include "TestExportPages.moc"
