#pragma once

#include <QString>

// What a server back-end needs to connect, as the connection dialog and the
// settings keep it.
struct ConnectionSettings
{
    QString host;
    QString databaseName;
    QString userName;
    QString password;
    bool create = false;
    // SQL Server only: log in with the user's own account; user name and
    // password are then not sent.
    bool integratedSecurity = false;
    // Seconds every connection attempt waits for the server (the connect,
    // the login, the first answer) before it gives up: a wrong or stuck
    // host holds the window no longer than this.
    int timeout = 15;
};
