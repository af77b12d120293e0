#pragma once

#include <QString>

// The marker names that the program fills, shared by the fill and the
// generator's edit slots. APPLIEDPART and TESTRESULT are repeat blocks; the
// names after each belong inside it. TEST_EQUIPMENT is a block shown once or
// not at all.
namespace CertificateFields {

inline const QString HeaderTitle = QStringLiteral("HEADER_TITLE");
inline const QString TestCompanyName = QStringLiteral("TEST_COMPANY_NAME");
inline const QString TestCompanyAddress1 = QStringLiteral("TEST_COMPANY_ADDRESS1");
inline const QString TestCompanyAddress2 = QStringLiteral("TEST_COMPANY_ADDRESS2");
inline const QString TestCompanyAddress3 = QStringLiteral("TEST_COMPANY_ADDRESS3");
inline const QString TestCompanyPostCode = QStringLiteral("TEST_COMPANY_POSTCODE");
inline const QString TestCompanyLogo = QStringLiteral("TEST_COMPANY_LOGO");
inline const QString ClientDetailsName = QStringLiteral("CLIENT_DETAILS_NAME");
inline const QString ClientDetailsAddress1 = QStringLiteral("CLIENT_DETAILS_ADDRESS1");
inline const QString ClientDetailsAddress2 = QStringLiteral("CLIENT_DETAILS_ADDRESS2");
inline const QString ClientDetailsAddress3 = QStringLiteral("CLIENT_DETAILS_ADDRESS3");
inline const QString ClientDetailsPostCode = QStringLiteral("CLIENT_DETAILS_POSTCODE");
inline const QString AssetDetailsName = QStringLiteral("ASSET_DETAILS_NAME");
inline const QString AssetDetailsLocation = QStringLiteral("ASSET_DETAILS_LOCATION");
inline const QString AssetDetailsSite = QStringLiteral("ASSET_DETAILS_SITE");
inline const QString AssetDetailsClient = QStringLiteral("ASSET_DETAILS_CLIENT");
inline const QString AssetDetailsSerialNo = QStringLiteral("ASSET_DETAILS_SERIALNO");
// Part of the vocabulary of older templates; the fill leaves it empty.
inline const QString AssetDetailsAppliedParts = QStringLiteral("ASSET_DETAILS_APPLIEDPARTS");
inline const QString AssetDetailsManufacturer = QStringLiteral("ASSET_DETAILS_MANUFACTURER");
inline const QString AssetDetailsDescription = QStringLiteral("ASSET_DETAILS_DESCRIPTION");
inline const QString AssetDetailsModel = QStringLiteral("ASSET_DETAILS_MODEL");
inline const QString TestDate = QStringLiteral("TEST_DATE");
inline const QString RetestDate = QStringLiteral("RETEST_DATE");
inline const QString TestInterval = QStringLiteral("TEST_INTERVAL");
// A block round what tells the test instrument, left out whole when the
// asset has no result set: the text between the values would stand alone.
inline const QString TestEquipment = QStringLiteral("TEST_EQUIPMENT");
inline const QString TestEquipmentProtocol = QStringLiteral("TEST_EQUIPMENT_PROTOCOL");
inline const QString TestEquipmentModel = QStringLiteral("TEST_EQUIPMENT_MODEL");
inline const QString TestEquipmentSerialNo = QStringLiteral("TEST_EQUIPMENT_SERIALNO");
inline const QString TestSequenceName = QStringLiteral("TEST_SEQUENCE_NAME");
inline const QString OverallStatus = QStringLiteral("OVERALL_STATUS");
inline const QString OverallStatusClass = QStringLiteral("OVERALL_STATUSCLASS");
inline const QString AppliedPart = QStringLiteral("APPLIEDPART");
inline const QString AppliedPartName = QStringLiteral("APPLIEDPART_NAME");
inline const QString AppliedPartClass = QStringLiteral("APPLIEDPART_CLASS");
inline const QString AppliedPartConnections = QStringLiteral("APPLIEDPART_CONNECTIONS");
inline const QString TestResult = QStringLiteral("TESTRESULT");
inline const QString TestResultTest = QStringLiteral("TESTRESULT_TEST");
inline const QString TestResultMains = QStringLiteral("TESTRESULT_MAINS");
inline const QString TestResultSfc = QStringLiteral("TESTRESULT_SFC");
inline const QString TestResultApConnection = QStringLiteral("TESTRESULT_APCONNECTION");
inline const QString TestResultLimit = QStringLiteral("TESTRESULT_LIMIT");
inline const QString TestResultResult = QStringLiteral("TESTRESULT_RESULT");
inline const QString TestResultUnits = QStringLiteral("TESTRESULT_UNITS");
inline const QString TestResultStatus = QStringLiteral("TESTRESULT_STATUS");
inline const QString TesterComments = QStringLiteral("TESTER_COMMENTS");
inline const QString TesterSignatureName = QStringLiteral("TESTER_SIGNATURE_NAME");
inline const QString TesterSignatureImage = QStringLiteral("TESTER_SIGNATURE_IMAGE");
inline const QString TesterSignatureDate = QStringLiteral("TESTER_SIGNATURE_DATE");

// Shown in place of a logo or signature whose file cannot be found, and at
// the foot of every page; shipped in ResourceFiles beside the program and
// found as CertificateFill::shippedPicture says.
inline const QString BlankImage = QStringLiteral("ResourceFiles/blank.png");
inline const QString FooterImage = QStringLiteral("ResourceFiles/tavisk.jpg");

} // namespace CertificateFields
