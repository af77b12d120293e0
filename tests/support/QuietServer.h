#pragma once

#include <QByteArray>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

// A loopback server that takes every connection and then says nothing, or
// answers reply once and nothing more, keeping the line open: a wrong or
// stuck host as a client meets it. It hangs up on each connection
// hangUpAfterMs after taking it, as such hosts do in the end, so that a
// client that would wait for ever still lets its test end.
class QuietServer
{
public:
    explicit QuietServer(const QByteArray& reply = {}, int hangUpAfterMs = 60000);
    ~QuietServer();
    QuietServer(const QuietServer&) = delete;
    QuietServer& operator=(const QuietServer&) = delete;

    quint16 port() const { return m_port; }
    int accepted() const { return m_accepted; }
    // Every byte the clients sent, in the order they came.
    QByteArray received();

    // A data-driven test's column "reply" with both kinds of host: silent,
    // and one that answers nonsense.
    static void addReplyRows();

private:
    void run(const QByteArray& reply, int hangUpAfterMs);

    int m_listener = -1;
    quint16 m_port = 0;
    std::thread m_thread;
    std::mutex m_mutex;
    QByteArray m_received;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_accepted{0};
};
