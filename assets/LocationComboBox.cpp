#include "assets/LocationComboBox.h"

#include "assets/ComboBoxRows.h"
#include "database/SqlQuery.h"

LocationComboBox::LocationComboBox(QWidget* parent) : QComboBox(parent) {}

void LocationComboBox::load(int siteId, int locationId)
{
    clear();
    if (siteId == 0)
        return;
    addItem(QString(), 0);
    SqlQuery query(QStringLiteral("SELECT Id,Name FROM Location WHERE SiteId=:SiteId ORDER BY Name ASC"));
    query.bindValue(QStringLiteral(":SiteId"), siteId);
    query.exec();
    // Without a match the blank item stays current.
    const int match = ComboBoxRows::addIdRows(this, query, locationId);
    if (match >= 0)
        setCurrentIndex(match);
    m_siteId = siteId;
    m_locationId = locationId;
}

void LocationComboBox::setLocation(int locationId, int siteId)
{
    const int listed = siteId == m_siteId ? findData(locationId, Qt::UserRole) : -1;
    if (listed >= 0)
        setCurrentIndex(listed);
    else
        load(siteId, locationId);
    m_locationId = locationId;
}

void LocationComboBox::reloadName(int)
{
    load(m_siteId, m_locationId);
}

void LocationComboBox::siteChanged(int siteId)
{
    load(siteId, 0);
}
