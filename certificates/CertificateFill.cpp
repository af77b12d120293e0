#include "certificates/CertificateFill.h"

#include "certificates/CertificateFields.h"
#include "certificates/CertificateTemplate.h"
#include "core/AppPaths.h"
#include "core/DateFormat.h"
#include "database/ColumnText.h"
#include "database/SqlQuery.h"
#include "results/ResultFormat.h"
#include "ux/InstrumentTypeString.h"
#include "ux/MainsPolarityString.h"
#include "ux/PatientConnectionTypeString.h"
#include "ux/SingleFaultConditionString.h"
#include "ux/StatusString.h"
#include "ux/TestModeString.h"
#include "ux/TsqTestElementDetails.h"

#include <QFileInfo>
#include <QUrl>
#include <cmath>

namespace F = CertificateFields;

namespace {
const int kUserTest = 253;

QDate dateOf(const QVariant& value)
{
    return dateTimeFromVariant(value).date();
}
} // namespace

QString CertificateFill::escape(const QString& text)
{
    return text.toHtmlEscaped();
}

QString CertificateFill::imageOrBlank(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile() ? path : shippedPicture(F::BlankImage);
}

QString CertificateFill::shippedPicture(const QString& name)
{
    const QString path = shippedPath(name);
    return path == name ? name : QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

QString CertificateFill::formatValue(const QLocale& locale, int testId, double value)
{
    if (!std::isfinite(value))
        return QString();
    const Ux::TsqTestElementDetail* row = Ux::TsqTestElementDetails::instance()->details(quint8(testId));
    if (testId < 0 || testId > 255)
        row = nullptr;
    // A test the catalogue does not know is shown like a user test, so that
    // its value is not lost from the certificate.
    if (row && row->valueWidth == 0)
        return QString();
    const int decimals = (!row || testId == kUserTest) ? decimalsForValue(float(value)) : row->decimals;
    if (decimals == 0) {
        // Formatted as a double: a 64-bit integer cannot hold 2^63 and beyond.
        // Adding zero turns a negative zero from truncation into zero.
        return locale.toString(std::trunc(value) + 0.0, 'f', 0);
    }
    return locale.toString(value, 'f', decimals);
}

CertificateFill::Dates CertificateFill::fill(CertificateTemplate& target, int assetId,
                                             const CertificateFormTexts& texts, const QDate& today)
{
    const QLocale locale;
    target.setValue(F::HeaderTitle, escape(texts.headerTitle));
    target.setValue(F::TestCompanyName, escape(texts.testCompanyName));
    target.setValue(F::TestCompanyAddress1, escape(texts.testCompanyAddress1));
    target.setValue(F::TestCompanyAddress2, escape(texts.testCompanyAddress2));
    target.setValue(F::TestCompanyAddress3, escape(texts.testCompanyAddress3));
    target.setValue(F::TestCompanyPostCode, escape(texts.testCompanyPostCode));
    target.setValue(F::ClientDetailsName, escape(texts.clientDetailsName));
    target.setValue(F::ClientDetailsAddress1, escape(texts.clientDetailsAddress1));
    target.setValue(F::ClientDetailsAddress2, escape(texts.clientDetailsAddress2));
    target.setValue(F::ClientDetailsAddress3, escape(texts.clientDetailsAddress3));
    target.setValue(F::ClientDetailsPostCode, escape(texts.clientDetailsPostCode));
    target.setValue(F::TesterSignatureDate, escape(locale.toString(today, texts.todaysDateFormat)));
    target.setValue(F::TestCompanyLogo, escape(imageOrBlank(texts.testCompanyLogo)));
    target.setValue(F::TesterSignatureImage, escape(imageOrBlank(texts.signatureImage)));

    Dates dates;
    int resultSetId = 0;
    SqlQuery asset;
    asset.prepare(QStringLiteral(
        "SELECT a.Name,a.Description,a.SerialNo,a.LatestResultSetId,a.RetestPeriod,a.RetestDate,\t\t\t\t\t  "
        "l.Name,s.Name,c.Name,\t\t\t\t\t  e.Manufacturer,e.Model,e.SerialNo, \t\t\t\t\t  "
        "rs.Date,rs.OverallResult,rs.UserName,rs.Comments \t\t\t\t\t  FROM Asset a \t\t\t\t\t  "
        "LEFT JOIN Location l ON l.Id=a.LocationId \t\t\t\t\t  LEFT JOIN Site s ON s.Id=l.SiteId \t\t\t\t\t  "
        "LEFT JOIN Client c ON c.Id=s.ClientId \t\t\t\t\t  LEFT JOIN Equipment e ON e.Id=a.EquipmentId \t\t\t\t\t  "
        "LEFT JOIN ResultSet rs ON rs.Id=a.LatestResultSetId \t\t\t\t\t  WHERE a.Id=:AssetId"));
    asset.bindValue(QStringLiteral(":AssetId"), assetId);
    asset.exec();
    if (asset.next()) {
        auto text = [&](int column) { return escape(ColumnText::of(asset.value(column))); };
        dates.testDate = dateOf(asset.value(12));
        dates.retestDate = dateOf(asset.value(5));
        target.setValue(F::AssetDetailsName, text(0));
        target.setValue(F::AssetDetailsDescription, text(1));
        target.setValue(F::AssetDetailsLocation, text(6));
        target.setValue(F::AssetDetailsSite, text(7));
        target.setValue(F::AssetDetailsClient, text(8));
        target.setValue(F::AssetDetailsManufacturer, text(9));
        target.setValue(F::AssetDetailsModel, text(10));
        target.setValue(F::AssetDetailsSerialNo, text(11));
        target.setValue(F::RetestDate, escape(dates.retestDate.toString(texts.retestDateFormat)));
        target.setValue(F::TestDate, escape(locale.toString(dates.testDate, texts.testDateFormat)));
        target.setValue(F::TestInterval, text(4));
        target.setValue(F::TesterComments, text(15));
        target.setValue(F::TesterSignatureName, text(14));
        // An asset never tested has no status at all (0 would read "Deleted"):
        // both markers stay empty.
        if (!asset.value(13).isNull()) {
            const int overall = asset.value(13).toInt();
            target.setValue(F::OverallStatus, escape(Ux::StatusString::toString(overall)));
            // An alert is a pass whose values drifted: the certificate still passes.
            target.setValue(F::OverallStatusClass,
                            overall == 1 || overall == 5 ? QStringLiteral("pass") : QStringLiteral("fail"));
        }
        resultSetId = asset.value(3).toInt();
    }

    SqlQuery sequence;
    sequence.prepare(QStringLiteral("SELECT Name FROM TestSequence WHERE AssetId=:AssetId"));
    sequence.bindValue(QStringLiteral(":AssetId"), assetId);
    sequence.exec();
    if (sequence.next())
        target.setValue(F::TestSequenceName, escape(ColumnText::of(sequence.value(0))));

    if (target.findSection(F::AppliedPart))
        fillAppliedParts(target, assetId);

    SqlQuery instrument;
    instrument.prepare(QStringLiteral("SELECT i.InstrumentType,i.SerialNo,rs.TestMode \t\t\t\t\t   "
                                      "FROM ResultSet rs \t\t\t\t\t   "
                                      "LEFT JOIN Instrument i ON i.Id=rs.InstrumentId \t\t\t\t\t   "
                                      "WHERE rs.Id=:ResultSetId"));
    instrument.bindValue(QStringLiteral(":ResultSetId"), resultSetId);
    instrument.exec();
    CertificateSection* equipment = target.findSection(F::TestEquipment);
    if (instrument.next()) {
        for (CertificateSection* parent : {target.root(), equipment}) {
            if (!parent)
                continue;
            target.setValue(F::TestEquipmentModel,
                            escape(Ux::InstrumentTypeString::toString(instrument.value(0).toInt())), parent);
            target.setValue(F::TestEquipmentSerialNo, escape(ColumnText::of(instrument.value(1))), parent);
            target.setValue(F::TestEquipmentProtocol,
                            escape(Ux::TestModeString::toString(instrument.value(2).toInt())), parent);
        }
    } else if (equipment) {
        equipment->children.clear();
    }

    if (target.findSection(F::TestResult))
        fillResults(target, resultSetId);
    return dates;
}

CertificateSection* CertificateFill::rowSection(CertificateTemplate& target, CertificateSection* previous,
                                                const QString& name)
{
    std::unique_ptr<CertificateSection> copy = CertificateTemplate::cloneSection(*previous);
    copy->name = name;
    // The text before the block belongs to the first row only.
    copy->prefix.clear();
    return target.insertSectionAfter(std::move(copy), nullptr, previous);
}

void CertificateFill::fillAppliedParts(CertificateTemplate& target, int assetId)
{
    SqlQuery parts;
    parts.prepare(QStringLiteral("SELECT Id,Name,ConnectionClass,NumConnections \t\t\t\t\t\t   "
                                 "FROM AppliedPart \t\t\t\t\t\t   WHERE AssetId=:AssetId \t\t\t\t\t\t   "
                                 "ORDER BY Connection ASC"));
    parts.bindValue(QStringLiteral(":AssetId"), assetId);
    parts.exec();
    CertificateSection* section = nullptr;
    int connection = 1;
    while (parts.next()) {
        section = section ? rowSection(target, section, QStringLiteral("APPLIEDPART_%1").arg(parts.value(0).toInt()))
                          : target.findSection(F::AppliedPart);
        const int count = parts.value(3).toInt();
        QString connections;
        if (count == 0)
            connections = QStringLiteral("-");
        else if (count < 2)
            connections = QString::number(connection);
        else
            connections = QStringLiteral("%1-%2").arg(connection).arg(connection + count - 1);
        target.setValue(F::AppliedPartName, escape(ColumnText::of(parts.value(1))), section);
        target.setValue(F::AppliedPartClass,
                        escape(Ux::PatientConnectionTypeString::toString(parts.value(2).toInt(), false)), section);
        target.setValue(F::AppliedPartConnections, connections, section);
        connection += count;
    }
}

void CertificateFill::fillResults(CertificateTemplate& target, int resultSetId)
{
    const QLocale locale;
    SqlQuery results;
    results.prepare(QStringLiteral(
        "SELECT r.Id,r.TestId,r.Status,r.ResultLimit,r.Result,r.ResultACDC,r.ResultGreaterThan,\t\t\t\t\t\t   "
        "r.SingleFaultCondition,r.MainsPolarity,r.PatientConnection,r.PatientAuxConnection,\t\t\t\t\t\t   "
        "r.CustomName,r.CustomUnits \t\t\t\t\t\t   FROM Result r \t\t\t\t\t\t   "
        "LEFT JOIN ResultSet rs ON r.ResultSetId=rs.Id \t\t\t\t\t\t   WHERE r.ResultSetId=:ResultSetId"));
    results.bindValue(QStringLiteral(":ResultSetId"), resultSetId);
    results.exec();
    CertificateSection* section = nullptr;
    while (results.next()) {
        section = section ? rowSection(target, section, QStringLiteral("RESULT_%1").arg(results.value(0).toInt()))
                          : target.findSection(F::TestResult);
        const int testId = results.value(1).toInt();
        const bool userTest = testId == kUserTest;
        const Ux::TsqTestElementDetail* row =
            testId >= 0 && testId <= 255 ? Ux::TsqTestElementDetails::instance()->details(quint8(testId)) : nullptr;

        target.setValue(F::TestResultLimit,
                        userTest ? QString() : escape(formatValue(locale, testId, results.value(3).toDouble())),
                        section);
        QString name;
        if (userTest)
            name = ColumnText::of(results.value(11));
        else if (row)
            name = row->name;
        else
            name = tr("Test %1", "Name of a test whose kind this program does not know").arg(testId);
        target.setValue(F::TestResultTest, escape(name), section);
        const QVariant polarity = results.value(8);
        target.setValue(F::TestResultMains,
                        polarity.isNull() ? QStringLiteral(" - ")
                                          : escape(Ux::MainsPolarityString::toString(polarity.toInt())),
                        section);
        target.setValue(F::TestResultSfc, escape(Ux::SingleFaultConditionString::toString(results.value(7).toInt())),
                        section);
        target.setValue(F::TestResultApConnection, escape(ColumnText::of(results.value(9))), section);

        QString value = escape(formatValue(locale, testId, results.value(4).toDouble()));
        const QVariant greater = results.value(6);
        if (!greater.isNull() && !value.isEmpty())
            value.prepend(greater.toBool() ? QStringLiteral("&gt;") : QStringLiteral("&lt;"));
        target.setValue(F::TestResultResult, value, section);

        QString units = ColumnText::of(results.value(12));
        if (units.isEmpty() && row)
            units = row->units;
        target.setValue(F::TestResultUnits, escape(units), section);
        target.setValue(F::TestResultStatus, escape(Ux::StatusString::toString(results.value(2).toInt())), section);
    }
}
