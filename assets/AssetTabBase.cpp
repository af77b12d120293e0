#include "assets/AssetTabBase.h"

#include <QDebug>

AssetTabBase::AssetTabBase(ModifiedFlags flag, QWidget* parent) : QWidget(parent), m_flag(flag)
{
    qRegisterMetaType<ModifiedFlags>("ModifiedFlags");
}

void AssetTabBase::setAsset(int assetId, bool force)
{
    if (!force && assetId == m_currentAssetId)
        return;
    qDebug().nospace() << "m_currentAssetId = " << m_currentAssetId;
    m_loading = true;
    // A load that the database ended midway leaves the tab to be emptied.
    try {
        reset(assetId);
    } catch (...) {
        m_loading = false;
        throw;
    }
    m_loading = false;
    m_modified = false;
    m_currentAssetId = assetId;
}

void AssetTabBase::clear()
{
    m_currentAssetId = 0;
}

void AssetTabBase::setModified()
{
    if (m_loading)
        return;
    m_modified = true;
    emit notifyModified(m_flag);
}
