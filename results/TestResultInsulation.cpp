#include "results/TestResultInsulation.h"

#include <QCoreApplication>

TestResultInsulation::TestResultInsulation(QWidget* parent)
    : TestResultResistance(parent,
                           QCoreApplication::translate("TestResultInsulation", "Result:", "Label of the measured value"),
                           QCoreApplication::translate("TestResultInsulation", "Limit:", "Label of the test limit"),
                           QStringLiteral("MΩ"))
{
}
