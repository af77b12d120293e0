#include "results/TestResultVisual.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

TestResultVisual::TestResultVisual(QWidget* parent) : TestResultBase(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* units = new QLabel(QCoreApplication::translate("TestResultVisual", "No additional information",
                                                         "Shown under a visual test, which records no values"),
                             this);
    units->setObjectName(QStringLiteral("units"));
    units->setAlignment(Qt::AlignCenter);
    layout->addWidget(units);
}

void TestResultVisual::setResult(QSqlQuery&) {}
