#include "TestSupport.h"

#include "platform/UserDefaults.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>

#include <memory>

#include <gtest/gtest.h>

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::unique_ptr<QTemporaryDir>& processDir()
{
    static std::unique_ptr<QTemporaryDir> dir;
    return dir;
}
QString processRoot()
{
    if (!processDir())
        processDir() = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/kinloom-test-XXXXXX");
    return processDir()->path();
}

// The running test's folder; empty outside a test.
QString& currentTestFolder()
{
    static QString folder;
    return folder;
}

void (*&firstRunDefaults())()
{
    static void (*fn)() = nullptr;
    return fn;
}

int g_settingsCounter = 0;

// HOME is `root` itself (so every file a test makes in its folder lies in the home folder, as the user's own
// files do) and the XDG folders of the user are inside it. The runtime folder stays the process's: the windowing
// system looks for it once.
void pointHomeInto(const QString& root)
{
    const QString home = root;
    const std::pair<const char*, QString> folders[] = {
        { "HOME", home },
        { "XDG_CONFIG_HOME", home + "/.config" },
        { "XDG_DATA_HOME", home + "/.local/share" },
        { "XDG_STATE_HOME", home + "/.local/state" },
        { "XDG_CACHE_HOME", home + "/.cache" },
    };
    for (const auto& [name, path] : folders) {
        QDir().mkpath(path);
        qputenv(name, QFile::encodeName(path));
    }
}

// Gives each test its own folder, home and settings, and takes the folder away after it.
class FreshEnvironment : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override
    {
        static int tests = 0;
        currentTestFolder() = QStringLiteral("%1/test-%2").arg(processRoot()).arg(++tests);
        QDir().mkpath(currentTestFolder());
        pointHomeInto(currentTestFolder());
        TestSupport::useFirstRunDefaults();
    }
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        // The settings file goes with the folder; until the next test the defaults live in the process's folder.
        UserDefaults::useSettingsFile(processRoot() + "/between-tests.ini");
        pointHomeInto(processRoot());
        QDir(currentTestFolder()).removeRecursively();
        currentTestFolder().clear();
    }
};

struct Child {
    QHash<QString, std::function<int(const QStringList&)>> routines;
};
Child& children()
{
    static Child c;
    return c;
}
const char kChildOption[] = "--kinloom-child";

} // namespace

QString TestSupport::tempRoot()
{
    return currentTestFolder().isEmpty() ? processRoot() : currentTestFolder();
}

QString TestSupport::useFreshDefaults()
{
    const QString path = QStringLiteral("%1/settings-%2.ini").arg(tempRoot()).arg(++g_settingsCounter);
    QFile::remove(path);
    UserDefaults::useSettingsFile(path);
    return path;
}

QString TestSupport::useFirstRunDefaults()
{
    const QString path = useFreshDefaults();
    if (firstRunDefaults())
        firstRunDefaults()();
    return path;
}

void TestSupport::setFirstRunDefaults(void (*registerDefaults)()) { firstRunDefaults() = registerDefaults; }

QString TestSupport::dataFile(const QString& name) { return QStringLiteral(KINLOOM_TEST_DATA_DIR) + "/" + name; }
QString TestSupport::sourceDir() { return QStringLiteral(KINLOOM_SOURCE_DIR); }

void TestSupport::prepareProcess()
{
    pointHomeInto(processRoot());
    const QString runtime = processRoot() + "/runtime";
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    UserDefaults::useSettingsFile(processRoot() + "/between-tests.ini");
}

void TestSupport::installTestEnvironment()
{
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshEnvironment);
}

QByteArray TestSupport::readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TestSupport::writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

void TestSupport::expectGolden(const QByteArray& actual, const QString& name)
{
    const QString path = dataFile(name);
    if (qEnvironmentVariableIsSet("KINLOOM_UPDATE_GOLDEN")) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly)) << path.toStdString();
        out.write(actual);
        GTEST_SKIP() << "rewrote " << name.toStdString() << ": check the difference before committing it";
    }
    QFile in(path);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray expected = in.readAll();
    if (actual == expected)
        return;
    const QList<QByteArray> a = actual.split('\n'), e = expected.split('\n');
    qsizetype i = 0;
    while (i < a.size() && i < e.size() && a[i] == e[i])
        ++i;
    auto show = [](const QList<QByteArray>& lines, qsizetype i) {
        return i < lines.size() ? "\"" + lines[i].toStdString() + "\"" : std::string("(no such line)");
    };
    ADD_FAILURE() << name.toStdString() << " differs at line " << i + 1 << " (" << e.size() << " lines expected, "
                  << a.size() << " written):\n  expected: " << show(e, i) << "\n  actual:   " << show(a, i);
}

bool TestSupport::waitUntil(const std::function<bool()>& done, const char* what)
{
    const QDeadlineTimer limit(kHungRunMilliseconds);
    while (!done()) {
        if (limit.hasExpired()) {
            ADD_FAILURE() << what << ": hung, gave up after " << kHungRunMilliseconds / 1000 << " seconds";
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

TestSupport::ChildRoutine::ChildRoutine(const char* name, std::function<int(const QStringList&)> routine)
{
    children().routines.insert(QString::fromLatin1(name), std::move(routine));
}

int TestSupport::spawnChild(const char* name, const QStringList& args)
{
    QList<QByteArray> words { QFile::encodeName(QCoreApplication::applicationFilePath()), kChildOption, name };
    for (const QString& a : args)
        words << a.toUtf8();
    QList<char*> argv;
    for (QByteArray& w : words)
        argv << w.data();
    argv << nullptr;
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
    return rc == 0 ? int(pid) : -1;
}

TestSupport::ReapedChild::~ReapedChild()
{
    if (m_pid > 0)
        kill();
}

int TestSupport::ReapedChild::wait()
{
    int status = 0;
    if (m_pid > 0 && waitpid(m_pid, &status, 0) == m_pid)
        m_pid = -1;
    return status;
}

int TestSupport::ReapedChild::kill()
{
    if (m_pid > 0)
        ::kill(m_pid, SIGKILL);
    return wait();
}

int TestSupport::runChildRoutine(int argc, char** argv)
{
    if (argc < 3 || qstrcmp(argv[1], kChildOption) != 0)
        return -1;
    const auto routine = children().routines.value(QString::fromLatin1(argv[2]));
    if (!routine)
        return 127;
    // The child lives in its parent's home and folders (inherited), so it makes no temporary folder of its own:
    // a child that is killed leaves nothing behind.
    QCoreApplication app(argc, argv);
    QStringList args;
    for (int i = 3; i < argc; ++i)
        args << QString::fromUtf8(argv[i]);
    return routine(args);
}
