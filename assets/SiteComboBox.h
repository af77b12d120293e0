#pragma once

#include <QComboBox>

// The sites of one client by name, with a blank first item; item data is the
// site's Id (0 for the blank item).
class SiteComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit SiteComboBox(QWidget* parent);

    // Always reads the list afresh; an unknown site leaves the blank item current.
    void load(int clientId, int siteId);
    // Selects the site, reloading only when the client differs or the site is not listed.
    void setSite(int siteId, int clientId);
    // Shows a site's new name.
    void reloadName(int siteId);

signals:
    void siteChanged(int siteId);

public slots:
    void clientChanged(int clientId);
    void indexChanged(int index);

private:
    int m_clientId = 0;
    int m_siteId = 0;
};
