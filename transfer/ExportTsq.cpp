#include "transfer/ExportTsq.h"

#include "core/DateFormat.h"
#include "database/SqlQuery.h"
#include "ux/CodeTables.h"
#include "ux/TsqEndOfTransfer.h"
#include "ux/TsqMedicalApplianceResult.h"
#include "ux/TsqStartOfTransfer.h"
#include "ux/TsqTestSequenceBlock.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDebug>
#include <QIODevice>

namespace ExportTsq {

namespace {

const QDate uploadDate(1970, 1, 1);
const QString uploadFirmwareVersion = QStringLiteral("3.09");

// Writes record into output, replacing what it held; a record the writer
// refuses leaves output empty. what receives the record's name either way.
template <typename Record>
bool writeRecord(QByteArray* output, Record& record, const QString& name, QString* what)
{
    output->clear();
    if (what)
        *what = name;
    QDataStream out(output, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << record;
    if (out.status() == QDataStream::Ok)
        return true;
    output->clear();
    qWarning().noquote() << "ExportTsq: record too long to be sent:" << name;
    return false;
}

} // namespace

bool writeHeader(QByteArray* output, int recordCount)
{
    Ux::TsqStartOfTransfer record;
    record.numberOfRecords = recordCount;
    record.calibrationDate = uploadDate;
    record.firmwareVersion = uploadFirmwareVersion;
    return writeRecord(output, record, QCoreApplication::translate("ExportTsq", "The transfer header"), nullptr);
}

bool writeAsset(QByteArray* output, int assetId, QString* what)
{
    Ux::TsqMedicalApplianceResult record;
    record.overallResult = Ux::StatusUploaded;
    record.testDate = wallClockDateTime(uploadDate, QTime(0, 0));
    record.testType = 0;
    record.testMode = 0;

    SqlQuery asset(QStringLiteral(
        "SELECT a.Name,a.Description,a.ServiceCode,a.RetestPeriod,l.Name,s.Name,c.Name,e.Manufacturer,"
        "e.Model,e.SerialNo,e.EquipmentClass FROM Asset a LEFT JOIN Location l ON l.Id=a.LocationId "
        "LEFT JOIN Site s ON s.Id=l.SiteId LEFT JOIN Client c ON c.Id=s.ClientId "
        "LEFT JOIN Equipment e ON e.Id=a.EquipmentId WHERE a.Id=:AssetId"));
    asset.bindValue(QStringLiteral(":AssetId"), assetId);
    asset.exec();
    if (asset.next()) {
        record.applianceName = asset.value(0).toString();
        record.applianceDescription = asset.value(1).toString();
        record.serviceCode = asset.value(2).toString();
        record.retestPeriod = quint8(asset.value(3).toInt());
        record.locationName = asset.value(4).toString();
        record.siteName = asset.value(5).toString();
        record.clientName = asset.value(6).toString();
        record.make = asset.value(7).toString();
        record.model = asset.value(8).toString();
        record.serialNo = asset.value(9).toString();
        record.equipmentClass = asset.value(10).toInt();
    }

    SqlQuery parts(QStringLiteral("SELECT Name,ConnectionClass,NumConnections FROM AppliedPart "
                                  "WHERE AssetId=:AssetId ORDER BY Connection"));
    parts.bindValue(QStringLiteral(":AssetId"), assetId);
    parts.exec();
    for (int slot = 0; slot < Ux::TsqMedicalApplianceResult::AppliedPartSlots && parts.next(); ++slot) {
        Ux::TsqAppliedPart& part = record.appliedParts[slot];
        part.name = parts.value(0).toString();
        part.appliedPartClass = parts.value(1).toInt();
        part.numConnections = quint8(parts.value(2).toInt());
    }

    SqlQuery sequence(QStringLiteral("SELECT Name,Data FROM TestSequence WHERE AssetId=:AssetId"));
    sequence.bindValue(QStringLiteral(":AssetId"), assetId);
    sequence.exec();
    if (sequence.next()) {
        record.testSequenceName = sequence.value(0).toString();
        record.testSequenceData = sequence.value(1).toByteArray();
    }

    const QString name = record.applianceName.isEmpty()
                             ? QCoreApplication::translate("ExportTsq", "Asset %1").arg(assetId)
                             : QCoreApplication::translate("ExportTsq", "Asset \"%1\"").arg(record.applianceName);
    return writeRecord(output, record, name, what);
}

bool writeGlobalTestSequence(QByteArray* output, int sequenceId, QString* what)
{
    Ux::TsqTestSequenceBlock record;
    SqlQuery query(QStringLiteral("SELECT Name,EquipmentClass,Data FROM GlobalTestSequence WHERE Id=:Id"));
    query.bindValue(QStringLiteral(":Id"), sequenceId);
    query.exec();
    if (query.next()) {
        record.name = query.value(0).toString();
        record.equipmentClass = quint8(query.value(1).toInt());
        record.data = query.value(2).toByteArray();
    }
    return writeRecord(output, record,
                       QCoreApplication::translate("ExportTsq", "Test sequence \"%1\"").arg(record.name), what);
}

bool writeEnd(QByteArray* output)
{
    Ux::TsqEndOfTransfer record;
    return writeRecord(output, record, QCoreApplication::translate("ExportTsq", "The end record"), nullptr);
}

} // namespace ExportTsq
