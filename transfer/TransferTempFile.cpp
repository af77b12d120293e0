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
    // Truncating on open waits for the disk while the old contents are still
    // being written out, as they are while the import commits: the file is
    // overwritten in place and cut only when it was longer.
    if (!file.open(QIODevice::ReadWrite)) {
        qDebug() << "Cannot write transfer file" << file.fileName() << ":" << file.errorString();
        return false;
    }
    if (file.write(record) != record.size() || (file.size() > record.size() && !file.resize(record.size()))) {
        qDebug() << "Cannot write transfer file" << file.fileName() << ":" << file.errorString();
        return false;
    }
    return true;
}
