#pragma once

#include <QtGlobal>
#include <QString>

// Echoes every framework message to stderr and to "debug_output.txt" in the
// program data folder (replaced on the first message of each run). Critical
// and fatal messages also open the error dialog; a fatal one ends the program.
void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text);

// Where the log goes; the default is "<dataFolder>/debug_output.txt".
QString logFilePath();

// Installs messageHandler once the program data folder exists, so that a
// first run's log is kept from its first line, and logs where the folder is.
void installMessageHandler();
