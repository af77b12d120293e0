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

// Where a file or folder that ships with the program is read from, given its
// name relative to the working folder ("Schemas/schema.sqlite.sql",
// "Translations", "ResourceFiles/blank.png"): programFilePath(name) when that
// finds it, otherwise the name unchanged, which the working folder resolves
// and which a message about a missing file names as what was looked for. An
// absolute path is returned as it is.
QString shippedPath(const QString& name);

// The same name looked for from the program's own folder only: beside the
// program (a build folder, an unpacked archive), then in
// "../share/pelvane/" from it (an installed tree, wherever its prefix lies).
// Empty when neither holds it.
QString programFilePath(const QString& name);
