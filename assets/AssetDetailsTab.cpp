#include "assets/AssetDetailsTab.h"

#include "ui_AssetDetailsTab.h"

#include "assets/AssetTreeItem.h"
#include "assets/LikePattern.h"
#include "core/DateFormat.h"
#include "database/ConnectionLoss.h"
#include "database/Database.h"
#include "database/DatabaseAction.h"
#include "database/DatabaseBusy.h"
#include "database/DatabaseTransaction.h"
#include "database/RowGone.h"
#include "database/SqlQuery.h"
#include "database/ColumnText.h"

#include <QMessageBox>
#include <QSignalBlocker>

namespace {

int scalarInt(const QString& statement)
{
    SqlQuery query;
    query.exec(statement);
    return query.next() ? query.value(0).toInt() : 0;
}

// The combo boxes the user may type into.
QList<QComboBox*> textCombos(const Ui::AssetDetailsTab& ui)
{
    return {ui.manufacturer, ui.client, ui.model, ui.site, ui.serviceCode, ui.location};
}

} // namespace

// A row that vanished under the editor: another workstation deleted the
// asset since the list was read. The load ends, and the editor with it.
static void reportMissingAsset()
{
    // Nothing is found on a connection that is gone; that loss has been told.
    if (ConnectionLoss::happened())
        return;
    DatabaseAction::stop(AssetDetailsTab::tr("The asset is no longer in the database: another workstation "
                                             "deleted it."));
}

AssetDetailsTab::AssetDetailsTab(QWidget* parent)
    : AssetTabBase(ModifiedDetails, parent), ui(std::make_unique<Ui::AssetDetailsTab>())
{
    ui->setupUi(this);
    for (QComboBox* combo : textCombos(*ui)) {
        if (combo->lineEdit())
            combo->lineEdit()->setMaxLength(25);
    }

    using TextSignal = void (QComboBox::*)(const QString&);
    const TextSignal editText = &QComboBox::editTextChanged;
    using TextSlot = void (AssetDetailsTab::*)(const QString&);
    const TextSlot textModified = &AssetDetailsTab::setModified;
    using IntSlot = void (AssetDetailsTab::*)(int);
    const IntSlot intModified = &AssetDetailsTab::setModified;

    connect(ui->client, &ClientComboBox::clientChanged, ui->site, &SiteComboBox::clientChanged);
    connect(ui->site, &SiteComboBox::siteChanged, ui->location, &LocationComboBox::siteChanged);
    connect(ui->manufacturer, &ManufacturerComboBox::manufacturerChanged, ui->model,
            &ModelComboBox::manufacturerChanged);
    connect(ui->testPeriodTime, &QSpinBox::valueChanged, ui->testPeriodNextTest, &NextTestLineEdit::setRetestPeriod);
    connect(ui->assetId, &QLineEdit::textEdited, this, textModified);
    connect(ui->description, &QLineEdit::textEdited, this, textModified);
    connect(ui->client, editText, this, textModified);
    connect(ui->site, editText, this, textModified);
    connect(ui->location, editText, this, textModified);
    connect(ui->testPeriodTime, &QSpinBox::valueChanged, this, intModified);
    connect(ui->manufacturer, editText, this, textModified);
    connect(ui->model, editText, this, textModified);
    connect(ui->serialNo, &QLineEdit::textEdited, this, textModified);
    connect(ui->serviceCode, editText, this, textModified);
    connect(ui->equipmentClass, &QComboBox::currentIndexChanged, this, &AssetDetailsTab::equipmentIndexChanged);
}

AssetDetailsTab::~AssetDetailsTab() = default;

QPushButton* AssetDetailsTab::apConfigViewButton() const
{
    return ui->apConfigViewBtn;
}

void AssetDetailsTab::setModified(const QString&)
{
    if (!m_namesRefreshing)
        AssetTabBase::setModified();
}

void AssetDetailsTab::setModified(int)
{
    if (!m_namesRefreshing)
        AssetTabBase::setModified();
}

void AssetDetailsTab::equipmentIndexChanged(int)
{
    if (!m_namesRefreshing)
        AssetTabBase::setModified();
    emit equipmentClassChanged(ui->equipmentClass->currentIndex());
}

void AssetDetailsTab::clientNameChanged(int clientId)
{
    m_namesRefreshing = true;
    ui->client->reloadName(clientId);
    m_namesRefreshing = false;
}

void AssetDetailsTab::siteNameChanged(int siteId)
{
    m_namesRefreshing = true;
    ui->site->reloadName(siteId);
    m_namesRefreshing = false;
}

void AssetDetailsTab::locationNameChanged(int locationId)
{
    m_namesRefreshing = true;
    ui->location->reloadName(locationId);
    m_namesRefreshing = false;
}

