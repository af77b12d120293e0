#include "results/TestResultIECWiring.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlRecord>

TestResultIECWiring::TestResultIECWiring(QWidget* parent) : TestResultBase(parent)
{
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(tr("Result:", "Label of the outcome of the wiring test"), this), 0, 0);
    m_result = new QLineEdit(this);
    m_result->setObjectName(QStringLiteral("result"));
    m_result->setReadOnly(true);
    m_result->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    layout->addWidget(m_result, 0, 1);
}

void TestResultIECWiring::setResult(QSqlQuery& query)
{
    // The Result column holds the instrument's wiring code, not a measurement.
    switch (query.value(query.record().indexOf(QStringLiteral("result"))).toInt()) {
    case 0:
        m_result->setText(tr("Test not complete", "Wiring test outcome"));
        break;
    case 1:
        m_result->setText(tr("Pass", "Wiring test outcome"));
        break;
    case 2:
        m_result->setText(tr("Live Open", "Wiring test outcome"));
        break;
    case 3:
        m_result->setText(tr("Live / Neutral reversed", "Wiring test outcome"));
        break;
    case 4:
        m_result->setText(tr("Live / Neutral short", "Wiring test outcome"));
        break;
    case 5:
        m_result->setText(tr("Neutral open", "Wiring test outcome"));
        break;
    case 6:
        m_result->setText(tr("Live or Neutral open", "Wiring test outcome"));
        break;
    default:
        break;
    }
}
