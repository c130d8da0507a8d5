// The top-down layout: one horizontal band per generation, the boxes of a band side by side.
#include "diagrams/HierarchyLayout.h"

#include "model/Hierarchy.h"

#include <algorithm>

void HierarchyLayout::recurseHierarchy_V1()
{
    // Every band is as tall as its tallest box, and at least three lines of text.
    const double minimum = m_pointSize * 3 * 1.4;
    std::vector<Hierarchy*> all;
    walk(m_rootHierarchy.get(), [&](Hierarchy* h) { all.push_back(h); });
    setBoxHeights(all);
    for (const Hierarchy* h : all) {
        QRectF& band = m_rowHeights[size_t(h->level())];
        band.setHeight(std::max({ band.height(), h->rclBox().height(), minimum }));
    }
}

void HierarchyLayout::adjustRowHeightsForPageBreaks_V(double paperHeight)
{
    // Display order: an ancestors diagram has the oldest generation at the top and skips empty levels; a
    // descendants diagram runs down from the root and ends at the first empty level.
    std::vector<size_t> order;
    const int last = std::min(m_maxLevel, int(m_rowHeights.size()) - 1);
    if (m_bAncestors) {
        for (int level = last; level >= 0; --level)
            if (m_rowHeights[size_t(level)].height() != 0)
                order.push_back(size_t(level));
    } else {
        for (int level = 0; level <= last && m_rowHeights[size_t(level)].height() != 0; ++level)
            order.push_back(size_t(level));
    }

    double y = m_topMargin;
    for (size_t level : order) {
        m_rowHeights[level].moveTop(y);
        y += m_rowHeights[level].height() + m_verticalSpacing;
    }
    const double pageHeight = paperHeight - 60.0;
    if (!m_showPageBreaks || pageHeight <= 0)
        return;
    // A band that would cross the foot of a page starts on the next page.
    double limit = pageHeight;
    y = m_topMargin;
    for (size_t level : order) {
        const double height = m_rowHeights[level].height();
        // After a band taller than a page, y lies pages beyond the limit: the limit catches up first, or this
        // band would be moved back up over that one.
        while (limit + m_verticalSpacing < y)
            limit += pageHeight;
        if (limit < y + height) {
            y = limit + m_verticalSpacing;
            limit += pageHeight;
        }
        m_rowHeights[level].moveTop(y);
        y += height + m_verticalSpacing;
    }
}

void HierarchyLayout::recurseHierarchy_V2()
{
    // Children are placed before their owner, each with its index among its owner's children.
    walk(m_rootHierarchy.get(), {}, [this](Hierarchy* h) { setBoxPosition_V(h, h->owner() ? h->seqNo() : 0); });
}

void HierarchyLayout::setBoxPosition_V(Hierarchy* h, int index)
{
    const QRectF band = m_rowHeights[size_t(h->level())];
    QRectF box(h->row() * (m_columnWidth + m_horizontalSpacing) + m_leftMargin, band.y(), m_columnWidth,
        band.height());
    if (m_options.sizeToWidth && m_columnWidth < 200.0 && h == m_rootHierarchy.get()) {
        box.setWidth(200.0);
        if (!m_bCascaded)
            box.moveLeft(box.x() - (200.0 - m_columnWidth) / 2);
    }
    h->setRclBox(box);
    if (!m_bCascaded && h->level() < m_maxLevel)
        centrePersonRect_V(h);
    if (m_bScrunch)
        scrunch(h, index);
}

void HierarchyLayout::centrePersonRect_V(Hierarchy* h)
{
    if (m_bCascaded || h->level() >= m_maxLevel)
        return;
    const QList<Hierarchy*> children = h->nextGenArray();
    if (children.isEmpty())
        return;
    const QRectF first = children.first()->rclBox();
    const QRectF last = children.last()->rclBox();
    QRectF box = h->rclBox();
    box.moveLeft((first.center().x() + last.center().x()) / 2 - box.width() / 2);
    h->setRclBox(box);
    if (Hierarchy* before = h->previousAtLevel()) {
        const double limit = before->rclBox().right() + m_horizontalSpacing;
        if (box.x() < limit)
            recurseShiftLeftPixels_V(h, box.x() - limit);
    }
}

void HierarchyLayout::keepRightOfMargin_V()
{
    // Under size to width the root box is at least 200 wide and centred over its children: in a narrow window
    // it would reach left of the view, where nobody can scroll. The whole diagram moves right instead.
    double left = m_leftMargin;
    walk(m_rootHierarchy.get(), [&](Hierarchy* h) { left = std::min(left, h->rclBox().x()); });
    if (left < m_leftMargin)
        recurseShiftLeftPixels_V(m_rootHierarchy.get(), left - m_leftMargin);
}
