#pragma once

#include "assets/AssetTabBase.h"

#include <QColor>
#include <array>
#include <memory>

class ApConnection;
class AppliedPartTable;
namespace Ui { class AppliedPartsTab; }

// The asset's applied parts beside the instrument's ten patient connections,
// each box coloured by the part that uses it. An asset with results keeps
// its parts locked, since the recorded results refer to them.
class AppliedPartsTab : public AssetTabBase
{
    Q_OBJECT
public:
    explicit AppliedPartsTab(QWidget* parent = nullptr);
    ~AppliedPartsTab() override;

    AppliedPartTable* table() const;
    ApConnection* connectionBox(int index) const { return m_connectionBoxes.at(index); }
    bool isEditable() const { return m_editable; }

public slots:
    void reset(int assetId) override;
    bool apply() override;
    void clear() override;
    void connectionsModified();
    void connectionsSelected(int first, int count);
    void setModified();
    void newAssetCreated(int assetId);

private:
    std::array<QColor, 10> m_colours;
    std::unique_ptr<Ui::AppliedPartsTab> ui;
    std::array<ApConnection*, 10> m_connectionBoxes{};
    bool m_editable = false;
};
