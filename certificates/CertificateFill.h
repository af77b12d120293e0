#pragma once

#include "certificates/CertificateFormTexts.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>
#include <QString>

class CertificateSection;
class CertificateTemplate;

// Writes into a loaded template the generator's texts and the data of one
// asset: its details, applied parts, latest result set, instrument and
// results. Every text taken from the user or the database is HTML-escaped;
// only the program's own markup reaches the page as markup.
class CertificateFill
{
    Q_DECLARE_TR_FUNCTIONS(CertificateFill)
public:
    struct Dates
    {
        QDate testDate;
        QDate retestDate;
    };

    // today is the day the generator opened. Gives the asset's test and
    // retest dates (null when it has none).
    static Dates fill(CertificateTemplate& target, int assetId, const CertificateFormTexts& texts,
                      const QDate& today);

    // A limit or a measured value of a test, in locale; empty for a test
    // without a numeric value and for a value that is not a finite number.
    static QString formatValue(const QLocale& locale, int testId, double value);

    // path when a file of that name exists, else the blank image.
    static QString imageOrBlank(const QString& path);
    // The picture source for one of the shipped pictures: its name when the
    // working folder holds it, else a file URL of the copy beside the
    // program (a URL, so that any character of that folder's path survives).
    static QString shippedPicture(const QString& name);
    static QString escape(const QString& text);

private:
    static void fillAppliedParts(CertificateTemplate& target, int assetId);
    static void fillResults(CertificateTemplate& target, int resultSetId);
    // The section for row n of a repeat block: the block itself for the
    // first row, else a copy of the previous row's section inserted after it.
    static CertificateSection* rowSection(CertificateTemplate& target, CertificateSection* previous,
                                          const QString& name);
};
