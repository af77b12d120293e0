#include "results/TestResultValueForm.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

TestResultValueForm::TestResultValueForm(QWidget* parent) : TestResultBase(parent), m_grid(new QGridLayout(this))
{
    m_grid->setContentsMargins(0, 0, 0, 0);
}

QLineEdit* TestResultValueForm::addField(const QString& label, const char* fieldName, Qt::Alignment alignment,
                                         const char* unitName, const QString& unit)
{
    const int row = m_grid->rowCount();
    m_grid->addWidget(new QLabel(label, this), row, 0);
    auto* field = new QLineEdit(this);
    field->setObjectName(QLatin1String(fieldName));
    field->setReadOnly(true);
    field->setAlignment(alignment | Qt::AlignVCenter);
    m_grid->addWidget(field, row, 1);
    if (unitName) {
        auto* units = new QLabel(unit, this);
        units->setObjectName(QLatin1String(unitName));
        m_grid->addWidget(units, row, 2);
    }
    return field;
}
