#include "core/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString normaliseCommonAppDataFolder(const QString& platformFolder)
{
    QString folder = platformFolder;
    if (folder.isEmpty())
        folder = QDir::tempPath() + QStringLiteral("/qt-common");
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return folder;
}

QString commonAppDataFolder()
{
    static QString cached;
    if (cached.isEmpty())
        cached = normaliseCommonAppDataFolder(
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    return cached;
}

QString dataFolder()
{
    static const QString folder = commonAppDataFolder() + QStringLiteral("/Tavisk/Pelvane V2");
    return folder;
}

QString programFilePath(const QString& name)
{
    if (name.isEmpty() || !QCoreApplication::instance())
        return QString();
    const QString folder = QCoreApplication::applicationDirPath();
    for (const QString& candidate : {folder + QLatin1Char('/') + name,
                                     QDir::cleanPath(folder + QStringLiteral("/../share/pelvane/") + name)})
        if (QFileInfo::exists(candidate))
            return candidate;
    return QString();
}

QString shippedPath(const QString& name)
{
    // The program's own files come first: a desktop launcher or a shell
    // starts it in the home folder, where a stray copy must not stand in for
    // them. The working folder serves a build run from elsewhere.
    if (name.isEmpty() || QDir::isAbsolutePath(name))
        return name;
    const QString found = programFilePath(name);
    return found.isEmpty() ? name : found;
}
