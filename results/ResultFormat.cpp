#include "results/ResultFormat.h"

#include <QLocale>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cmath>

namespace {

// Columns are found by name without regard to case, so the forms work on
// "SELECT *" as well as on any narrower statement.
QVariant column(const QSqlQuery& query, const char* name)
{
    return query.value(query.record().indexOf(QLatin1String(name)));
}

} // namespace

int decimalsForValue(float value)
{
    if (value < 1.0f)
        return 4;
    if (value < 10.0f)
        return 3;
    if (value < 100.0f)
        return 2;
    if (value < 1000.0f)
        return 1;
    return 0;
}

QString formatResult(QSqlQuery& query)
{
    const double value = column(query, "Result").toDouble();
    // A value the instrument could not measure would otherwise read "nan" or "inf".
    if (!std::isfinite(value))
        return QString();
    const QVariant greaterThan = column(query, "ResultGreaterThan");
    QString sign;
    if (!greaterThan.isNull())
        sign = greaterThan.toBool() ? QStringLiteral(">") : QStringLiteral("<");
    return QStringLiteral("%1%2").arg(sign, QLocale().toString(value, 'f', decimalsForValue(float(value))));
}

QString formatLimit(QSqlQuery& query)
{
    const double value = column(query, "ResultLimit").toDouble();
    if (!std::isfinite(value))
        return QString();
    return QLocale().toString(value, 'f', 4);
}
