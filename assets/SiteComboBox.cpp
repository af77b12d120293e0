#include "assets/SiteComboBox.h"

#include "assets/ComboBoxRows.h"
#include "database/SqlQuery.h"

SiteComboBox::SiteComboBox(QWidget* parent) : QComboBox(parent)
{
    connect(this, &QComboBox::currentIndexChanged, this, &SiteComboBox::indexChanged);
}

void SiteComboBox::load(int clientId, int siteId)
{
    clear();
    addItem(QString(), 0);
    SqlQuery query(QStringLiteral("SELECT Id,Name FROM Site WHERE ClientId=:ClientId ORDER BY Name ASC"));
    query.bindValue(QStringLiteral(":ClientId"), clientId);
    query.exec();
    // Without a match the blank item stays current.
    const int match = ComboBoxRows::addIdRows(this, query, siteId);
    if (match >= 0)
        setCurrentIndex(match);
    m_clientId = clientId;
    m_siteId = siteId;
}

void SiteComboBox::setSite(int siteId, int clientId)
{
    const int listed = clientId == m_clientId ? findData(siteId, Qt::UserRole) : -1;
    if (listed >= 0)
        setCurrentIndex(listed);
    else
        load(clientId, siteId);
    m_siteId = siteId;
}

void SiteComboBox::reloadName(int siteId)
{
    load(m_clientId, siteId);
}

void SiteComboBox::clientChanged(int clientId)
{
    load(clientId, 0);
    emit siteChanged(0);
}

void SiteComboBox::indexChanged(int index)
{
    emit siteChanged(itemData(index, Qt::UserRole).toInt());
}
