#pragma once

#include "QtPrinters.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

// Shared by every test binary. No test reads or writes the user's real preferences, home or data folder, and no
// test sees what another left behind, whatever order the tests run in:
//  - HOME and the XDG folders point into the process's temporary folder before the application object exists;
//  - before each test the settings file is a new, empty one holding only the program's first-run defaults, HOME
//    and the XDG folders point into a new folder of that test's own, and tempRoot() is that folder (removed after
//    the test).
namespace TestSupport {
// The running test's own temporary folder; outside a test, the process's.
QString tempRoot();
// A new settings file holding only the program's first-run defaults (what each test starts from); answers its
// path.
QString useFirstRunDefaults();
// A new, empty settings file: for tests of what happens before any default is registered, or of the libraries'
// own behaviour with no preference set. Answers its path.
QString useFreshDefaults();
// The program's first-run defaults: test binaries of the application's libraries register them (the shell's
// FirstRunDefaults::initialiseUserDefaults); the lower libraries have none of their own, so their settings start
// empty.
void setFirstRunDefaults(void (*registerDefaults)());
// Path of a file in tests/data.
QString dataFile(const QString& name);
// The source tree's root.
QString sourceDir();
// Compares bytes with a golden file in tests/data exactly, naming the first line that differs (a missing or extra
// line end counts). Golden files change only on purpose, as a step of its own: KINLOOM_UPDATE_GOLDEN=1 rewrites
// them instead of comparing, and each test that did is reported as skipped, never as passed.
void expectGolden(const QByteArray& actual, const QString& name);

// How long a wait on a worker may take before the run counts as hung. Only a stuck run ever reaches it: it is not
// a measure of speed, and a wait that gives up says that it did.
constexpr int kHungRunMilliseconds = 5 * 60 * 1000;
// Runs the event loop until `done` answers true; false (after a failure naming `what` as hung) when it still
// does not after kHungRunMilliseconds.
bool waitUntil(const std::function<bool()>& done, const char* what);

// ---- Child processes ----
// A routine that runs in a fresh process of the test binary: started with spawnChild(), it runs instead of the
// tests, gets the arguments and ends the process with its answer. A fresh process, not a fork, so that the child
// never inherits the parent's threads half-way through what they were doing.
//   const TestSupport::ChildRoutine saver("save-and-stop", [](const QStringList& args) { ...; return 0; });
struct ChildRoutine {
    ChildRoutine(const char* name, std::function<int(const QStringList& args)> routine);
};
// Starts the routine in a new process of this binary; answers its process id (-1 when it cannot start). Open file
// descriptors without close-on-exec (a pipe() made for the child) stay open in it under the same numbers.
int spawnChild(const char* name, const QStringList& args);
// A child process that is killed and reaped when this goes, whatever way the test ends.
class ReapedChild {
public:
    explicit ReapedChild(int pid) : m_pid(pid) {}
    ~ReapedChild();
    ReapedChild(const ReapedChild&) = delete;
    ReapedChild& operator=(const ReapedChild&) = delete;
    int pid() const { return m_pid; }
    // Waits until the child ends by itself; answers its wait status (waitpid's).
    int wait();
    // Kills the child; answers its wait status.
    int kill();

private:
    int m_pid;
};

// ---- main() of the test binaries ----
// First thing: when the process was started by spawnChild(), runs the routine (with a core application object of
// its own) and answers its exit status; otherwise -1.
int runChildRoutine(int argc, char** argv);
// Before the application object: HOME and the XDG folders into the process's temporary folder.
void prepareProcess();
// After InitGoogleMock: the fresh settings, home and folder of each test.
void installTestEnvironment();
// A file's bytes (empty when it cannot be read), and a file written with bytes (its folder made first).
QByteArray readFile(const QString& path);
bool writeFile(const QString& path, const QByteArray& bytes);
}
