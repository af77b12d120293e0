#pragma once

#include "assets/ModifiedFlags.h"

#include <QWidget>

// A tab of the asset editor: loaded for an asset id, marks itself modified
// when the user edits it, writes its edits on request and can be emptied.
class AssetTabBase : public QWidget
{
    Q_OBJECT
public:
    AssetTabBase(ModifiedFlags flag, QWidget* parent);

    // Loads the tab for assetId unless it already shows it; force reloads anyway.
    void setAsset(int assetId, bool force);

    ModifiedFlags flag() const { return m_flag; }
    int currentAssetId() const { return m_currentAssetId; }
    bool isModified() const { return m_modified; }
    bool isLoading() const { return m_loading; }

signals:
    void notifyModified(ModifiedFlags flag);

public slots:
    // Reloads every widget from the database; runs only inside setAsset.
    virtual void reset(int assetId) = 0;
    // Writes the edits for the current asset; false when refused or failed,
    // after the tab has told the user why.
    virtual bool apply() = 0;
    virtual void clear();
    void setModified();

protected:
    bool m_modified = false;
    // Filling widgets fires their change signals; those are not user edits.
    bool m_loading = false;
    const ModifiedFlags m_flag;
    // An Asset Id, -1 for a new asset not yet written, 0 for none.
    qint32 m_currentAssetId = 0;
};
