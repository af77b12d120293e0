#include "assets/NextTestLineEdit.h"

#include "core/DateFormat.h"

#include <QCoreApplication>
#include <QLocale>

NextTestLineEdit::NextTestLineEdit(QWidget* parent) : QLineEdit(parent) {}

void NextTestLineEdit::setLastTest(const QDate& lastTest, int retestPeriod)
{
    m_lastTest = lastTest;
    m_retestPeriod = retestPeriod;
    updateText();
}

void NextTestLineEdit::setRetestPeriod(int months)
{
    m_retestPeriod = months;
    updateText();
}

void NextTestLineEdit::updateText()
{
    if (m_retestPeriod <= 0)
        setText(QCoreApplication::translate("AssetDetailsTab", "No Test Scheduled",
                                            "Shown when there is no scheduled test"));
    else if (!m_lastTest.isValid())
        setText(QCoreApplication::translate("AssetDetailsTab", "Untested",
                                            "Shown when there is no last test date because no test record exists"));
    else
        // QDate::addMonths keeps the day where the month has it, else its last day.
        setText(QLocale().toString(m_lastTest.addMonths(m_retestPeriod), dateFormat));
}
