// The horizontal layout: one column per generation, the root's on the left; the boxes of a column stacked
// downwards, each as tall as its own text.
#include "diagrams/HierarchyLayout.h"

#include "model/Hierarchy.h"

#include <algorithm>

void HierarchyLayout::recurseHierarchy_H()
{
    // Every height first; positions once a box's children are placed.
    std::vector<Hierarchy*> all;
    walk(m_rootHierarchy.get(), [&](Hierarchy* h) { all.push_back(h); });
    setBoxHeights(all);
    walk(m_rootHierarchy.get(), {}, [this](Hierarchy* h) { setBoxPosition_H(h, h->owner() ? h->seqNo() : 0); });
}

double HierarchyLayout::recurseOwners(Hierarchy* h) const
{
    double lowest = 0;
    for (Hierarchy* owner = h->owner(); owner; owner = owner->owner())
        if (Hierarchy* before = owner->previousAtLevel())
            lowest = std::max(lowest, before->rclBox().bottom());
    return lowest;
}

void HierarchyLayout::setBoxPosition_H(Hierarchy* h, int index)
{
    const bool belowLast = h->level() < m_maxLevel; // only then are the children placed
    double y = m_topMargin;
    if (Hierarchy* before = h->previousAtLevel()) {
        y = std::max(m_topMargin, before->rclBox().bottom());
        if (!m_bScrunch && belowLast) {
            const QList<Hierarchy*> theirs = before->nextGenArray();
            if (!theirs.isEmpty())
                y = std::max(y, theirs.last()->rclBox().bottom());
        }
    }
    if (belowLast) {
        const QList<Hierarchy*> mine = h->nextGenArray();
        if (!mine.isEmpty())
            y = std::max(y, mine.first()->rclBox().top());
    }
    y = std::max(y, recurseOwners(h));

    h->setRclBox(QRectF(h->level() * (m_columnWidth + m_horizontalSpacing) + m_leftMargin, y,
        m_columnWidth - m_pointSize, h->rclBox().height()));
    if (!m_bCascaded && belowLast)
        centrePersonRect_H(h);
    if (m_bScrunch && !m_bCascaded)
        scrunch(h, index);
}

void HierarchyLayout::centrePersonRect_H(Hierarchy* h)
{
    if (m_bCascaded || h->level() >= m_maxLevel)
        return;
    const QList<Hierarchy*> children = h->nextGenArray();
    if (children.isEmpty())
        return;
    QRectF box = h->rclBox();
    box.moveTop((children.first()->rclBox().top() + children.last()->rclBox().top()) / 2);
    h->setRclBox(box);
    if (Hierarchy* before = h->previousAtLevel()) {
        const double limit = before->rclBox().bottom();
        if (box.y() < limit)
            recurseShiftUpPixels_H(h, box.y() - limit);
    }
}
