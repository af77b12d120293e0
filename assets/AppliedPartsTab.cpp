#include "assets/AppliedPartsTab.h"

#include "ui_AppliedPartsTab.h"

#include "database/SqlQuery.h"

AppliedPartsTab::AppliedPartsTab(QWidget* parent)
    : AssetTabBase(ModifiedAppliedParts, parent), ui(std::make_unique<Ui::AppliedPartsTab>())
{
    for (int i = 0; i < 10; ++i)
        m_colours[i] = QColor::fromHsv(24 * i, 255, 255, 255);
    ui->setupUi(this);
    m_connectionBoxes = {ui->con1, ui->con2, ui->con3, ui->con4, ui->con5,
                         ui->con6, ui->con7, ui->con8, ui->con9, ui->con10};
    for (ApConnection* box : m_connectionBoxes)
        box->setFrame(false);

    AppliedPartTable* table = ui->appliedPartsTable;
    connect(table, &AppliedPartTable::appliedPartsModified, this, &AppliedPartsTab::setModified);
    connect(table, &AppliedPartTable::connectionsModified, this, &AppliedPartsTab::connectionsModified);
    connect(table, &AppliedPartTable::connectionsSelected, this, &AppliedPartsTab::connectionsSelected);
    connect(ui->addRowBtn, &QPushButton::pressed, table, &AppliedPartTable::insertRow);
    connect(ui->removeRowBtn, &QPushButton::pressed, table, &AppliedPartTable::deleteRow);
    connect(ui->moveRowUpBtn, &QPushButton::pressed, table, &AppliedPartTable::moveRowUp);
    connect(ui->moveRowDownBtn, &QPushButton::pressed, table, &AppliedPartTable::moveRowDown);
}

AppliedPartsTab::~AppliedPartsTab() = default;

AppliedPartTable* AppliedPartsTab::table() const
{
    return ui->appliedPartsTable;
}

void AppliedPartsTab::reset(int assetId)
{
    SqlQuery results(QStringLiteral("SELECT COUNT(Id) FROM ResultSet WHERE AssetId=:AssetId"));
    results.bindValue(QStringLiteral(":AssetId"), assetId);
    results.exec();
    m_editable = results.next() && results.value(0).toInt() == 0;
    ui->addRowBtn->setEnabled(m_editable);
    ui->appliedPartsTable->load(assetId, m_editable);
    connectionsModified();
}

bool AppliedPartsTab::apply()
{
    return ui->appliedPartsTable->save(m_currentAssetId);
}

void AppliedPartsTab::clear()
{
    ui->appliedPartsTable->clearRows();
    AssetTabBase::clear();
}

void AppliedPartsTab::setModified()
{
    ui->addRowBtn->setEnabled(ui->appliedPartsTable->rowCount() < AppliedPartTable::MaximumRows);
    AssetTabBase::setModified();
}

void AppliedPartsTab::newAssetCreated(int assetId)
{
    m_currentAssetId = assetId;
}

void AppliedPartsTab::connectionsModified()
{
    const QList<int> counts = ui->appliedPartsTable->connectionCounts();
    int box = 0;
    for (int part = 0; part < counts.size() && box < 10; ++part) {
        for (int c = 0; c < counts.at(part) && box < 10; ++c) {
            m_connectionBoxes[box]->setColour(m_colours[part % 10]);
            m_connectionBoxes[box]->setEnabled(true);
            ++box;
        }
    }
    for (; box < 10; ++box)
        m_connectionBoxes[box]->setEnabled(false);
}

void AppliedPartsTab::connectionsSelected(int first, int count)
{
    if (first >= 0) {
        for (int i = 0; i < 10; ++i)
            m_connectionBoxes[i]->setSelected(first <= i && i <= first + count - 1);
    }
    const bool rowActions = first >= 0 && m_editable;
    ui->removeRowBtn->setEnabled(rowActions);
    ui->moveRowUpBtn->setEnabled(rowActions);
    ui->moveRowDownBtn->setEnabled(rowActions);
}
