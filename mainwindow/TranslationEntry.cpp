#include "mainwindow/TranslationEntry.h"

#include "core/AppPaths.h"
#include "mainwindow/MainWindow.h"

#include <QDir>

QList<std::shared_ptr<TranslationEntry>> listTranslations(const QString& folder)
{
    QList<std::shared_ptr<TranslationEntry>> entries;
    const QDir dir(shippedPath(folder), QStringLiteral("*.qm"), QDir::Name | QDir::IgnoreCase, QDir::Files);
    for (const QString& name : dir.entryList()) {
        auto entry = std::make_shared<TranslationEntry>();
        entry->path = folder + QLatin1Char('/') + name;
        entry->locale = QLocale(MainWindow::languageCode(entry->path));
        entries.append(entry);
    }
    return entries;
}

QString translationsFolder()
{
    return QStringLiteral("Translations");
}
