#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

// Dates are shown in one fixed format everywhere.
inline const QString dateFormat = QStringLiteral("dd/MM/yyyy");

// Date-times are stored in one text form on every back-end so that
// comparisons and ORDER BY agree.
inline const QString storedDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// Dates from instruments, legacy files and the database are wall-clock times
// that ignore daylight saving: kept in a time spec without gaps, so that
// 01:15 on the night the clocks go forward stays 01:15 and stays valid.
QDateTime wallClockDateTime(const QDate& date, const QTime& time);

// The date of a value as a driver returns it: a QDateTime, a QDate or a text
// in the stored form (SQLite returns texts); a wall-clock time as above.
QDateTime dateTimeFromVariant(const QVariant& value);
QString displayDate(const QVariant& value);
