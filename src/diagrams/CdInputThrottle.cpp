#include "diagrams/CdInputThrottle.h"

namespace {
// Too soon after `last`: within `interval` (its end included when `inclusive`).
bool tooSoon(const std::optional<qint64>& last, qint64 now, qint64 interval, bool inclusive)
{
    if (!last || now < *last)
        return false;
    const qint64 gap = now - *last;
    return inclusive ? gap <= interval : gap < interval;
}
}

bool CdInputThrottle::acceptKey(qint64 ms)
{
    if (tooSoon(m_lastKey, ms, kKeyInterval, false))
        return false;
    m_lastKey = ms;
    return true;
}

bool CdInputThrottle::acceptWheel(qint64 ms, bool overPicture)
{
    if (overPicture ? tooSoon(m_lastWheel, ms, kWheelOverPicture, true)
                    : tooSoon(m_lastWheel, ms, kWheelOverBox, false))
        return false;
    m_lastWheel = ms;
    return true;
}
