#include "results/TestResultSingleResultVolts.h"

#include <QCoreApplication>

TestResultSingleResultVolts::TestResultSingleResultVolts(QWidget* parent)
    : TestResultSingleResultkVA(
          parent, QCoreApplication::translate("TestResultSingleResultVolts", "Result:", "Label of the measured value"),
          QStringLiteral("V"))
{
}
