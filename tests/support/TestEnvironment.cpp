#include "support/TestEnvironment.h"

#include "support/DialogAnswerer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <csignal>
#include <cstdlib>
#include <sys/prctl.h>
#include <unistd.h>

namespace {
TestEnvironment* g_instance = nullptr;
const char* const kScenarioVar = "PELVANE_CHILD_SCENARIO";
const char* const kParentRootVar = "PELVANE_TEST_PARENT_ROOT";
const char* const kParentPidVar = "PELVANE_TEST_PARENT_PID";

// A child scenario may end through a fatal report, which removes nothing:
// its folder lies in its parent's, which goes with the parent.
QString temporaryBase()
{
    const QString parent = qEnvironmentVariable(kParentRootVar);
    return QFileInfo(parent).isDir() ? parent : QDir::tempPath();
}

QMap<QString, ChildScenario>& scenarios()
{
    static QMap<QString, ChildScenario> map;
    return map;
}
} // namespace

TestEnvironment::TestEnvironment() : m_dir(new QTemporaryDir(temporaryBase() + "/pelvane-test-XXXXXX"))
{
    g_instance = this;
    qputenv(kParentRootVar, QFile::encodeName(m_dir->path()));
    // A child scenario may be asked to share its parent's folders.
    if (qEnvironmentVariableIsSet("PELVANE_TEST_SHARE_FOLDERS")) {
        qunsetenv("PELVANE_TEST_SHARE_FOLDERS");
        return;
    }
    const QString base = m_dir->path();
    QDir().mkpath(base + "/data");
    QDir().mkpath(base + "/config");
    QDir().mkpath(base + "/runtime");
    QFile::setPermissions(base + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_DATA_HOME", QFile::encodeName(base + "/data"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(base + "/config"));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(base + "/runtime"));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

TestEnvironment::~TestEnvironment()
{
    if (g_instance == this)
        g_instance = nullptr;
}

TestEnvironment* TestEnvironment::instance()
{
    return g_instance;
}

QString TestEnvironment::root() const
{
    return m_dir->path();
}

QString TestEnvironment::newFolder(const QString& hint)
{
    const QString path = QStringLiteral("%1/%2-%3").arg(root(), hint).arg(++m_counter);
    QDir().mkpath(path);
    return path;
}

void TestEnvironment::clearSettings()
{
    QSettings settings;
    settings.clear();
    settings.sync();
}

bool registerChildScenario(const char* name, ChildScenario fn)
{
    scenarios().insert(QString::fromLatin1(name), std::move(fn));
    return true;
}

void startChildScenario(QProcess& process, const QString& name, const QStringList& args, bool shareFolders,
                        const QStringList& wrapper)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kScenarioVar), name);
    env.insert(QString::fromLatin1(kParentPidVar), QString::number(QCoreApplication::applicationPid()));
    if (shareFolders)
        env.insert(QStringLiteral("PELVANE_TEST_SHARE_FOLDERS"), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    const QStringList command = wrapper + QStringList{QCoreApplication::applicationFilePath()} + args;
    process.start(command.first(), command.mid(1));
}

ChildResult finishChildScenario(QProcess& process, int timeoutMs)
{
    ChildResult result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.crashed = true;
    }
    result.output = process.readAll();
    result.crashed = result.crashed || process.exitStatus() != QProcess::NormalExit;
    result.exitCode = process.exitCode();
    return result;
}

ChildResult runChildScenario(const QString& name, const QStringList& args, int timeoutMs,
                             bool shareFolders, const QStringList& wrapper)
{
    QProcess process;
    startChildScenario(process, name, args, shareFolders, wrapper);
    return finishChildScenario(process, timeoutMs);
}

int runRegisteredChildScenarioIfAsked(int argc, char** argv)
{
    const QString name = qEnvironmentVariable(kScenarioVar);
    if (name.isEmpty())
        return -1;
    qunsetenv(kScenarioVar);
    // A child never outlives its test, even one ended by a fatal report, nor runs on beside a test that hangs.
    // One started by hand (scripts/screenshot) has no test above it.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    const QString parent = qEnvironmentVariable(kParentPidVar);
    if (!parent.isEmpty() && QString::number(::getppid()) != parent)
        return 98;
    ::alarm(900); // far beyond the longest child's run, benchmarks' included
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    auto it = scenarios().find(name);
    if (it == scenarios().end())
        return 99;
    // Nobody is there to close dialogs in a child: answer them all. A
    // screenshot under X asks for them to stay up a while first.
    DialogAnswerer answerer;
    answerer.setGrace(qEnvironmentVariableIntValue("PELVANE_DIALOG_GRACE_MS"));
    return it.value()(args);
}

int runTestMain(int argc, char** argv, const std::function<int(int, char**)>& runTests)
{
    TestEnvironment env;
    QApplication app(argc, argv);
    app.setOrganizationName(QStringLiteral("Tavisk"));
    app.setApplicationName(QStringLiteral("Pelvane V2"));
    const int child = runRegisteredChildScenarioIfAsked(argc, argv);
    if (child >= 0)
        return child;
    DialogAnswerer safetyNet;
    safetyNet.setGrace(3000);
    return runTests(argc, argv);
}
