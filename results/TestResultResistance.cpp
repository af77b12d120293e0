#include "results/TestResultResistance.h"

#include "results/ResultFormat.h"

#include <QCoreApplication>
#include <QLineEdit>

TestResultResistance::TestResultResistance(QWidget* parent)
    : TestResultResistance(parent,
                           QCoreApplication::translate("TestResultResistance", "Result:", "Label of the measured value"),
                           QCoreApplication::translate("TestResultResistance", "Limit:", "Label of the test limit"),
                           QStringLiteral("Ω"))
{
}

TestResultResistance::TestResultResistance(QWidget* parent, const QString& resultLabel, const QString& limitLabel,
                                           const QString& unit)
    : TestResultValueForm(parent)
{
    m_result = addField(resultLabel, "result", Qt::AlignRight, "resultUnits", unit);
    m_limit = addField(limitLabel, "limit", Qt::AlignRight, "limitUnits", unit);
}

void TestResultResistance::setResult(QSqlQuery& query)
{
    m_result->setText(formatResult(query));
    m_limit->setText(formatLimit(query));
}
