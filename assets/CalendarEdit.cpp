#include "assets/CalendarEdit.h"

#include "core/DateFormat.h"

#include <QCalendarWidget>
#include <QLocale>

CalendarEdit::CalendarEdit(QWidget* parent) : QComboBox(parent) {}

void CalendarEdit::showPopup()
{
    // The calendar hangs below the field, right edges aligned.
    m_dialog.move(mapToGlobal(QPoint(width() - m_dialog.width(), height())));
    if (m_dialog.exec() == QDialog::Accepted) {
        clear();
        addItem(QLocale().toString(m_dialog.calendar()->selectedDate(), dateFormat));
        setCurrentIndex(0);
        hidePopup();
    } else {
        clear();
    }
}

QDate CalendarEdit::date() const
{
    return QLocale().toDate(currentText(), dateFormat);
}
