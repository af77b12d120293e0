#pragma once

#include <QSet>
#include <QString>

// Makes a saved HTML certificate carry its pictures: every image the page
// names that can be found is copied into an "images" folder beside the file
// and its source rewritten to the copy. Sources that cannot be found (remote,
// missing) or copied (a full disk) stay as they are and are collected for
// one report.
class CertificateImageCopier
{
public:
    // outputPath is the HTML file the text will be written to.
    QString relocate(const QString& html, const QString& outputPath);

    // Every source that could not be found so far, once each.
    QStringList unresolved() const;
    // Every source found but not copied so far, once each.
    QStringList uncopied() const;

private:
    // The copy for source, or an empty text when there is none.
    QString copyOf(const QString& source, const QString& imagesFolder);

    QSet<QString> m_unresolved;
    QSet<QString> m_uncopied;
};
