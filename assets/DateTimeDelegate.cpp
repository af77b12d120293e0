#include "assets/DateTimeDelegate.h"

#include "core/DateFormat.h"

DateTimeDelegate::DateTimeDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QString DateTimeDelegate::displayText(const QVariant& value, const QLocale& locale) const
{
    switch (value.typeId()) {
    case QMetaType::QDateTime:
    case QMetaType::QDate:
    case QMetaType::QString:
    case QMetaType::QByteArray:
        // A text that is no date shows as an empty cell.
        return displayDate(value);
    default:
        return QStyledItemDelegate::displayText(value, locale);
    }
}
