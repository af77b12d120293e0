#include "support/ServerRelay.h"

#include "support/MariaDbServer.h"

#include <QCoreApplication>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
sockaddr_in endpoint(const char* host)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(qEnvironmentVariableIntValue("PELVANE_MYSQL_PORT")));
    ::inet_pton(AF_INET, host, &address.sin_addr);
    return address;
}
} // namespace

// The address is the process's own, so that two runs against one server
// never compete for it.
QByteArray ServerRelay::host()
{
    const qint64 pid = QCoreApplication::applicationPid();
    return QByteArrayLiteral("127.") + QByteArray::number(1 + pid % 250) + '.'
           + QByteArray::number((pid / 250) % 250 + 1) + ".3";
}

ConnectionSettings ServerRelay::settings(const QString& databaseName)
{
    ConnectionSettings settings = MariaDbServer::settings(databaseName);
    settings.host = QString::fromLatin1(host());
    return settings;
}

ServerRelay::ServerRelay()
{
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
    sockaddr_in address = endpoint(host().constData());
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0
        || ::listen(m_listener, 8) != 0) {
        ::close(m_listener);
        m_listener = -1;
        return;
    }
    m_thread = std::thread([this] { run(); });
}

ServerRelay::~ServerRelay()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    cut();
    if (m_listener >= 0)
        ::close(m_listener);
}

void ServerRelay::cut()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const Pair& pair : m_pairs) {
        // At once, though the relay's thread may still be polling it.
        ::shutdown(pair.client, SHUT_RDWR);
        ::close(pair.client);
        ::close(pair.server);
    }
    m_pairs.clear();
}

void ServerRelay::cutAfter(const QByteArray& marker)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cutAfter = marker;
}

void ServerRelay::run()
{
    while (!m_stop) {
        std::vector<pollfd> fds{{m_listener, POLLIN, 0}};
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_frozen) {
                for (const Pair& pair : m_pairs) {
                    fds.push_back({pair.client, POLLIN, 0});
                    fds.push_back({pair.server, POLLIN, 0});
                }
            }
        }
        if (::poll(fds.data(), fds.size(), 50) <= 0)
            continue;
        if (fds[0].revents & POLLIN)
            accept();
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<int> ended;
        for (size_t i = 1; i < fds.size(); ++i) {
            const size_t index = (i - 1) / 2;
            // Cut meanwhile: these descriptors are gone.
            if (index >= m_pairs.size() || m_frozen)
                break;
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const Pair& pair = m_pairs[index];
            const int to = fds[i].fd == pair.client ? pair.server : pair.client;
            char buffer[16384];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof(buffer));
            if (n > 0 && m_delay > 0)
                ::usleep(useconds_t(m_delay));
            if (n > 0 && ::write(to, buffer, size_t(n)) == n) {
                if (to != pair.server || m_cutAfter.isEmpty()
                    || QByteArray::fromRawData(buffer, qsizetype(n)).indexOf(m_cutAfter) < 0)
                    continue;
                m_cutAfter.clear();
            }
            if (ended.empty() || ended.back() != int(index))
                ended.push_back(int(index));
        }
        for (auto it = ended.rbegin(); it != ended.rend(); ++it) {
            const size_t index = size_t(*it);
            if (index >= m_pairs.size())
                continue;
            ::close(m_pairs[index].client);
            ::close(m_pairs[index].server);
            m_pairs.erase(m_pairs.begin() + long(index));
        }
    }
}

void ServerRelay::accept()
{
    const int client = ::accept(m_listener, nullptr, nullptr);
    if (client < 0)
        return;
    const int server = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = endpoint("127.0.0.1");
    if (::connect(server, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(client);
        ::close(server);
        return;
    }
    // Pieces held back go on at once, not after the other end's delayed ACK.
    const int on = 1;
    ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
    ::setsockopt(server, IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pairs.push_back({client, server});
}
