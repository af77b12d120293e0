#include "assets/DialogCalendar.h"

#include "ui_DialogCalendar.h"

DialogCalendar::DialogCalendar() : QDialog(nullptr), m_ui(std::make_unique<Ui::DialogCalendar>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    connect(m_ui->clearDateBtn, &QPushButton::pressed, this, &QDialog::reject);
    connect(m_ui->calendar, &QCalendarWidget::activated, this, &DialogCalendar::finishedSelecting);
}

DialogCalendar::~DialogCalendar() = default;

QCalendarWidget* DialogCalendar::calendar() const
{
    return m_ui->calendar;
}

void DialogCalendar::finishedSelecting(const QDate&)
{
    // The caller reads the date from the calendar itself.
    accept();
}
