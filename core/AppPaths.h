#pragma once

#include <QString>

// The shared data folder of the platform, with forward slashes only. Cached on
// first use; the first call happens on the GUI thread during start-up.
QString commonAppDataFolder();

// "<common data folder>/Tavisk/Pelvane V2". Not created here.
QString dataFolder();

// What commonAppDataFolder() makes of the platform's answer: an empty answer
// falls back to a folder under the temporary directory, back slashes become
// forward slashes.
QString normaliseCommonAppDataFolder(const QString& platformFolder);
