#pragma once

// Records for the transfer tests, built with the instrument data library's
// own writers.

#include "ux/TsqEndOfTransfer.h"
#include "ux/TsqMedicalApplianceResult.h"
#include "ux/TsqStartOfTransfer.h"
#include "ux/TsqTestResultElementApApLeakageTest.h"
#include "ux/TsqTestResultElementInsulationTest.h"
#include "ux/TsqTestResultElementLeakageTest.h"
#include "ux/TsqTestResultElementResistanceTest.h"
#include "ux/TsqTestResultElementUserTest.h"
#include "ux/TsqTestResultElementVisualTest.h"
#include "ux/TsqTestSequence.h"
#include "ux/TsqTestSequenceBlock.h"
#include "ux/TsqTestSequenceElement.h"

#include <QDataStream>
#include <QIODevice>
#include <memory>
#include <vector>

namespace TsqRecordBuilder {

template <typename Record>
inline QByteArray bytes(Record& record)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    stream << record;
    return out;
}

// Status byte of a result: status 1 pass, 2 fail, 4 info; relation -1 none,
// 0 less-than, 1 greater-than; acDc 0 combined, 1 AC, 2 DC.
inline quint8 statusByte(int status, int relation = -1, int acDc = 0)
{
    return quint8((status == 4 ? 0 : status) | ((relation + 1) << 4) | (acDc << 6));
}

using Element = std::unique_ptr<Ux::TsqTestResultElement>;

template <typename Kind>
inline std::unique_ptr<Kind> element(quint8 id, float result, float limit, quint8 status)
{
    auto e = std::make_unique<Kind>();
    e->id = id;
    e->resultValue = result;
    e->limitValue = limit;
    e->statusByte.value = status;
    return e;
}

inline Element resistance(quint8 id, float result, float limit, int status = 1, int relation = -1)
{
    if (id >= 32)
        return element<Ux::TsqTestResultElementInsulationTest>(id, result, limit, statusByte(status, relation));
    return element<Ux::TsqTestResultElementResistanceTest>(id, result, limit, statusByte(status, relation));
}

inline Element leakage(quint8 id, float result, float limit, int status = 1, int acDc = 0,
                       quint8 conditions = 0)
{
    auto e = element<Ux::TsqTestResultElementLeakageTest>(id, result, limit, statusByte(status, -1, acDc));
    e->conditionByte.conditions = conditions;
    return e;
}

inline Element patientAuxLeakage(float result, float limit, quint8 conditions, quint8 auxClass)
{
    auto e = element<Ux::TsqTestResultElementApApLeakageTest>(113, result, limit, statusByte(1));
    e->conditionByte.conditions = conditions;
    e->conditionByte2.value = quint8(auxClass << 4);
    return e;
}

inline Element visual(int status)
{
    auto e = std::make_unique<Ux::TsqTestResultElementVisualTest>();
    e->statusByte.value = statusByte(status);
    return e;
}

inline Element userTest(const QString& name, const QString& units, float result, int status = 4)
{
    auto e = std::make_unique<Ux::TsqTestResultElementUserTest>();
    e->name = name;
    e->units = units;
    e->resultValue = result;
    e->statusByte.value = statusByte(status);
    return e;
}

inline QByteArray resultsData(const std::vector<Element>& elements)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::LittleEndian);
    for (const Element& e : elements)
        e->write(stream, true);
    return out;
}

// A sequence blob of default elements for the given ids.
inline QByteArray sequenceData(std::initializer_list<quint8> ids)
{
    Ux::TsqTestSequence sequence;
    for (quint8 id : ids)
        sequence.append(Ux::TsqTestSequenceElement::create(id));
    const QByteArray out = bytes(sequence);
    qDeleteAll(sequence);
    return out;
}

inline QByteArray header(const QString& testerType, const QString& serial, int count = 3)
{
    Ux::TsqStartOfTransfer record;
    record.testerType = testerType;
    record.testerSerialNumber = serial;
    record.numberOfRecords = count;
    record.calibrationDate = QDate(2025, 6, 1);
    record.firmwareVersion = QStringLiteral("4.01");
    return bytes(record);
}

inline QByteArray end()
{
    Ux::TsqEndOfTransfer record;
    return bytes(record);
}

inline QByteArray globalSequence(const QString& name, quint8 equipmentClass, const QByteArray& data)
{
    Ux::TsqTestSequenceBlock record;
    record.name = name;
    record.equipmentClass = equipmentClass;
    record.data = data;
    return bytes(record);
}

// An asset record with two applied parts, a sequence and no results.
inline Ux::TsqMedicalApplianceResult asset(const QString& name, const QString& serialNo)
{
    Ux::TsqMedicalApplianceResult r;
    r.overallResult = 1;
    r.testDate = QDateTime(QDate(2026, 2, 3), QTime(10, 20, 30));
    r.retestPeriod = 12;
    r.testType = 2;
    r.testMode = 1;
    r.applianceName = name;
    r.serialNo = serialNo;
    r.siteName = QStringLiteral("North");
    r.locationName = QStringLiteral("Ward 3");
    r.clientName = QStringLiteral("Clinic");
    r.userName = QStringLiteral("JS");
    r.serviceCode = QStringLiteral("SC-9");
    r.make = QStringLiteral("Infusa");
    r.model = QStringLiteral("P200");
    r.applianceDescription = QStringLiteral("Infusion pump");
    r.comments = QStringLiteral("ok");
    r.appliedParts[0] = {2, 2, QStringLiteral("ECG")};
    r.appliedParts[1] = {1, 3, QStringLiteral("Probe")};
    r.testSequenceName = QStringLiteral("Pump sequence");
    r.equipmentClass = 1;
    r.testSequenceData = sequenceData({17, 32, 48});
    return r;
}

} // namespace TsqRecordBuilder
