#include "transfer/TransferTempFile.h"

#include "core/AppPaths.h"

#include <QDebug>
#include <QDir>
#include <QFile>

QString TransferTempFile::folder()
{
    return dataFolder() + QStringLiteral("/TempFiles");
}

bool TransferTempFile::makeFolder()
{
    if (QDir().mkpath(folder()))
        return true;
    qDebug() << "Cannot create the folder for transfer files:" << folder();
    return false;
}

QString TransferTempFile::path(const QString& kind, quint8 packetId)
{
    return QStringLiteral("%1/%2%3.tsq").arg(folder(), kind).arg(packetId, 3, 10, QLatin1Char('0'));
}

bool TransferTempFile::write(const QString& kind, quint8 packetId, const QByteArray& record)
{
    QFile file(path(kind, packetId));
    if (!file.open(QIODevice::WriteOnly)) {
        qDebug() << "Cannot write transfer file" << file.fileName() << ":" << file.errorString();
        return false;
    }
    if (file.write(record) != record.size()) {
        qDebug() << "Cannot write transfer file" << file.fileName() << ":" << file.errorString();
        return false;
    }
    return true;
}
