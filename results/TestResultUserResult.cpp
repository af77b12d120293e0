#include "results/TestResultUserResult.h"

#include "results/ResultFormat.h"
#include "database/ColumnText.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlRecord>

TestResultUserResult::TestResultUserResult(QWidget* parent) : TestResultValueForm(parent)
{
    m_name = addField(QCoreApplication::translate("TestResultUserResult", "Name:", "Label of the user test's name"),
                      "name", Qt::AlignLeft);
    m_result = addField(QCoreApplication::translate("TestResultUserResult", "Result:", "Label of the measured value"),
                        "result", Qt::AlignRight);
    m_units = addField(QCoreApplication::translate("TestResultUserResult", "Units:", "Label of the user test's units"),
                       "units", Qt::AlignLeft);
}

void TestResultUserResult::setResult(QSqlQuery& query)
{
    const QSqlRecord record = query.record();
    m_result->setText(formatResult(query));
    m_name->setText(ColumnText::of(query.value(record.indexOf(QStringLiteral("CustomName")))));
    m_units->setText(ColumnText::of(query.value(record.indexOf(QStringLiteral("CustomUnits")))));
}
