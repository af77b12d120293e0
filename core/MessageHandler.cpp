#include "core/MessageHandler.h"

#include "core/AppPaths.h"
#include "core/Error.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <cstdio>

QString logFilePath()
{
    return dataFolder() + QStringLiteral("/debug_output.txt");
}

void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    Q_UNUSED(context);
    static QMutex lock;
    static QFile* logFile = nullptr;

    const QByteArray bytes = text.toLocal8Bit();
    {
        QMutexLocker locker(&lock);
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
        std::fputs("\r\n", stderr);

        if (!logFile)
            logFile = new QFile(logFilePath());
        if (!logFile->isOpen()) {
            // The first message may come before anything else made the folder.
            QDir().mkpath(QFileInfo(logFile->fileName()).absolutePath());
            logFile->open(QIODevice::WriteOnly);
        }
        if (logFile->isOpen()) {
            switch (type) {
            case QtWarningMsg: logFile->write("WARNING: "); break;
            case QtCriticalMsg: logFile->write("CRITICAL: "); break;
            case QtFatalMsg: logFile->write("FATAL: "); break;
            default: break;
            }
            logFile->write(bytes);
            logFile->write("\r\n");
            logFile->flush();
        }
    }

    if (type == QtCriticalMsg)
        Error::showDialog(text, ErrorCritical);
    else if (type == QtFatalMsg)
        Error::showDialog(text, ErrorFatal);
}

void installMessageHandler()
{
    const bool made = QDir().mkpath(dataFolder());
    qInstallMessageHandler(messageHandler);
    qDebug().noquote() << (made ? QStringLiteral("Program data folder: ")
                                : QStringLiteral("Program data folder could not be created: "))
                              + QDir::toNativeSeparators(dataFolder());
}
