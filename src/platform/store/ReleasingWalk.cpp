#include "platform/store/ReleasingWalk.h"

#include "platform/store/ObjectContextPrivate.h"

#include <algorithm>

#include <unistd.h>

namespace {
// A database whose whole graph would take more than half the machine's memory (each row read with its links and
// relationships takes about this much) is large; never less than the floor below. Walks in blocks are many times
// slower (a whole-database check ten times and more), so they are kept for databases that could not be read whole.
constexpr qint64 kBytesPerRow = 512;
constexpr qint64 kLargeDatabaseRowsAtLeast = 2'000'000;
qint64 defaultLargeDatabaseRows()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    const qint64 memory = pages > 0 && pageSize > 0 ? qint64(pages) * pageSize : 0;
    return std::max(kLargeDatabaseRowsAtLeast, memory / 2 / kBytesPerRow);
}
constexpr qint64 kKeptRecords = 200'000;
qint64 g_largeRows = -1;
qint64 g_kept = -1;
}

ReleasingWalk::ReleasingWalk(const ObjectContext& context)
    : m_context(context)
{
    ObjectContext::Private::beginWalk(m_context);
}

ReleasingWalk::~ReleasingWalk()
{
    ObjectContext::Private::endWalk(m_context);
}

void ReleasingWalk::releasePoint()
{
    ObjectContext::Private::walkReleasePoint(m_context);
}

bool ReleasingWalk::givesBack() const
{
    return ObjectContext::Private::givesBack(m_context);
}

namespace {
// Read once: a walk asks at every release point.
qint64 fromEnvironment(const char* variable, qint64 fallback)
{
    bool ok = false;
    const qint64 value = qEnvironmentVariableIntValue(variable, &ok);
    return ok && value >= 0 ? value : fallback;
}
}

qint64 ReleasingWalk::largeDatabaseRows()
{
    static const qint64 byDefault = fromEnvironment("KINLOOM_LARGE_DATABASE_ROWS", defaultLargeDatabaseRows());
    return g_largeRows >= 0 ? g_largeRows : byDefault;
}

qint64 ReleasingWalk::keptRecords()
{
    static const qint64 byDefault = fromEnvironment("KINLOOM_KEPT_RECORDS", kKeptRecords);
    return g_kept >= 0 ? g_kept : byDefault;
}

void ReleasingWalk::setLimits(qint64 largeDatabaseRows, qint64 keptRecords)
{
    g_largeRows = largeDatabaseRows;
    g_kept = keptRecords;
}

ReadBurst::ReadBurst(const ObjectContext* context)
    : m_context(context)
{
    if (m_context)
        ObjectContext::Private::beginBurst(*m_context);
}

ReadBurst::~ReadBurst()
{
    if (m_context)
        ObjectContext::Private::endBurst(*m_context);
}
