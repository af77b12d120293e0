#include "results/TestResultSingleResultkVA.h"

#include "results/ResultFormat.h"

#include <QCoreApplication>
#include <QLineEdit>

TestResultSingleResultkVA::TestResultSingleResultkVA(QWidget* parent)
    : TestResultSingleResultkVA(
          parent, QCoreApplication::translate("TestResultSingleResultkVA", "Result:", "Label of the measured value"),
          QStringLiteral("kVA"))
{
}

TestResultSingleResultkVA::TestResultSingleResultkVA(QWidget* parent, const QString& resultLabel, const QString& unit)
    : TestResultValueForm(parent)
{
    m_result = addField(resultLabel, "result", Qt::AlignRight, "units", unit);
}

void TestResultSingleResultkVA::setResult(QSqlQuery& query)
{
    m_result->setText(formatResult(query));
}
