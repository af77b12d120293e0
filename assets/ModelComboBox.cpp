#include "assets/ModelComboBox.h"

#include "assets/ComboBoxRows.h"
#include "database/SqlQuery.h"

ModelComboBox::ModelComboBox(QWidget* parent) : QComboBox(parent)
{
    connect(this, &QComboBox::currentIndexChanged, this, &ModelComboBox::indexChanged);
}

void ModelComboBox::load(const QString& manufacturer, const QString& model)
{
    const int listed = manufacturer == m_manufacturer ? findText(model) : -1;
    if (listed >= 0) {
        setCurrentIndex(listed);
        return;
    }
    clear();
    SqlQuery query(QStringLiteral("SELECT Model FROM Equipment WHERE Manufacturer=:Manufacturer"));
    query.bindValue(QStringLiteral(":Manufacturer"), manufacturer);
    query.exec();
    const int match = ComboBoxRows::addTextRows(this, query, model);
    setCurrentIndex(match >= 0 ? match : (count() > 0 ? 0 : -1));
    m_manufacturer = manufacturer;
}

void ModelComboBox::manufacturerChanged(const QString& manufacturer)
{
    load(manufacturer, QString());
}

void ModelComboBox::indexChanged(int index)
{
    emit modelChanged(itemText(index));
}
