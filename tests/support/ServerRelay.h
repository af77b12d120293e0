#pragma once

#include "database/ConnectionSettings.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

// Stands between the program and the test MariaDB server, which is shared
// with the other tests and so never stopped itself: the program reaches the
// server through this relay, which can freeze (keep the connection, pass
// nothing on) or cut every connection, as a stopped server would.
class ServerRelay
{
public:
    ServerRelay();
    ~ServerRelay();
    ServerRelay(const ServerRelay&) = delete;
    ServerRelay& operator=(const ServerRelay&) = delete;

    bool isValid() const { return m_listener >= 0; }
    // Holds every byte from now on, in both directions, as a stopped server would.
    void freeze() { m_frozen = true; }
    // Closes every relayed connection, as a server that went away.
    void cut();
    // Cuts the connection that sends marker once it has passed it on: the
    // server has what was sent, the program never hears its answer.
    void cutAfter(const QByteArray& marker);
    // Holds each piece this long before passing it on, each way: round trips of twice that.
    void delay(int microseconds) { m_delay = microseconds; }

    // The relay's address: the server's own port on another loopback
    // address, so that the client library's default port leads here.
    static QByteArray host();
    // The test login's settings for databaseName, through the relay.
    static ConnectionSettings settings(const QString& databaseName);

private:
    struct Pair
    {
        int client;
        int server;
    };

    void run();
    void accept();

    int m_listener = -1;
    std::thread m_thread;
    std::mutex m_mutex;
    std::vector<Pair> m_pairs;
    QByteArray m_cutAfter;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_frozen{false};
    std::atomic<int> m_delay{0};
};
