#pragma once

// Result rows as the import stores them, for the view tests.

#include "database/SqlQuery.h"

#include <QVariant>

namespace ResultRows {

struct Row
{
    Row(int testId, int status = 1, const QVariant& result = 1.5, const QVariant& limit = 0.2,
        const QVariant& greaterThan = QVariant(), const QVariant& acDc = QVariant(),
        const QVariant& polarity = QVariant(), const QVariant& singleFault = QVariant())
        : testId(testId), status(status), result(result), limit(limit), greaterThan(greaterThan), acDc(acDc),
          polarity(polarity), singleFault(singleFault)
    {
    }

    int testId;
    int status;
    QVariant result;
    QVariant limit;
    QVariant greaterThan;       // NULL: no sign
    QVariant acDc;              // NULL: combined
    QVariant polarity;          // NULL: normal
    QVariant singleFault;       // NULL: 0
    QVariant patient;           // applied part
    QVariant patientAux;
    QVariant customName;
    QVariant customUnits;
};

inline void insert(int resultSetId, const Row& row)
{
    SqlQuery q(QStringLiteral(
        "INSERT INTO Result (ResultSetId,TestId,Status,ResultLimit,Result,ResultACDC,ResultGreaterThan,"
        "SingleFaultCondition,MainsPolarity,PatientConnection,PatientAuxConnection,CustomName,CustomUnits) "
        "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (const QVariant& v : {QVariant(resultSetId), QVariant(row.testId), QVariant(row.status), row.limit, row.result,
                              row.acDc, row.greaterThan, row.singleFault, row.polarity, row.patient, row.patientAux,
                              row.customName, row.customUnits})
        q.addBindValue(v);
    q.exec();
}

inline void insert(int resultSetId, const QList<Row>& rows)
{
    for (const Row& row : rows)
        insert(resultSetId, row);
}

} // namespace ResultRows
