#pragma once

#include "ux/TsqAppliedPart.h"
#include "ux/TsqHeader.h"

#include <QDateTime>
#include <QString>

namespace Ux {

// One asset with its applied parts, its test sequence and its results.
struct TsqMedicalApplianceResult
{
    enum { AppliedPartSlots = 10 };

    TsqHeader header;
    int overallResult = -1; // result status
    QDateTime testDate;
    quint8 retestPeriod = 0; // months
    int testType = -1;
    int testMode = 0;
    QString applianceName;
    QString siteName;
    QString userName;
    QString testCode;
    QString serviceCode;
    QString locationName;
    QString make;
    QString model;
    QString applianceDescription;
    QString serialNo;
    QString clientName;
    QString comments;
    TsqAppliedPart appliedParts[AppliedPartSlots];
    QString spareStrings;
    QString testSequenceName;
    int equipmentClass = 0;
    QByteArray testSequenceData; // a test-sequence blob
    QByteArray testResultsData;  // result-element records
};

// Writes header and body; the body ends with the end-of-results record 02 FF.
// A block too long for its 16-bit length is refused (status WriteFailed,
// nothing written).
QDataStream& operator<<(QDataStream& stream, TsqMedicalApplianceResult& record);
// Reads the body after the caller has read the header into record.header.
// The results end before a trailing 02 FF, or before the three trailing bytes
// that instruments send. A record whose lengths do not fit the data is
// refused (status ReadCorruptData).
QDataStream& operator>>(QDataStream& stream, TsqMedicalApplianceResult& record);

} // namespace Ux
