// Compaction: once a box is placed, its subtree is pulled towards the subtrees placed before it as far as its
// whole outline allows, and its earlier siblings are pulled towards it. Top-down diagrams move subtrees
// sideways, horizontal ones up and down. A move never exceeds the smallest gap of the outline, so compaction
// never makes boxes overlap.
#include "diagrams/HierarchyLayout.h"

#include "model/Hierarchy.h"

#include <algorithm>

namespace {
// No neighbour found: nothing limits the move, and nothing is moved.
constexpr double kNoGap = 1000000.0;

double gapOrNothing(double m)
{
    return m == kNoGap ? 0.0 : m;
}
}

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

double HierarchyLayout::getMaxRightToLeftScrunch_V(Hierarchy* h) const
{
    double m = kNoGap;
    for (Hierarchy* n : getTopAtEachLevelArrayFor(h)) {
        const QRectF box = n->rclBox();
        const Hierarchy* before = n->previousAtLevel();
        const double gap = before ? box.x() - (before->rclBox().right() + m_horizontalSpacing) : box.x() - m_leftMargin;
        m = std::min(m, gap);
        if (m <= 0)
            break;
    }
    return gapOrNothing(m);
}

double HierarchyLayout::getMaxLeftToRightScrunch_V(Hierarchy* h) const
{
    double m = kNoGap;
    for (Hierarchy* n : getBottomAtEachLevelArrayFor(h)) {
        const Hierarchy* after = n->nextAtLevel();
        if (!after)
            continue;
        m = std::min(m, after->rclBox().x() - (n->rclBox().right() + m_horizontalSpacing));
        if (m <= 0)
            break;
    }
    return gapOrNothing(m);
}

double HierarchyLayout::getMaxBottomUpScrunchFor(Hierarchy* h) const
{
    double m = kNoGap;
    for (Hierarchy* n : getTopAtEachLevelArrayFor(h)) {
        const Hierarchy* before = n->previousAtLevel();
        m = std::min(m, before ? n->rclBox().y() - before->rclBox().bottom() : n->rclBox().y() - m_topMargin);
    }
    return gapOrNothing(m);
}

double HierarchyLayout::getMaxTopDownScrunchFor(Hierarchy* h) const
{
    double m = kNoGap;
    for (Hierarchy* n : getBottomAtEachLevelArrayFor(h)) {
        const Hierarchy* after = n->nextAtLevel();
        if (!after)
            continue;
        m = std::min(m, after->rclBox().y() - n->rclBox().bottom());
        if (m <= 0)
            break;
    }
    return gapOrNothing(m);
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
