#include "sequences/TestSequenceTab.h"

#include "ui_TestSequenceTab.h"

#include "assets/AssetDetailsTab.h"
#include "database/Database.h"
#include "database/DatabaseBusy.h"
#include "database/DatabaseTransaction.h"
#include "database/RowGone.h"
#include "database/SqlQuery.h"
#include "sequences/TestSequence.h"

TestSequenceTab::TestSequenceTab(QWidget* parent)
    : AssetTabBase(ModifiedTestSequence, parent), ui(std::make_unique<Ui::TestSequenceTab>())
{
    ui->setupUi(this);
    connect(ui->testSequence, &TestSequence::modified, this, &AssetTabBase::setModified);
    connect(ui->name, &QLineEdit::textEdited, this, &TestSequenceTab::nameEdited);
}

TestSequenceTab::~TestSequenceTab() = default;

AssetTabBase* TestSequenceTab::create(AssetDetailsTab* details, QWidget* parent)
{
    auto* tab = new TestSequenceTab(parent);
    tab->m_details = details;
    connect(details, &AssetDetailsTab::equipmentClassChanged, tab, &TestSequenceTab::equipmentClassChanged);
    connect(details, &AssetDetailsTab::newAssetCreated, tab, &TestSequenceTab::newAssetCreated);
    return tab;
}

TestSequence* TestSequenceTab::testSequence() const
{
    return ui->testSequence;
}

void TestSequenceTab::reset(int assetId)
{
    clear();
    m_sequenceId = 0;
    // The class decides the elements offered and the editors' limits. The
    // details tab's is the one to use while it shows this asset, since it
    // may hold a class not applied yet; otherwise the stored one.
    if (m_details && m_details->currentAssetId() == assetId) {
        ui->testSequence->setEquipmentClass(m_detailsClass);
    } else {
        SqlQuery equipment;
        equipment.prepare(QStringLiteral("SELECT e.EquipmentClass FROM Asset a "
                                         "LEFT JOIN Equipment e ON e.Id=a.EquipmentId WHERE a.Id=:AssetId"));
        equipment.bindValue(QStringLiteral(":AssetId"), assetId);
        equipment.exec();
        ui->testSequence->setEquipmentClass(equipment.next() ? equipment.value(0).toInt() : 0);
    }
    SqlQuery query;
    query.prepare(QStringLiteral("SELECT Id,Name FROM TestSequence WHERE AssetId=:AssetId"));
    query.bindValue(QStringLiteral(":AssetId"), assetId);
    query.exec();
    if (!query.next())
        return;
    ui->name->setText(query.value(1).toString());
    m_sequenceId = query.value(0).toInt();
    ui->testSequence->load(m_sequenceId, false);
}

bool TestSequenceTab::apply()
{
    const QByteArray blob = ui->testSequence->data();
    bool gone = false;
    const bool written = DatabaseTransaction::run([&](DatabaseTransaction&) {
        gone = !RowGone::stored("Asset", m_currentAssetId);
        if (gone)
            return;
        // Looked up again rather than trusted from the load: a download, here
        // or at another workstation on the same server, replaces the asset's
        // row with a new one, and an update of the old Id would store nothing.
        SqlQuery row;
        row.prepare(QStringLiteral("SELECT Id FROM TestSequence WHERE AssetId=:AssetId"));
        row.bindValue(QStringLiteral(":AssetId"), m_currentAssetId);
        row.exec();
        m_sequenceId = row.next() ? row.value(0).toInt() : 0;
        row.finish();
        SqlQuery query;
        if (m_sequenceId == 0) {
            const int type = Database::instance()->type();
            query.prepareInsert(QStringLiteral("TestSequence"),
                                {QStringLiteral("Name"), QStringLiteral("AssetId"), QStringLiteral("Data")}, type);
            query.bindValue(QStringLiteral(":Name"), ui->name->text());
            query.bindValue(QStringLiteral(":AssetId"), m_currentAssetId);
            query.bindValue(QStringLiteral(":Data"), blob);
            query.exec();
            m_sequenceId = query.lastInsertId(type);
        } else {
            query.prepare(QStringLiteral("UPDATE TestSequence SET Name=:Name, Data=:Data WHERE Id=:Id"));
            query.bindValue(QStringLiteral(":Name"), ui->name->text());
            query.bindValue(QStringLiteral(":Data"), blob);
            query.bindValue(QStringLiteral(":Id"), m_sequenceId);
            query.exec();
        }
    });
    if (!written)
        DatabaseBusy::tell(this);
    else if (gone)
        RowGone::tell(this, tr("The asset"));
    return written && !gone;
}

void TestSequenceTab::clear()
{
    ui->name->clear();
    ui->testSequence->clear();
    AssetTabBase::clear();
}

void TestSequenceTab::newAssetCreated(int assetId)
{
    m_currentAssetId = assetId;
    m_sequenceId = 0;
}

void TestSequenceTab::equipmentClassChanged(int equipmentClass)
{
    m_detailsClass = equipmentClass;
    ui->testSequence->setEquipmentClass(equipmentClass);
}

void TestSequenceTab::nameEdited(const QString&)
{
    setModified();
}
