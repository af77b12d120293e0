#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <memory>

// One compiled translation file found in the translations folder.
struct TranslationEntry
{
    QLocale locale;
    QString path;  // as listed, folder included: "Translations/pelvane_de.qm"

    // The language's English name, as the language menu and dialog show it.
    QString languageName() const { return QLocale::languageToString(locale.language()); }
};

// Every "*.qm" file of folder (looked for where shippedPath says), in the
// listing's name order, each named as folder + "/" + its name wherever it was
// found, so that a stored choice holds wherever the program is started from;
// the language comes from the two letters before ".qm".
QList<std::shared_ptr<TranslationEntry>> listTranslations(const QString& folder);

// The folder, relative to the working folder or else to the program's, that
// the program reads its translations from.
QString translationsFolder();
