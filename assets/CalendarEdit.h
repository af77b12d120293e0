#pragma once

#include "assets/DialogCalendar.h"

#include <QComboBox>
#include <QDate>

// A date field holding no date or one date as text "dd/MM/yyyy"; instead of
// a drop-down list it pops up a calendar with a "Clear Date" button.
class CalendarEdit : public QComboBox
{
public:
    explicit CalendarEdit(QWidget* parent);

    void showPopup() override;

    // Null when the field holds no date or an unreadable text.
    QDate date() const;

private:
    DialogCalendar m_dialog;
};
