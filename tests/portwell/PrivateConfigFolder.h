#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// Qt's file dialog keeps its state in the user's configuration folder: a test
// process has its own, set in initMain, before the application exists.
inline void usePrivateConfigFolder()
{
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/portwell-test-XXXXXX"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path()));
}
