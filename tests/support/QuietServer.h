#pragma once

#include <QByteArray>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

// A loopback host that takes each connection and says nothing, or answers reply once and
// nothing more: a wrong or stuck host. It hangs up after hangUpMs of the client's silence,
// as such hosts do in the end, so that a client that would wait for ever still ends.
class QuietServer
{
public:
    QuietServer(const QByteArray& reply, int hangUpMs)
    {
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t length = sizeof(address);
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(m_listener, 8);
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        m_thread = std::thread([this, reply, hangUpMs] {
            for (int client; (client = ::accept(m_listener, nullptr, nullptr)) >= 0; ::close(client)) {
                ++accepted;
                const timeval silence{hangUpMs / 1000, hangUpMs % 1000 * 1000};
                ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &silence, sizeof(silence));
                ::send(client, reply.constData(), size_t(reply.size()), MSG_NOSIGNAL);
                char bytes[4096];
                for (ssize_t n; (n = ::recv(client, bytes, sizeof(bytes), 0)) > 0;)
                    m_received.append(bytes, qsizetype(n));
            }
        });
    }
    ~QuietServer() { stop(); ::close(m_listener); }
    // Ends the server: every byte the clients sent, in the order they came.
    QByteArray stop()
    {
        ::shutdown(m_listener, SHUT_RDWR); // ends the accept
        if (m_thread.joinable())
            m_thread.join();
        return m_received;
    }
    quint16 port = 0;
    int accepted = 0; // read after stop()

private:
    int m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    QByteArray m_received;
    std::thread m_thread;
};
