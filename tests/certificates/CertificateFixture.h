#pragma once

#include "database/SqlQuery.h"
#include "database/SqliteDatabase.h"
#include "support/SeededDatabase.h"
#include "support/TestEnvironment.h"

#include <QVariant>

// The shared seeded register ("Acme Health" and the others), plus what a
// certificate shows: results of several kinds for Monitor A, a comment with
// characters HTML must escape, and a test sequence.
namespace CertificateFixture {

enum { Pump1 = 1, Pump2 = 2, MonitorA = 3, MonitorB = 4, DeskLamp = 5 };
// Result set ids follow the seeded insertion order.
enum { MonitorASet = 3, MonitorBSet = 4 };

struct ResultRow
{
    int testId;
    int status;
    double limit;
    double result;
    QVariant greaterThan;
    QVariant sfc;
    QVariant polarity;
    QVariant patientConnection;
    QString customName;
    QString customUnits;
};

inline int insertResult(Database* db, int resultSetId, const ResultRow& row)
{
    SqlQuery q(db->connection());
    q.prepareInsert(QStringLiteral("Result"),
                    {QStringLiteral("ResultSetId"), QStringLiteral("TestId"), QStringLiteral("Status"),
                     QStringLiteral("ResultLimit"), QStringLiteral("Result"), QStringLiteral("ResultACDC"),
                     QStringLiteral("ResultGreaterThan"), QStringLiteral("SingleFaultCondition"),
                     QStringLiteral("MainsPolarity"), QStringLiteral("PatientConnection"),
                     QStringLiteral("PatientAuxConnection"), QStringLiteral("CustomName"),
                     QStringLiteral("CustomUnits")},
                    db->type());
    q.bindValue(QStringLiteral(":ResultSetId"), resultSetId);
    q.bindValue(QStringLiteral(":TestId"), row.testId);
    q.bindValue(QStringLiteral(":Status"), row.status);
    q.bindValue(QStringLiteral(":ResultLimit"), row.limit);
    q.bindValue(QStringLiteral(":Result"), row.result);
    q.bindValue(QStringLiteral(":ResultACDC"), QVariant());
    q.bindValue(QStringLiteral(":ResultGreaterThan"), row.greaterThan);
    q.bindValue(QStringLiteral(":SingleFaultCondition"), row.sfc);
    q.bindValue(QStringLiteral(":MainsPolarity"), row.polarity);
    q.bindValue(QStringLiteral(":PatientConnection"), row.patientConnection);
    q.bindValue(QStringLiteral(":PatientAuxConnection"), QVariant());
    q.bindValue(QStringLiteral(":CustomName"), row.customName);
    q.bindValue(QStringLiteral(":CustomUnits"), row.customUnits);
    q.exec();
    return q.lastInsertId(db->type());
}

inline void exec(Database* db, const QString& statement)
{
    SqlQuery q(db->connection());
    q.exec(statement);
}

// Ids of the five results of Monitor A, in insertion order.
inline QList<int> addMonitorAResults(Database* db)
{
    QList<int> ids;
    ids << insertResult(db, MonitorASet, {17, 1, 0.2, 0.123, {}, {}, {}, {}, {}, {}});
    ids << insertResult(db, MonitorASet, {33, 1, 2.0, 199.9, true, {}, {}, {}, {}, {}});
    ids << insertResult(db, MonitorASet, {80, 5, 100.0, 12.7, {}, 4, 1, 2, {}, {}});
    ids << insertResult(db, MonitorASet,
                        {253, 1, 5.0, 12.5, false, {}, 0, {}, QStringLiteral("Cord <check>"), QStringLiteral("mm")});
    ids << insertResult(db, MonitorASet, {1, 2, 0.0, 0.0, {}, {}, {}, {}, {}, {}});
    return ids;
}

inline void addCertificateRecords(Database* db)
{
    exec(db, QStringLiteral("UPDATE ResultSet SET Comments='Plug & cable <renewed>' WHERE Id=3"));
    exec(db, QStringLiteral("INSERT INTO TestSequence (Name, AssetId, Data) VALUES ('Monitor routine', 3, X'')"));
}

inline SqliteDatabase* seeded()
{
    const QString path = TestEnvironment::instance()->newFolder() + QStringLiteral("/register.db");
    SqliteDatabase* db = SeededDatabase::createSeeded(path);
    if (db)
        addCertificateRecords(db);
    return db;
}

} // namespace CertificateFixture
