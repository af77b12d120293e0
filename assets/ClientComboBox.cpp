#include "assets/ClientComboBox.h"

#include "assets/ComboBoxRows.h"
#include "database/SqlQuery.h"

ClientComboBox::ClientComboBox(QWidget* parent) : QComboBox(parent)
{
    connect(this, &QComboBox::currentIndexChanged, this, &ClientComboBox::indexChanged);
}

void ClientComboBox::load(int clientId)
{
    const int listed = findData(clientId, Qt::UserRole);
    if (listed >= 0) {
        setCurrentIndex(listed);
        return;
    }
    clear();
    addItem(QString(), 0);
    SqlQuery query(QStringLiteral("SELECT Id,Name FROM Client ORDER BY Name ASC"));
    query.exec();
    setCurrentIndex(ComboBoxRows::addIdRows(this, query, clientId));
}

void ClientComboBox::reloadName(int clientId)
{
    const int index = findData(clientId, Qt::UserRole);
    if (index < 0)
        return;
    SqlQuery query(QStringLiteral("SELECT Name FROM Client WHERE Id=:ClientId"));
    query.bindValue(QStringLiteral(":ClientId"), clientId);
    query.exec();
    if (query.next())
        setItemText(index, query.value(0).toString());
}

void ClientComboBox::indexChanged(int index)
{
    emit clientChanged(itemData(index, Qt::UserRole).toInt());
}
