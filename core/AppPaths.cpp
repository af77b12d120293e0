#include "core/AppPaths.h"

#include <QDir>
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
