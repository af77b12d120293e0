#include "support/SeededDatabase.h"

#include "database/ExecSqlScript.h"
#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "support/TestEnvironment.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <cstdio>

PELVANE_CHILD_SCENARIO(writeAsAnotherProgram)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other program"));
    db.setDatabaseName(args.value(0));
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=100"));
    if (!db.open())
        return 2;
    QSqlQuery write(db);
    for (const char* statement : {"BEGIN IMMEDIATE", "INSERT INTO Client (Name) VALUES ('Another program')",
                                  "DELETE FROM Client WHERE Name='Another program'", "COMMIT"}) {
        if (!write.exec(QString::fromLatin1(statement))) {
            std::printf("%s: %s\n", statement, qPrintable(write.lastError().text()));
            return 1;
        }
    }
    return 0;
}

namespace SeededDatabase {

bool runScript(SqliteDatabase* db, const QString& scriptPath)
{
    return runScript(&db->connection(), scriptPath);
}

bool runScript(QSqlDatabase* connection, const QString& scriptPath)
{
    ExecSqlScript script(scriptPath, connection);
    QSignalSpy failed(&script, &ThreadObject::error);
    if (!script.init())
        return false;
    script.setAbort(); // stepped here, not by its timer
    while (script.step()) {
    }
    return failed.isEmpty();
}

SqliteDatabase* createEmpty(const QString& path)
{
    auto* db = new SqliteDatabase;
    if (db->open(path, true) != 0 || !runScript(db, SqliteDatabase::schemaScript)) {
        delete db;
        return nullptr;
    }
    Database::setInstance(db);
    return db;
}

SqliteDatabase* createSeeded(const QString& path)
{
    SqliteDatabase* db = createEmpty(path);
    if (db)
        fill(db);
    return db;
}

void fill(Database* db)
{
    const int acme = db->findOrInsertClient(QStringLiteral("Acme Health"));
    const int borough = db->findOrInsertClient(QStringLiteral("Borough Clinic"));
    const int north = db->findOrInsertSite(acme, QStringLiteral("North"));
    const int south = db->findOrInsertSite(acme, QStringLiteral("South"));
    const int main = db->findOrInsertSite(borough, QStringLiteral("Main"));
    const int ward1 = db->findOrInsertLocation(north, QStringLiteral("Ward 1"));
    const int ward2 = db->findOrInsertLocation(north, QStringLiteral("Ward 2"));
    const int theatre = db->findOrInsertLocation(south, QStringLiteral("Theatre"));
    const int reception = db->findOrInsertLocation(main, QStringLiteral("Reception"));

    const int pump = db->findOrInsertEquipment(QStringLiteral("Infusa"), QStringLiteral("P100"),
                                               QStringLiteral("EQ-1"), 1);
    const int monitor = db->findOrInsertEquipment(QStringLiteral("Cardia"), QStringLiteral("M5"),
                                                  QStringLiteral("EQ-2"), 2);
    const int instrument = db->findOrInsertInstrument(1, QStringLiteral("Q1-0001"), QDate(2026, 1, 15),
                                                      QStringLiteral("3.09"), 115200, 8, 0, 1);

    const int a1 = db->insertAsset(QStringLiteral("Pump 1"), QStringLiteral("Infusion pump"),
                                   QStringLiteral("SC-001"), QStringLiteral("SN-001"), ward1, pump, 12);
    const int a2 = db->insertAsset(QStringLiteral("Pump 2"), QStringLiteral("Infusion pump"),
                                   QStringLiteral("SC-002"), QStringLiteral("SN-002"), ward1, pump, 12);
    const int a3 = db->insertAsset(QStringLiteral("Monitor A"), QStringLiteral("Patient monitor"),
                                   QStringLiteral("SC-003"), QStringLiteral("SN-003"), ward2, monitor, 6);
    const int a4 = db->insertAsset(QStringLiteral("Monitor B"), QStringLiteral("Patient monitor"),
                                   QStringLiteral("SC-004"), QStringLiteral("SN-004"), theatre, monitor, 6);
    db->insertAsset(QStringLiteral("Desk lamp"), QStringLiteral("Examination lamp"),
                    QStringLiteral("SC-005"), QStringLiteral("SN-005"), reception, pump, 24);
    const int a6 = db->insertAsset(QStringLiteral("Old scale"), QStringLiteral("Baby scale"),
                                   QStringLiteral("SC-006"), QStringLiteral("SN-006"), theatre, monitor, 12);

    const QDateTime t0(QDate(2026, 3, 10), QTime(9, 30));
    db->insertResultSet(instrument, a1, t0, 2, 2, 1, QStringLiteral("tech"), QString());
    db->insertResultSet(instrument, a2, t0.addDays(1), 2, 2, 2, QStringLiteral("tech"), QString());
    db->insertResultSet(instrument, a3, t0.addDays(2), 2, 1, 5, QStringLiteral("tech"), QString());
    db->insertResultSet(instrument, a4, t0.addDays(3), 1, 0, 1, QStringLiteral("tech"), QString());

    SqlQuery part(db->connection());
    for (int i = 0; i < 2; ++i) {
        part.prepareInsert(QStringLiteral("AppliedPart"),
                           {QStringLiteral("AssetId"), QStringLiteral("Name"), QStringLiteral("ConnectionClass"),
                            QStringLiteral("Connection"), QStringLiteral("NumConnections")},
                           db->type());
        part.bindValue(QStringLiteral(":AssetId"), a3);
        part.bindValue(QStringLiteral(":Name"), i == 0 ? QStringLiteral("ECG") : QStringLiteral("SpO2"));
        part.bindValue(QStringLiteral(":ConnectionClass"), i == 0 ? 3 : 2);
        part.bindValue(QStringLiteral(":Connection"), i + 1);
        part.bindValue(QStringLiteral(":NumConnections"), i == 0 ? 3 : 1);
        part.exec();
    }
    db->recycleAssets({a6});
}

QString writtenByAnotherProgram(const QString& path)
{
    const ChildResult other = runChildScenario(QStringLiteral("writeAsAnotherProgram"), {path});
    return other.exitCode == 0 ? QString() : QString::fromLocal8Bit(other.output.right(2000));
}

} // namespace SeededDatabase
