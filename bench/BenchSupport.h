#pragma once

#include "model/FTPerson.h"
#include "platform/Prompts.h"

#include <QElapsedTimer>
#include <QList>

#include <algorithm>
#include <fstream>
#include <functional>
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
