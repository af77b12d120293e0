#include "support/QuietServer.h"

#include <QDeadlineTimer>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

QuietServer::QuietServer(const QByteArray& reply, int hangUpAfterMs)
{
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    ::listen(m_listener, 8);
    ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this, reply, hangUpAfterMs] { run(reply, hangUpAfterMs); });
}

QuietServer::~QuietServer()
{
    m_stop = true;
    m_thread.join();
}

void QuietServer::addReplyRows()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("silent") << QByteArray();
    QTest::newRow("garbage") << QByteArray("HTTP/1.0 400 Bad Request\r\n\r\n");
}

QByteArray QuietServer::received()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
}

void QuietServer::run(const QByteArray& reply, int hangUpAfterMs)
{
    std::vector<pollfd> fds{{m_listener, POLLIN, 0}};
    std::vector<QDeadlineTimer> hangUps{QDeadlineTimer::Forever};
    while (!m_stop) {
        ::poll(fds.data(), fds.size(), 50);
        for (size_t i = 1; i < fds.size(); ++i) {
            char buffer[4096];
            const ssize_t n = fds[i].revents ? ::read(fds[i].fd, buffer, sizeof(buffer)) : -2;
            if ((n == 0 || n == -1 || hangUps[i].hasExpired()) && fds[i].fd >= 0) {
                // Gone, or hung up on: poll passes over a negative descriptor.
                ::close(fds[i].fd);
                fds[i].fd = -1;
            }
            std::lock_guard<std::mutex> lock(m_mutex);
            m_received.append(buffer, n > 0 ? qsizetype(n) : 0);
        }
        if (fds[0].revents & POLLIN) {
            const int client = ::accept(m_listener, nullptr, nullptr);
            ++m_accepted;
            if (!reply.isEmpty() && ::write(client, reply.constData(), size_t(reply.size())) < 0)
                continue;
            fds.push_back({client, POLLIN, 0});
            hangUps.emplace_back(hangUpAfterMs);
        }
    }
    for (const pollfd& fd : fds)
        if (fd.fd >= 0)
            ::close(fd.fd);
}
