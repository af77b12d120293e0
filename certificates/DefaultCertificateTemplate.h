#pragma once

#include <QString>

// The certificate template that ships with the program, so that a new
// installation can print certificates before anyone has written a template.
class DefaultCertificateTemplate
{
public:
    static QString folderName() { return QStringLiteral("_default (en)"); }
    // The shipped template text.
    static QByteArray text();
    // Writes the shipped template into templatesFolder when no sub-folder
    // there holds a template; a folder the user keeps is never touched.
    // True when a template was written.
    static bool installIfEmpty(const QString& templatesFolder);
};
