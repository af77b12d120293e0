#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// QtProject.conf, where Qt's file dialogs keep their state, goes to the process's own folder.
inline void usePrivateConfigFolder()
{
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/portwell-test-XXXXXX"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path()));
}
