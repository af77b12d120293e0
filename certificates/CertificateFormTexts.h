#pragma once

#include <QString>

// What the user typed in the certificate generator, as the fill reads it.
struct CertificateFormTexts
{
    QString headerTitle;
    QString testCompanyName;
    QString testCompanyAddress1;
    QString testCompanyAddress2;
    QString testCompanyAddress3;
    QString testCompanyPostCode;
    QString testCompanyLogo;
    QString clientDetailsName;
    QString clientDetailsAddress1;
    QString clientDetailsAddress2;
    QString clientDetailsAddress3;
    QString clientDetailsPostCode;
    QString testDateFormat;
    QString retestDateFormat;
    QString todaysDateFormat;
    QString signatureImage;
};
