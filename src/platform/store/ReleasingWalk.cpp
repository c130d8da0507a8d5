#include "platform/store/ReleasingWalk.h"

#include "platform/store/ObjectContextPrivate.h"

namespace {
constexpr qint64 kLargeDatabaseRows = 2'000'000;
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

namespace {
qint64 limit(qint64 set, const char* variable, qint64 fallback)
{
    if (set >= 0)
        return set;
    bool ok = false;
    const qint64 fromEnvironment = qEnvironmentVariableIntValue(variable, &ok);
    return ok && fromEnvironment >= 0 ? fromEnvironment : fallback;
}
}

qint64 ReleasingWalk::largeDatabaseRows()
{
    return limit(g_largeRows, "KINLOOM_LARGE_DATABASE_ROWS", kLargeDatabaseRows);
}

qint64 ReleasingWalk::keptRecords()
{
    return limit(g_kept, "KINLOOM_KEPT_RECORDS", kKeptRecords);
}

void ReleasingWalk::setLimits(qint64 largeDatabaseRows, qint64 keptRecords)
{
    g_largeRows = largeDatabaseRows;
    g_kept = keptRecords;
}