void AssetDetailsTab::reset(int assetId)
{
    // A new asset keeps the fields that selectLocationPath prepared.
    if (assetId < 1)
        return;

    SqlQuery asset(QStringLiteral(
        "SELECT a.Name,a.Description,c.Id,s.Id,l.Id,a.equipmentId,a.ServiceCode,e.EquipmentClass,"
        "a.RetestPeriod,rs.Date FROM Asset a LEFT JOIN Equipment e ON e.Id=a.EquipmentId "
        "LEFT JOIN Location l ON l.Id=a.LocationId LEFT JOIN Site s ON s.Id=l.SiteId "
        "LEFT JOIN Client c ON c.Id=s.ClientId LEFT JOIN ResultSet rs ON rs.Id=a.LatestResultSetId "
        "WHERE a.Id=:AssetId"));
    asset.bindValue(QStringLiteral(":AssetId"), assetId);
    asset.exec();
    if (!asset.next()) {
        reportMissingAsset();
        return;
    }
    const int clientId = asset.value(2).toInt();
    const int siteId = asset.value(3).toInt();
    const int locationId = asset.value(4).toInt();
    const int equipmentId = asset.value(5).toInt();
    const int retestPeriod = asset.value(8).toInt();
    ui->assetId->setText(ColumnText::of(asset.value(0)));
    ui->description->setText(ColumnText::of(asset.value(1)));
    ui->client->load(clientId);
    ui->site->setSite(siteId, clientId);
    ui->location->setLocation(locationId, siteId);
    ui->serviceCode->load(ColumnText::of(asset.value(6)));
    ui->equipmentClass->setCurrentIndex(asset.value(7).toInt());
    ui->testPeriodTime->setValue(retestPeriod);
    ui->testPeriodNextTest->setLastTest(dateTimeFromVariant(asset.value(9)).date(), retestPeriod);

    SqlQuery equipment(QStringLiteral("SELECT Manufacturer,Model,SerialNo FROM Equipment WHERE Id=:EquipmentId"));
    equipment.bindValue(QStringLiteral(":EquipmentId"), equipmentId);
    equipment.exec();
    if (!equipment.next()) {
        reportMissingAsset();
        return;
    }
    ui->manufacturer->load(ColumnText::of(equipment.value(0)));
    ui->model->load(ColumnText::of(equipment.value(0)), ColumnText::of(equipment.value(1)));
    ui->serialNo->setText(ColumnText::of(equipment.value(2)));

    ui->apConfigSummary->setText(Database::instance()->appliedPartSummary(assetId));
}

bool AssetDetailsTab::isDuplicate(const QString& name, const QString& serial) const
{
    const int type = Database::instance()->type();
    SqlQuery count(QStringLiteral("SELECT COUNT(Id) FROM Asset WHERE Name LIKE :Name ESCAPE '!' "
                                  "AND SerialNo LIKE :SerialNo ESCAPE '!' AND Id<>:CurrentAssetId"));
    count.bindValue(QStringLiteral(":Name"), LikePattern::literal(name, type));
    count.bindValue(QStringLiteral(":SerialNo"), LikePattern::literal(serial, type));
    count.bindValue(QStringLiteral(":CurrentAssetId"), m_currentAssetId);
    count.exec();
    return count.next() && count.value(0).toInt() > 0;
}

QString AssetDetailsTab::assetName() const
{
    return ui->assetId->text().trimmed();
}

bool AssetDetailsTab::apply()
{
    const QString name = ui->assetId->text().trimmed();
    const QString serial = ui->serialNo->text().trimmed();
    if (name.isEmpty()) {
        QMessageBox::warning(this, QString(), tr("Asset name required"));
        return false;
    }

    // The check and the write go under one lock, so that no other
    // workstation stores the twin in between; the question waits until the
    // lock is given back.
    bool duplicate = false;
    bool gone = false;
    int assetId = m_currentAssetId;
    const bool written = DatabaseTransaction::run([&](DatabaseTransaction&) {
        gone = m_currentAssetId > 0 && !RowGone::stored("Asset", m_currentAssetId);
        duplicate = !gone && isDuplicate(name, serial);
        if (gone || duplicate)
            return;
        Database* db = Database::instance();
        const int clientId = db->findOrInsertClient(ui->client->currentText());
        const int siteId = db->findOrInsertSite(clientId, ui->site->currentText());
        const int locationId = db->findOrInsertLocation(siteId, ui->location->currentText());
        const int equipmentId = db->findOrInsertEquipment(ui->manufacturer->currentText(), ui->model->currentText(),
                                                          ui->serialNo->text(), ui->equipmentClass->currentIndex());
        if (m_currentAssetId <= 0)
            assetId = db->insertAsset(name, ui->description->text(), ui->serviceCode->currentText(), serial,
                                      locationId, equipmentId, ui->testPeriodTime->text().toInt());
        else
            updateExisting(name, serial, locationId, equipmentId);
    });
    if (!written) {
        DatabaseBusy::tell(this);
        return false;
    }
    if (gone) {
        RowGone::tell(this, tr("The asset %1", "the subject of a sentence").arg(name));
        return false;
    }
    if (duplicate) {
        QMessageBox box;
        box.setText(tr("An asset already exists with the same name and serial number. Please choose "
                       "different values for these fields."));
        box.exec();
        return false;
    }
    if (assetId != m_currentAssetId) {
        m_currentAssetId = assetId;
        emit newAssetCreated(m_currentAssetId);
    }
    DatabaseAction::afterWrite([this] { emit updateAsset(m_currentAssetId); });
    return true;
}

