// Compaction: once a box is placed, its subtree is pulled towards the subtrees placed before it as far as its
// whole outline allows, and its earlier siblings are pulled towards it. Top-down diagrams move subtrees
// sideways, horizontal ones up and down. A move never exceeds the smallest gap of the outline, so compaction
// never makes boxes overlap.
#include "diagrams/HierarchyLayout.h"

#include "model/Hierarchy.h"

#include <algorithm>
#include <functional>
#include <optional>

QList<Hierarchy*> HierarchyLayout::getTopAtEachLevelArrayFor(Hierarchy* h) const
{
    QList<Hierarchy*> outline { h };
    const int base = h->level();
    walk(h, [&](Hierarchy* n) {
        const qsizetype depth = n->level() - base;
        if (depth >= outline.size())
            outline << n;
    });
    return outline;
}

QList<Hierarchy*> HierarchyLayout::getBottomAtEachLevelArrayFor(Hierarchy* h) const
{
    QList<Hierarchy*> outline { h };
    const int base = h->level();
    walk(h, [&](Hierarchy* n) {
        const qsizetype depth = n->level() - base;
        if (depth >= outline.size())
            outline << n;
        else
            outline[depth] = n;
    });
    return outline;
}

namespace {
// No neighbour found: nothing limits the move, and nothing is moved.
constexpr double kNoGap = 1000000.0;

// The smallest gap of an outline: `gapOf` answers each box's gap to its neighbour, or nothing without one. With
// `stopAtOverlap` the walk ends at the first gap that leaves no room.
double smallestGap(const QList<Hierarchy*>& outline, const std::function<std::optional<double>(const Hierarchy*)>& gapOf,
    bool stopAtOverlap)
{
    double m = kNoGap;
    for (const Hierarchy* n : outline) {
        if (const std::optional<double> gap = gapOf(n))
            m = std::min(m, *gap);
        if (stopAtOverlap && m <= 0)
            break;
    }
    return m == kNoGap ? 0.0 : m;
}
}

double HierarchyLayout::getMaxRightToLeftScrunch_V(Hierarchy* h) const
{
    return smallestGap(
        getTopAtEachLevelArrayFor(h),
        [this](const Hierarchy* n) -> std::optional<double> {
            const Hierarchy* before = n->previousAtLevel();
            return before ? n->rclBox().x() - (before->rclBox().right() + m_horizontalSpacing)
                          : n->rclBox().x() - m_leftMargin;
        },
        true);
}

double HierarchyLayout::getMaxLeftToRightScrunch_V(Hierarchy* h) const
{
    return smallestGap(
        getBottomAtEachLevelArrayFor(h),
        [this](const Hierarchy* n) -> std::optional<double> {
            const Hierarchy* after = n->nextAtLevel();
            if (!after)
                return std::nullopt;
            return after->rclBox().x() - (n->rclBox().right() + m_horizontalSpacing);
        },
        true);
}

double HierarchyLayout::getMaxBottomUpScrunchFor(Hierarchy* h) const
{
    return smallestGap(
        getTopAtEachLevelArrayFor(h),
        [this](const Hierarchy* n) -> std::optional<double> {
            const Hierarchy* before = n->previousAtLevel();
            return before ? n->rclBox().y() - before->rclBox().bottom() : n->rclBox().y() - m_topMargin;
        },
        false);
}

double HierarchyLayout::getMaxTopDownScrunchFor(Hierarchy* h) const
{
    return smallestGap(
        getBottomAtEachLevelArrayFor(h),
        [](const Hierarchy* n) -> std::optional<double> {
            const Hierarchy* after = n->nextAtLevel();
            if (!after)
                return std::nullopt;
            return after->rclBox().y() - n->rclBox().bottom();
        },
        true);
}

void HierarchyLayout::recurseShiftLeftPixels_V(Hierarchy* h, double d)
{
    walk(h, [d](Hierarchy* n) { n->setRclBox(n->rclBox().translated(-d, 0)); });
}

void HierarchyLayout::recurseShiftUpPixels_H(Hierarchy* h, double d)
{
    walk(h, [d](Hierarchy* n) { n->setRclBox(n->rclBox().translated(0, -d)); });
}

void HierarchyLayout::scrunch(Hierarchy* h, int index)
{
    if (index > 0) {
        const double d = m_bHorizontal ? getMaxBottomUpScrunchFor(h) : getMaxRightToLeftScrunch_V(h);
        if (d > 0) {
            if (m_bHorizontal)
                recurseShiftUpPixels_H(h, d);
            else
                recurseShiftLeftPixels_V(h, d);
        }
    }
    if (!h->owner())
        return;
    // The earlier siblings, nearest first, move towards the box just placed.
    for (Hierarchy* p = h->previousAtLevel(); p && p->owner() == h->owner(); p = p->previousAtLevel()) {
        const double d = m_bHorizontal ? getMaxTopDownScrunchFor(p) : getMaxLeftToRightScrunch_V(p);
        if (d <= 0)
            continue;
        if (m_bHorizontal)
            recurseShiftUpPixels_H(p, -d);
        else
            recurseShiftLeftPixels_V(p, -d);
    }
}
