#pragma once

#include <QDate>
#include <QDialog>
#include <memory>

namespace Ui {
class DialogCalendar;
}
class QCalendarWidget;

// The calendar that a CalendarEdit pops up. Accepted when a day is activated
// (double-click or Enter), rejected by "Clear Date", Escape or closing.
class DialogCalendar : public QDialog
{
    Q_OBJECT
public:
    DialogCalendar();
    ~DialogCalendar() override;

    QCalendarWidget* calendar() const;

public slots:
    void finishedSelecting(const QDate& date);

private:
    std::unique_ptr<Ui::DialogCalendar> m_ui;
};
