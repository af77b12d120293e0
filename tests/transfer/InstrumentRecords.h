#pragma once

// Records as an instrument sends them, built with the instrument data
// library's own writers, and small helpers the transfer tests share.

#include "support/SimulatedInstrument.h"
#include "ux/TsqEndOfTransfer.h"
#include "ux/TsqMedicalApplianceResult.h"
#include "ux/TsqStartOfTransfer.h"
#include "ux/TsqTestResultElementResistanceTest.h"
#include "ux/TsqTestSequenceBlock.h"

#include <QDialog>
#include <QFile>
#include <QTimer>
#include <functional>

namespace InstrumentRecords {

template <typename Record>
QByteArray encode(Record& record)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << record;
    return bytes;
}

// count -1 leaves the record count out (the short form).
inline QByteArray header(int count, const QString& serial = QStringLiteral("SN-1001"))
{
    Ux::TsqStartOfTransfer record;
    record.testerType = QStringLiteral("Tavisk Q1");
    record.testerSerialNumber = serial;
    record.numberOfRecords = count;
    record.calibrationDate = QDate(2026, 3, 1);
    record.firmwareVersion = QStringLiteral("2.10");
    return encode(record);
}

struct EarthBond
{
    quint8 status; // 1 pass, 2 fail
    float ohms;
};

// An asset record; no results makes a record without result data.
inline QByteArray asset(const QString& name, const QDateTime& tested, int overall,
                        const QList<EarthBond>& results, const QString& serial = QStringLiteral("S-1"))
{
    Ux::TsqMedicalApplianceResult record;
    record.overallResult = overall;
    record.testDate = tested;
    record.retestPeriod = 12;
    record.testType = 1;
    record.testMode = 2;
    record.applianceName = name;
    record.serialNo = serial;
    record.clientName = QStringLiteral("Harbour Hospital");
    record.siteName = QStringLiteral("East Wing");
    record.locationName = QStringLiteral("Ward 7");
    record.make = QStringLiteral("Medimake");
    record.model = QStringLiteral("M-" ) + name;
    record.applianceDescription = QStringLiteral("Test device");
    record.userName = QStringLiteral("tech");
    record.equipmentClass = 1;
    record.appliedParts[0].numConnections = 2;
    record.appliedParts[0].appliedPartClass = 2;
    record.appliedParts[0].name = QStringLiteral("ECG");
    record.testSequenceName = QStringLiteral("Routine");
    record.testSequenceData = QByteArray::fromHex("0201");
    QDataStream out(&record.testResultsData, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    for (const EarthBond& result : results) {
        Ux::TsqTestResultElementResistanceTest element;
        element.id = 17;
        element.statusByte.value = result.status;
        element.resultValue = result.ohms;
        element.limitValue = 0.2f;
        element.write(out, true);
    }
    return encode(record);
}

inline QByteArray sequence(const QString& name, quint8 equipmentClass, const QByteArray& blob)
{
    Ux::TsqTestSequenceBlock record;
    record.name = name;
    record.equipmentClass = equipmentClass;
    record.data = blob;
    return encode(record);
}

inline QByteArray end()
{
    Ux::TsqEndOfTransfer record;
    return encode(record);
}

inline QByteArray fileContents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline QList<int> ids(const QList<SimulatedInstrument::Seen>& frames)
{
    QList<int> out;
    for (const auto& frame : frames)
        out << frame.id;
    return out;
}

// Runs script once the transfer's modal dialog is up, from inside its event
// loop. A script that leaves the dialog open gets it closed with close, so
// that a failing test ends instead of waiting for a user.
inline void whenShown(QDialog* dialog, std::function<void()> script, std::function<void()> close)
{
    auto* timer = new QTimer(dialog);
    timer->setInterval(1);
    QObject::connect(timer, &QTimer::timeout, dialog, [=] {
        if (!dialog->isVisible())
            return;
        timer->stop();
        script();
        if (dialog->isVisible()) {
            qWarning("The transfer dialog was still open after its script");
            close();
        }
    });
    timer->start();
}

} // namespace InstrumentRecords
