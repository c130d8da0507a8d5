#pragma once

#include <QtGlobal>

#include <optional>

// Keeps the family diagram's picture paging and wheel steps at a pace the eye can follow: an arrow key pages at most
// once per 0.15 s; the wheel steps at most once per 0.15 s over a picture and once per 0.25 s over a box (one
// clock shared by the two wheel cases). Times are the events' time stamps in milliseconds. The first event always
// passes, and so does one stamped earlier than the last (another clock).
class CdInputThrottle {
public:
    static constexpr qint64 kKeyInterval = 150;
    static constexpr qint64 kWheelOverPicture = 150;
    static constexpr qint64 kWheelOverBox = 250;

    // Whether an arrow key at `ms` may page; a key that may is remembered.
    bool acceptKey(qint64 ms);
    // Whether a wheel event at `ms` over a picture (`overPicture`) or a box may step; one that may is remembered.
    bool acceptWheel(qint64 ms, bool overPicture);

private:
    std::optional<qint64> m_lastKey;
    std::optional<qint64> m_lastWheel;
};
