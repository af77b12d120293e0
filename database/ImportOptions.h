#pragma once

class Database;
class QWidget;

// What the main window hands to a first-version import. It outlives the
// worker: the caller keeps it until the progress dialog has closed.
struct ImportOptions
{
    QWidget* owner = nullptr;
    Database* legacyDatabase = nullptr;
    Database* targetDatabase = nullptr;
    bool importAssets = true;
    bool importResults = true;
    bool importTestSequences = false;
};
