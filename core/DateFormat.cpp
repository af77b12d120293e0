#include "core/DateFormat.h"

QDateTime dateTimeFromVariant(const QVariant& value)
{
    if (value.isNull())
        return QDateTime();
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value.toDateTime();
    case QMetaType::QDate:
        return value.toDate().startOfDay();
    default:
        break;
    }
    const QString text = value.toString().trimmed();
    QDateTime dt = QDateTime::fromString(text, storedDateTimeFormat);
    if (!dt.isValid())
        dt = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!dt.isValid())
        dt = QDateTime::fromString(text, Qt::ISODate);
    if (!dt.isValid()) {
        const QDate d = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
        if (d.isValid())
            dt = d.startOfDay();
    }
    return dt;
}

QString displayDate(const QVariant& value)
{
    const QDateTime dt = dateTimeFromVariant(value);
    return dt.isValid() ? dt.toString(dateFormat) : QString();
}
