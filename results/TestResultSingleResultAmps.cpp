#include "results/TestResultSingleResultAmps.h"

#include <QCoreApplication>

TestResultSingleResultAmps::TestResultSingleResultAmps(QWidget* parent)
    : TestResultSingleResultkVA(
          parent, QCoreApplication::translate("TestResultSingleResultAmps", "Result:", "Label of the measured value"),
          QStringLiteral("A"))
{
}
