#pragma once

#include "database/ConnectionSettings.h"
#include "database/Database.h"

// What the SQL Server and MySQL back-ends share: the connection settings
// that they were connected with and that the settings store keeps.
class ServerDatabase : public Database
{
    Q_OBJECT
public:
    explicit ServerDatabase(int type) : Database(type) {}

    const ConnectionSettings& connectionSettings() const { return m_settings; }

    // Reconnects to the server database the settings name; null on failure
    // (the back-end has reported it).
    static Database* connectFromSettings(int type, const ConnectionSettings& settings);

protected:
    ConnectionSettings m_settings;
};
