// A MySQL server that stops answering or goes away under an open
// connection. The test server is shared with the other tests, so it is never
// stopped itself: the program reaches it through a relay in this process
// that can freeze (keep the connection, pass nothing on) or cut every
// connection.

#include "database/DatabaseTransaction.h"
#include "database/MySqlDatabase.h"
#include "database/SqlQuery.h"
#include "support/DialogAnswerer.h"
#include "support/MariaDbServer.h"
#include "support/TestEnvironment.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

#include <arpa/inet.h>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Reaches the relay on the server's own port, on another loopback address,
// so that the client library's default port leads there. The address is the
// process's own, so that two runs against one server never compete for it.
QByteArray relayHost()
{
    const qint64 pid = QCoreApplication::applicationPid();
    return QByteArrayLiteral("127.") + QByteArray::number(1 + pid % 250) + '.'
           + QByteArray::number((pid / 250) % 250 + 1) + ".3";
}

class Relay
{
public:
    Relay()
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        const int on = 1;
        ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
        sockaddr_in address = endpoint(relayHost().constData());
        if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0
            || ::listen(m_listener, 8) != 0) {
            ::close(m_listener);
            m_listener = -1;
            return;
        }
        m_thread = std::thread([this] { run(); });
    }

    ~Relay()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        cut();
        if (m_listener >= 0)
            ::close(m_listener);
    }

    bool isValid() const { return m_listener >= 0; }
    // Holds every byte from now on, in both directions, as a stopped server would.
    void freeze() { m_frozen = true; }
    // Closes every relayed connection, as a server that went away.
    void cut()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const Pair& pair : m_pairs) {
            ::close(pair.client);
            ::close(pair.server);
        }
        m_pairs.clear();
    }

private:
    struct Pair
    {
        int client;
        int server;
    };

    static sockaddr_in endpoint(const char* host)
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(quint16(qEnvironmentVariableIntValue("PELVANE_MYSQL_PORT")));
        ::inet_pton(AF_INET, host, &address.sin_addr);
        return address;
    }

    void run()
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
                if (n > 0 && ::write(to, buffer, size_t(n)) == n)
                    continue;
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

    void accept()
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
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pairs.push_back({client, server});
    }

    int m_listener = -1;
    std::thread m_thread;
    std::mutex m_mutex;
    std::vector<Pair> m_pairs;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_frozen{false};
};

// The database named by args[0], through a relay, made current.
MySqlDatabase* openThroughRelay(const QString& name)
{
    ConnectionSettings settings = MariaDbServer::settings(name);
    settings.host = QString::fromLatin1(relayHost());
    auto* db = new MySqlDatabase;
    if (db->open(settings) != 0) {
        delete db;
        return nullptr;
    }
    Database::setInstance(db);
    return db;
}

} // namespace

PELVANE_CHILD_SCENARIO(frozenServer)
{
    QString why;
    Relay relay;
    if (!MariaDbServer::reachable(&why) || !relay.isValid())
        return 3;
    MySqlDatabase::setServerTimeout(2);
    if (!openThroughRelay(args.value(0)))
        return 4;
    relay.freeze();
    std::printf("frozen\n");
    std::fflush(stdout);
    SqlQuery query(QStringLiteral("SELECT COUNT(*) FROM Client"));
    query.exec();
    return 0; // not reached: the failed statement ends the program
}

PELVANE_CHILD_SCENARIO(serverGoneBeforeCommit)
{
    QString why;
    Relay relay;
    if (!MariaDbServer::reachable(&why) || !relay.isValid())
        return 3;
    MySqlDatabase* db = openThroughRelay(args.value(0));
    if (!db)
        return 4;
    {
        DatabaseTransaction transaction;
        db->findOrInsertClient(QStringLiteral("Never stored"));
        relay.cut();
    }
    std::printf("committed\n");
    return 0;
}

class TestMySqlServerLoss : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void frozenServerBecomesTheSqlError();
    void serverGoneBeforeTheCommitEndsTheProgram();

private:
    QString m_name;
};

void TestMySqlServerLoss::initTestCase()
{
    PELVANE_REQUIRE_MARIADB();
}

void TestMySqlServerLoss::init()
{
    m_name = MariaDbServer::uniqueName("loss");
    DialogAnswerer answerer;
    answerer.pressNext("Yes");
    MySqlDatabase db;
    QCOMPARE(db.open(MariaDbServer::settings(m_name)), 0);
}

void TestMySqlServerLoss::cleanup()
{
    Database::setInstance(nullptr);
    MariaDbServer::dropDatabase(m_name);
}

void TestMySqlServerLoss::frozenServerBecomesTheSqlError()
{
    QElapsedTimer timer;
    timer.start();
    const ChildResult child = runChildScenario("frozenServer", {m_name}, 60000);
    QVERIFY2(!child.crashed, "the program waited for the frozen server");
    QVERIFY2(child.exitCode == 1, child.output.right(1500).constData());
    QVERIFY(child.output.contains("frozen\n"));
    QVERIFY(child.output.contains("SELECT COUNT(*) FROM Client"));
    QVERIFY(timer.elapsed() < 30000);
}

void TestMySqlServerLoss::serverGoneBeforeTheCommitEndsTheProgram()
{
    const ChildResult child = runChildScenario("serverGoneBeforeCommit", {m_name}, 60000);
    QVERIFY(!child.crashed);
    QVERIFY2(child.exitCode == 1, child.output.right(1500).constData());
    QVERIFY(child.output.contains("\"COMMIT\""));
    QVERIFY(!child.output.contains("committed"));
    QCOMPARE(MariaDbServer::exec(QStringLiteral("SELECT 1")), true);
    QSqlQuery rows(QSqlDatabase::database(QStringLiteral("pelvane-test-admin")));
    QVERIFY(rows.exec(QStringLiteral("SELECT COUNT(*) FROM %1.Client").arg(MySqlDatabase::quoteIdentifier(m_name))));
    QVERIFY(rows.next());
    QCOMPARE(rows.value(0).toInt(), 0);
}

PELVANE_TEST_MAIN(TestMySqlServerLoss)
#include "TestMySqlServerLoss.moc"
