#pragma once

// Reading back what the transfer wrote, as short texts that compare at a glance.

#include "database/SqlQuery.h"

#include <QSqlRecord>
#include <QStringList>

namespace SqlRows {

// The rows of statement, columns joined by '|', NULL as '-'.
inline QStringList rows(const QString& statement)
{
    SqlQuery q;
    q.exec(statement);
    QStringList all;
    while (q.next()) {
        QStringList values;
        for (int i = 0; i < q.record().count(); ++i)
            values << (q.value(i).isNull() ? QStringLiteral("-") : q.value(i).toString());
        all << values.join(QLatin1Char('|'));
    }
    return all;
}

inline QString row(const QString& statement)
{
    return rows(statement).value(0);
}

// Row counts of the comma-separated tables, joined by spaces.
inline QString counts(const QString& tables)
{
    QStringList out;
    for (const QString& table : tables.split(QLatin1Char(',')))
        out << row(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table));
    return out.join(QLatin1Char(' '));
}

// Runs statement with its '?' placeholders bound in order.
inline void exec(const QString& statement, const QVariantList& values)
{
    SqlQuery q;
    q.prepare(statement);
    for (const QVariant& value : values)
        q.addBindValue(value);
    q.exec();
}

} // namespace SqlRows
