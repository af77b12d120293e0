#pragma once

#include "assets/AssetTabBase.h"

#include <memory>

class QPushButton;
namespace Ui { class AssetDetailsTab; }

// The asset's own fields, its equipment and its place. Apply checks the
// name, finds or creates client, site, location and equipment and updates
// the asset, or inserts it when the editor holds a new one.
class AssetDetailsTab : public AssetTabBase
{
    Q_OBJECT
public:
    explicit AssetDetailsTab(QWidget* parent = nullptr);
    ~AssetDetailsTab() override;

    // The asset's name as the editor shows it, edits included.
    QString assetName() const;

    // Prepares an empty asset under a tree node (client, site or location).
    void selectLocationPath(int nodeType, int id);

    // A client, site or location was renamed in the tree: show the new name
    // without marking the asset modified.
    void clientNameChanged(int clientId);
    void siteNameChanged(int siteId);
    void locationNameChanged(int locationId);

    QPushButton* apConfigViewButton() const;

signals:
    void updateAsset(int assetId);
    void equipmentClassChanged(int equipmentClass);
    void newAssetCreated(int assetId);

public slots:
    void reset(int assetId) override;
    bool apply() override;
    void clear() override;
    void setModified(const QString& text);
    void setModified(int value);
    void equipmentIndexChanged(int index);

private:
    bool isDuplicate(const QString& name, const QString& serial) const;
    void updateExisting(const QString& name, const QString& serial, int locationId, int equipmentId);

    std::unique_ptr<Ui::AssetDetailsTab> ui;
    bool m_namesRefreshing = false;
};