void AssetDetailsTab::updateExisting(const QString& name, const QString& serial, int locationId, int equipmentId)
{
    const int retestPeriod = ui->testPeriodTime->text().toInt();
    SqlQuery latest(QStringLiteral(
        "SELECT rs.Date FROM Asset a LEFT JOIN ResultSet rs ON a.LatestResultSetId=rs.Id WHERE a.Id=:AssetId"));
    latest.bindValue(QStringLiteral(":AssetId"), m_currentAssetId);
    latest.exec();
    QDateTime retestDate;
    if (latest.next()) {
        const QDateTime lastTest = dateTimeFromVariant(latest.value(0));
        if (lastTest.isValid())
            retestDate = Database::addMonths(lastTest, retestPeriod);
    }
    latest.finish();

    SqlQuery update(QStringLiteral(
        "UPDATE Asset SET Name=:Name,Description=:Description,ServiceCode=:ServiceCode,SerialNo=:SerialNo, "
        "LocationId=:LocationId,EquipmentId=:EquipmentId,RetestPeriod=:RetestPeriod,RetestDate=:RetestDate "
        "WHERE Id=:AssetId"));
    update.bindValue(QStringLiteral(":Name"), name);
    update.bindValue(QStringLiteral(":Description"), ui->description->text());
    update.bindValue(QStringLiteral(":ServiceCode"), ui->serviceCode->currentText());
    update.bindValue(QStringLiteral(":SerialNo"), serial);
    update.bindValue(QStringLiteral(":LocationId"), locationId);
    update.bindValue(QStringLiteral(":EquipmentId"), equipmentId);
    update.bindValue(QStringLiteral(":RetestPeriod"), retestPeriod);
    update.bindValue(QStringLiteral(":RetestDate"), Database::dateTimeValue(retestDate));
    update.bindValue(QStringLiteral(":AssetId"), m_currentAssetId);
    update.exec();
}

void AssetDetailsTab::clear()
{
    m_loading = true;
    ui->assetId->clear();
    ui->description->clear();
    // Emptying the list leaves the edit text of a combo without a current
    // item (a recycled asset's code, what the user typed); Apply would store it.
    // An emptied combo tells the one below it, which would read the
    // database for a list that is emptied next anyway.
    for (QComboBox* combo : textCombos(*ui)) {
        const QSignalBlocker quiet(combo);
        combo->clear();
        combo->clearEditText();
    }
    ui->equipmentClass->setCurrentIndex(0);
    ui->testPeriodTime->setValue(0);
    // The last test is the viewed asset's: a new asset has none.
    ui->testPeriodNextTest->setLastTest(QDate(), 0);
    ui->testPeriodNextTest->clear();
    ui->serialNo->clear();
    ui->apConfigSummary->clear();
    m_loading = false;
    AssetTabBase::clear();
}

void AssetDetailsTab::selectLocationPath(int nodeType, int id)
{
    m_loading = true;
    clear();
    int locationId = 0;
    int siteId = 0;
    int clientId = 0;
    switch (nodeType) {
    case AssetTreeLocation:
        locationId = id;
        siteId = scalarInt(QStringLiteral("SELECT SiteId FROM Location WHERE Id=%1").arg(id));
        if (siteId != 0)
            clientId = scalarInt(QStringLiteral("SELECT ClientId FROM Site WHERE Id=%1").arg(siteId));
        break;
    case AssetTreeSite:
        siteId = id;
        clientId = scalarInt(QStringLiteral("SELECT ClientId FROM Site WHERE Id=%1").arg(siteId));
        break;
    case AssetTreeClient:
        clientId = id;
        break;
    default:
        break;
    }
    ui->client->load(clientId);
    ui->site->setSite(siteId, clientId);
    ui->location->setLocation(locationId, siteId);
    m_modified = false;
    setEnabled(true);
    m_loading = false;
}
