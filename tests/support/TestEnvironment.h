#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class QProcess;

// Gives each test process its own data and settings folders so that nothing a
// test does touches the user's own files. Must be created before the
// application object.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();

    static TestEnvironment* instance();
    QString root() const;
    // A fresh empty folder below the root.
    QString newFolder(const QString& hint = QStringLiteral("dir"));
    // Forgets every stored setting.
    static void clearSettings();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    int m_counter = 0;
};

// A scenario run in a child copy of the test executable, for paths that end
// the process (exit code 1 after a fatal report).
struct ChildResult
{
    int exitCode = -1;
    bool crashed = false;
    QByteArray output;
};

using ChildScenario = std::function<int(const QStringList& args)>;
bool registerChildScenario(const char* name, ChildScenario fn);
// With shareFolders the child uses this process's data and settings folders;
// a wrapper (a program and its arguments) starts it when given.
ChildResult runChildScenario(const QString& name, const QStringList& args = {}, int timeoutMs = 60000,
                             bool shareFolders = false, const QStringList& wrapper = {});
int runRegisteredChildScenarioIfAsked(int argc, char** argv);
// The same in steps, for children that run side by side: start each, then
// wait for each.
void startChildScenario(QProcess& process, const QString& name, const QStringList& args = {},
                        bool shareFolders = false, const QStringList& wrapper = {});
ChildResult finishChildScenario(QProcess& process, int timeoutMs = 60000);

#define PELVANE_CHILD_SCENARIO(name)                                                            \
    static int childScenario_##name(const QStringList& args);                                  \
    static const bool childScenarioRegistered_##name =                                          \
        registerChildScenario(#name, childScenario_##name);                                     \
    static int childScenario_##name([[maybe_unused]] const QStringList& args)

int runTestMain(int argc, char** argv, const std::function<int(int, char**)>& runTests);

#define PELVANE_TEST_MAIN(TestObject)                                                           \
    int main(int argc, char** argv)                                                             \
    {                                                                                           \
        return runTestMain(argc, argv, [](int c, char** v) {                                    \
            TestObject tc;                                                                      \
            QTEST_SET_MAIN_SOURCE_PATH                                                          \
            return QTest::qExec(&tc, c, v);                                                     \
        });                                                                                     \
    }
