#pragma once

// Records as an instrument sends them and small helpers that the download and
// upload tests share; the records come from the import tests' builder.

#include "TsqRecordBuilder.h"
#include "support/SimulatedInstrument.h"

#include <QDialog>
#include <QFile>
#include <QTimer>
#include <functional>

namespace InstrumentRecords {

// count -1 leaves the record count out (the short form).
inline QByteArray header(int count, const QString& serial = QStringLiteral("SN-1001"))
{
    return TsqRecordBuilder::header(QStringLiteral("Tavisk Q1"), serial, count);
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
    std::vector<TsqRecordBuilder::Element> elements;
    for (const EarthBond& result : results)
        elements.push_back(TsqRecordBuilder::resistance(17, result.ohms, 0.2f, result.status));
    record.testResultsData = TsqRecordBuilder::resultsData(elements);
    return TsqRecordBuilder::bytes(record);
}

inline QByteArray sequence(const QString& name, quint8 equipmentClass, const QByteArray& blob)
{
    return TsqRecordBuilder::globalSequence(name, equipmentClass, blob);
}

inline QByteArray end()
{
    return TsqRecordBuilder::end();
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
