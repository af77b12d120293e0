#include "core/DateFormat.h"

QDateTime wallClockDateTime(const QDate& date, const QTime& time)
{
    return QDateTime(date, time, Qt::UTC);
}

QDateTime dateTimeFromVariant(const QVariant& value)
{
    if (value.isNull())
        return QDateTime();
    switch (value.typeId()) {
    case QMetaType::QDateTime: {
        // A driver builds local times: one inside a gap is invalid yet still
        // holds the date and time that were stored.
        const QDateTime dt = value.toDateTime();
        return wallClockDateTime(dt.date(), dt.time());
    }
    case QMetaType::QDate:
        return wallClockDateTime(value.toDate(), QTime(0, 0));
    default:
        break;
    }
    const QString text = value.toString().trimmed();
    if (text.size() == storedDateTimeFormat.size() && text.at(10) == QLatin1Char(' ')) {
        const QDateTime stored = wallClockDateTime(QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd")),
                                                   QTime::fromString(text.mid(11), QStringLiteral("HH:mm:ss")));
        if (stored.isValid())
            return stored;
    }
    // ISO forms keep their fields as written, offset or not.
    QDateTime iso = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!iso.isValid())
        iso = QDateTime::fromString(text + QLatin1Char('Z'), Qt::ISODateWithMs);
    if (iso.isValid())
        return wallClockDateTime(iso.date(), iso.time());
    return wallClockDateTime(QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
}

QString displayDate(const QVariant& value)
{
    const QDateTime dt = dateTimeFromVariant(value);
    return dt.isValid() ? dt.toString(dateFormat) : QString();
}
