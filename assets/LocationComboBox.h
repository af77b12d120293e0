#pragma once

#include <QComboBox>

// The locations of one site by name, with a blank first item; item data is
// the location's Id (0 for the blank item). Without a site the list is empty.
class LocationComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit LocationComboBox(QWidget* parent);

    // Always reads the list afresh; an unknown location leaves the blank item
    // current. Site 0 only empties the list.
    void load(int siteId, int locationId);
    // Selects the location, reloading only when the site differs or the location is not listed.
    void setLocation(int locationId, int siteId);
    // Reads the list afresh so that a renamed location shows its new name.
    void reloadName(int locationId);

public slots:
    void siteChanged(int siteId);

private:
    int m_siteId = 0;
    int m_locationId = 0;
};
