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
    // The working folder comes first, as it always has; but a desktop
    // launcher or a shell in the home folder starts the program away from
    // the folder it lies in, and the shipped files are there.
    if (name.isEmpty() || QDir::isAbsolutePath(name) || QFileInfo::exists(name))
        return name;
    const QString found = programFilePath(name);
    return found.isEmpty() ? name : found;
}
