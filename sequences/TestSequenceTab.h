#pragma once

#include "assets/AssetTabBase.h"

#include <QPointer>
#include <memory>

class AssetDetailsTab;
class TestSequence;
namespace Ui { class TestSequenceTab; }

// The asset's own test sequence: its name and its elements, kept in the one
// TestSequence row of the asset, which the first Apply creates.
class TestSequenceTab : public AssetTabBase
{
    Q_OBJECT
public:
    explicit TestSequenceTab(QWidget* parent = nullptr);
    ~TestSequenceTab() override;

    // Makes the tab for an asset editor and has it follow the details tab's
    // new assets and equipment class.
    static AssetTabBase* create(AssetDetailsTab* details, QWidget* parent);

    TestSequence* testSequence() const;
    int sequenceId() const { return m_sequenceId; }

public slots:
    void reset(int assetId) override;
    bool apply() override;
    void clear() override;
    void newAssetCreated(int assetId);
    void equipmentClassChanged(int equipmentClass);
    void nameEdited(const QString& text);

private:
    // The asset's TestSequence row; 0 while it has none.
    int m_sequenceId = 0;
    // The details tab loads lazily like this one: the class it last sent
    // belongs to the asset it shows, which need not be the one loaded here.
    QPointer<AssetDetailsTab> m_details;
    int m_detailsClass = 0;
    std::unique_ptr<Ui::TestSequenceTab> ui;
};
