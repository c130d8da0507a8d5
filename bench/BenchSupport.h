#pragma once

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/ModelHooks.h"
#include "model/SyntheticDatabase.h"
#include "platform/Prompts.h"
#include "platform/UserDefaults.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Peak resident memory of this process so far (VmHWM), in megabytes; 0 where /proc is missing.
inline double peakResidentMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0; // kB
    return 0;
}

// Starts the peak resident memory (VmHWM) afresh from what the process holds now, so that a later
// peakResidentMegabytes() measures one step. False where the kernel cannot.
inline bool resetPeakResidentMemory()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return bool(clear);
}

// A benchmark reads and writes nothing of the user's but the files named on its command line: its settings, its
// data folder, HOME and the XDG folders of the user all lie in a temporary folder of its own, removed at the end.
// Made first thing in main(), before the application object (which reads the environment once).
//
//   int main(int argc, char** argv)
//   {
//       BenchSandbox sandbox;
//       QCoreApplication app(argc, argv);
//       ... sandbox.filePath("bench.RezUdu") ...
class BenchSandbox {
public:
    BenchSandbox()
    {
        const QString home = m_dir.path() + QStringLiteral("/home");
        const std::pair<const char*, QString> folders[] = {
            { "HOME", home },
            { "XDG_CONFIG_HOME", home + QStringLiteral("/.config") },
            { "XDG_DATA_HOME", home + QStringLiteral("/.local/share") },
            { "XDG_STATE_HOME", home + QStringLiteral("/.local/state") },
            { "XDG_CACHE_HOME", home + QStringLiteral("/.cache") },
        };
        for (const auto& [name, path] : folders) {
            QDir().mkpath(path);
            qputenv(name, QFile::encodeName(path));
        }
        const QString runtime = filePath(QStringLiteral("runtime"));
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        UserDefaults::useSettingsFile(filePath(QStringLiteral("settings.ini")));
        useDataDirectory(filePath(QStringLiteral("KinloomData")));
    }
    // The settings are written out now, while their folder still exists: left for the end of the process, they
    // would make the removed folder again just to hold them.
    ~BenchSandbox() { UserDefaults::standard().synchronize(); }
    BenchSandbox(const BenchSandbox&) = delete;
    BenchSandbox& operator=(const BenchSandbox&) = delete;
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    // The data folder the program's code uses from now on (made when missing).
    static void useDataDirectory(const QString& data)
    {
        QDir().mkpath(data);
        UserDefaults::standard().setString(QStringLiteral("KinloomDataDirectory"), data);
        ModelHooks::shared().dataDirectory = [data] { return data; };
    }

private:
    QTemporaryDir m_dir { QDir::tempPath() + QStringLiteral("/kinloom-bench-XXXXXX") };
};

// The middle value of the times (0 for none).
inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The median of `runs` timings of `work`, in milliseconds.
inline double medianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return median(times);
}

// The person with the most events and relatives: own events, couples, parents and children.
inline FTPerson* busiestPerson(const QList<FTPerson*>& people)
{
    FTPerson* busiest = nullptr;
    qsizetype most = -1;
    for (FTPerson* p : people) {
        const qsizetype n = p->otherEvents().size() + (p->birth() ? 1 : 0) + (p->death() ? 1 : 0)
                            + p->spouseRels().size() + p->parents().size() + p->children().size();
        if (n > most) {
            most = n;
            busiest = p;
        }
    }
    return busiest;
}

// Counts the alerts instead of showing them.
struct SilentPrompts : Prompts {
    int count = 0;
    void message(const QString&, const QString&) override { ++count; }
    void messageAsSheet(QObject*, const QString&) override { ++count; }
    void showMe(const QString&, const QString&) override { ++count; }
    int choose(const QString&, const QString&, const QStringList&) override { return ++count, 0; }
};

// A synthetic database of `people` people made at `path`; false after a message when it cannot be.
inline bool createSyntheticDatabase(const QString& path, int people)
{
    QString error;
    if (SyntheticDatabase::create(path, people, &error))
        return true;
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return false;
}

// The same, opened; null after a message when it cannot be made or opened.
inline std::unique_ptr<FTMoc> openSyntheticDatabase(const QString& path, int people)
{
    if (!createSyntheticDatabase(path, people))
        return nullptr;
    std::unique_ptr<FTMoc> moc = FTMoc::initForStoreURL(path, true);
    if (!moc)
        std::fprintf(stderr, "%s: the database cannot be opened\n", qPrintable(path));
    return moc;
}

// Gives each ancestor of `person` within `generations` the natural father and mother they lack (people married
// into a synthetic database have no parents), making the full pedigree of 2^(generations + 1) - 1 people. In memory
// only, until the database is saved.
inline void completePedigree(FTMoc& moc, FTPerson* person, int generations)
{
    QList<FTPerson*> generation { person };
    int made = 0;
    for (int g = 0; g < generations; ++g) {
        QList<FTPerson*> above;
        for (FTPerson* child : generation) {
            FTPerson* father = nullptr;
            FTPerson* mother = nullptr;
            for (FTPerson* parent : child->naturalParents())
                (parent->isMale() ? father : mother) = parent;
            const FTEvent* birth = child->birth();
            const int born = (birth && birth->year() ? birth->year() : 1900) - 28;
            for (bool male : { true, false }) {
                FTPerson*& parent = male ? father : mother;
                if (!parent) {
                    parent = moc.insertObject<FTPerson>();
                    parent->setName(QStringLiteral("Pedigree Ancestor %1").arg(++made));
                    parent->setGender(QString::fromLatin1(male ? "M" : "F"));
                    parent->setValueForKeyPath(QStringLiteral("birth.year"), born);
                    auto* link = moc.insertObject<FTPcRel>();
                    link->setParent(parent);
                    link->setChild(child);
                    link->setPcRelType(FTPcRel::kNatural);
                }
                above << parent;
            }
        }
        generation = above;
    }
}
