#include "platform/store/ReleasingWalk.h"

#include "platform/store/ObjectContextPrivate.h"

#include <algorithm>

#include <unistd.h>

namespace {
// A database of more rows than this is large: read whole, its graph would take about a gigabyte (each row read with
// its links and relationships takes about kBytesPerRow), more than a whole-database walk should hold however much
// memory the machine has; on a machine with less than two gigabytes, half its memory is the limit. Walks in blocks
// are slower (a whole-database check several times), so smaller databases are still read whole.
constexpr qint64 kBytesPerRow = 512;
constexpr qint64 kLargeDatabaseRows = 2'000'000;
qint64 defaultLargeDatabaseRows()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    const qint64 memory = pages > 0 && pageSize > 0 ? qint64(pages) * pageSize : 0;
    return memory > 0 ? std::min(kLargeDatabaseRows, memory / 2 / kBytesPerRow) : kLargeDatabaseRows;
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
