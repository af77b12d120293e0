#pragma once

#include <QStyledItemDelegate>

// Shows a stored date or date-time as its date, "dd/MM/yyyy", whichever type
// the driver hands back (SQLite returns the stored text).
class DateTimeDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit DateTimeDelegate(QObject* parent);

    QString displayText(const QVariant& value, const QLocale& locale) const override;
};
