#include "assets/ManufacturerComboBox.h"

#include "assets/ComboBoxRows.h"
#include "database/SqlQuery.h"

ManufacturerComboBox::ManufacturerComboBox(QWidget* parent) : QComboBox(parent)
{
    connect(this, &QComboBox::currentIndexChanged, this, &ManufacturerComboBox::indexChanged);
}

void ManufacturerComboBox::load(const QString& manufacturer)
{
    const int listed = findText(manufacturer);
    if (listed >= 0) {
        setCurrentIndex(listed);
        return;
    }
    clear();
    SqlQuery query(QStringLiteral("SELECT Manufacturer FROM Equipment"));
    query.exec();
    setCurrentIndex(ComboBoxRows::addTextRows(this, query, manufacturer));
}

void ManufacturerComboBox::indexChanged(int index)
{
    emit manufacturerChanged(itemText(index));
}
