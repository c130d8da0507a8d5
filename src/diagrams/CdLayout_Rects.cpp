#include "diagrams/CdLayout.h"

#include "diagrams/CdPerson.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QFontMetricsF>
#include <QMap>

#include <algorithm>
#include <cmath>

double CdLayout::columnWidth() const
{
    return (m_bounds.width() - 10) / (m_options.maxAncLevel + 2);
}

void CdLayout::resizeTheTextBox(QRectF* rect)
{
    const int iw = int(rect->width());
    const int ih = int(rect->height());
    double x = rect->x() + iw / 10;
    double w = rect->width() - iw / 5;
    double y = rect->y() + std::max(ih / 20, 1);
    double h = rect->height() - std::max(ih / 10, 1);
    if (h <= 0)
        h += 1;
    *rect = QRectF(x, y, w, h);
}

void CdLayout::calculateFocalRect()
{
    const double dh = m_bounds.height() - (timelineHeight() + 5);
    m_diagramHeight = dh;
    m_diagramWidth = m_bounds.width();
    const double cw = columnWidth();
    const double yc = dh * 0.5 + timelineHeight();
    const double h8 = std::max(dh / 8, 1.0);
    QRectF slot(childrenOnLeft() ? cw : cw * maxAncLevel(), yc - h8 / 2 - 10, cw, h8 + 20);
    resizeTheTextBox(&slot);
    m_rclFocalPerson = slot;
}

void CdLayout::setPersonRects()
{
    m_warnings.clear();
    for (const auto& box : m_boxes)
        if (!box->owner() && box->ancLevel() == CdPerson::kFocal) {
            box->setRclBox(m_rclFocalPerson);
            break;
        }
    calculateChildrensRects();
    calculateAncestorsRects();
    calculateSpouseRects();
    calculateStepParentsRects();
    calculateAssociatePeoplesRects();
    growLowAncestorBoxes();
}

void CdLayout::calculateChildrensRects()
{
    const double dh = m_diagramHeight;
    const double cw = columnWidth();
    const double yc = dh * 0.5 + timelineHeight();
    const int n = int(std::count_if(m_boxes.begin(), m_boxes.end(),
                                    [](const auto& b) { return b->ancLevel() == CdPerson::kChild; }));
    if (n == 0)
        return;
    // The empty slot for the next child comes last. The shadow of the child above it would fall into the slot,
    // whose outline and word are drawn on the background: the slot keeps a shadow's depth further down, and the
    // column shares out that much less height so that the slot still ends inside the diagram.
    QList<const CdPerson*> column;
    for (const auto& box : m_boxes)
        if (box->ancLevel() == CdPerson::kChild)
            column << box.get();
    const bool slotUnderChild = n > 1 && column[n - 1]->isGhost() && !column[n - 2]->isGhost();
    const double gap = slotUnderChild && m_options.showShadows ? std::max(0.0, m_options.shadowSize) + 1 : 0;
    const double height = dh - gap;
    const double middle = yc - gap / 2;
    const double s = n > 8 ? height / n : height / 8;
    const double x = childrenOnLeft() ? 0 : cw * (maxAncLevel() + 1);
    int k = 0;
    for (const auto& box : m_boxes) {
        if (box->ancLevel() != CdPerson::kChild)
            continue;
        ++k;
        double y = (n % 2) ? middle - s / 2 - s * ((n + 1) / 2 - k) : middle - s - s * (n / 2 - k);
        if (k == n)
            y += gap;
        QRectF slot(x, y, cw, s);
        resizeTheTextBox(&slot);
        box->setRclBox(slot);
    }
}

void CdLayout::calculateAncestorsRects()
{
    const double dh = m_diagramHeight;
    const double cw = columnWidth();
    const QString male = LocalizedString(QStringLiteral("MaleShort"));
    int fathers = 0;
    int mothers = 0;
    for (const auto& box : m_boxes) {
        const long level = box->ancLevel();
        if (level < 1 || box->pcRelType() != 1 || !box->owner())
            continue;
        const QRectF& o = box->owner()->rclBox();
        const double oc = o.y() + o.height() * 0.5;
        const double s = std::min(dh / std::pow(2.0, double(level)), dh / 8);
        const double d = dh / std::trunc(std::pow(2.0, double(level + 1)));
        const double x = childrenOnLeft() ? cw * (level + 1) : cw * (maxAncLevel() - level);
        const bool father = box->gender() == male;
        double y = (father ? oc - d : oc + d) - s / 2;
        if (level == 1) {
            const int nth = father ? ++fathers : ++mothers;
            if (nth > 1) {
                y += father ? s : -s;
                const CdPerson* focal = focalBox();
                m_warnings << QStringLiteral("%1: %2 %3\n\n%4")
                                  .arg(LocalizedString(QStringLiteral("WARNING")), focal && focal->person() ? focal->person()->name() : QString(),
                                       LocalizedString(father ? QStringLiteral("manyNatDads")
                                                              : QStringLiteral("manyNatMums")),
                                       LocalizedString(QStringLiteral("CorrectNow")));
                // Placed again among the step parents below, and not reported again until the next rebuild.
                box->setPcRelType(0);
            }
        }
        QRectF slot(x, y, cw, s);
        resizeTheTextBox(&slot);
        box->setRclBox(slot);
    }
}

void CdLayout::calculateSpouseRects()
{
    const int n = int(std::count_if(m_boxes.begin(), m_boxes.end(),
                                    [](const auto& b) { return b->ancLevel() == CdPerson::kSpouse; }));
    if (n == 0)
        return;
    const double dh = m_diagramHeight;
    const QRectF& f = m_rclFocalPerson;
    const double top = f.y() + f.height() + 5;
    const double s = std::min({f.height(), (dh - top) / n, dh / 8});
    int k = 0;
    for (const auto& box : m_boxes) {
        if (box->ancLevel() != CdPerson::kSpouse)
            continue;
        box->setRclBox(QRectF(f.x(), top + s * k + 2, f.width(), s - 4));
        ++k;
    }
}

void CdLayout::calculateStepParentsRects()
{
    const auto isStep = [](const auto& b) { return b->ancLevel() == 1 && b->pcRelType() != 1; };
    const int n = int(std::count_if(m_boxes.begin(), m_boxes.end(), isStep));
    if (n == 0)
        return;
    const double dh = m_diagramHeight;
    const double cw = columnWidth();
    const double h8 = dh / 8;
    const double bt = dh / 4 + h8 / 2 + timelineHeight();
    const double t = (dh / 2 - h8) / n;
    const double h = std::min(h8, t);
    const double x = childrenOnLeft() ? std::trunc(2 * cw) : std::trunc(cw * (maxAncLevel() - 1));
    int k = 0;
    for (const auto& box : m_boxes) {
        if (!isStep(box))
            continue;
        QRectF slot(x, bt + t * k + t / 2 - h / 2, cw, h);
        resizeTheTextBox(&slot);
        box->setRclBox(slot);
        ++k;
    }
}

void CdLayout::calculateAssociatePeoplesRects()
{
    int n = int(std::count_if(m_boxes.begin(), m_boxes.end(),
                              [](const auto& b) { return b->ancLevel() == CdPerson::kAssociated; }));
    CdPerson* focal = focalBox();
    if (n == 0 || !focal)
        return;
    const QRectF f = focal->rclBox();
    if (n % 2)
        ++n;
    const int rows = n / 2;
    const double top = f.y() - f.height() - 5;
    const double r = std::min((top - 10) / rows, m_diagramHeight / 8);
    const double aw = f.width() * 1.3 * 0.5;
    const double height = r - r / 5;
    double y = top - r;
    int k = 0;
    for (const auto& box : m_boxes) {
        if (box->ancLevel() != CdPerson::kAssociated)
            continue;
        ++k;
        const double centre = f.x() + f.width() / 2;
        if (k % 2) {
            box->setRclBox(QRectF(centre - 10 - aw, y, aw, height));
        } else {
            box->setRclBox(QRectF(centre + 10, y, aw, height));
            y -= r;
        }
    }
}

void CdLayout::growLowAncestorBoxes()
{
    QFont font = m_options.font;
    font.setPointSizeF(CdPerson::minimumFontSize());
    const double wanted = std::ceil(QFontMetricsF(font).lineSpacing()) + 2;
    // The columns of ancestors, each top to bottom.
    QMap<double, QList<CdPerson*>> columns;
    for (const auto& box : m_boxes)
        if (box->ancLevel() >= 1 && !box->rclBox().isEmpty())
            columns[box->rclBox().x()] << box.get();
    const double top = timelineHeight();
    const double bottom = m_bounds.height();
    for (QList<CdPerson*>& column : columns) {
        std::sort(column.begin(), column.end(),
                  [](const CdPerson* a, const CdPerson* b) { return a->rclBox().y() < b->rclBox().y(); });
        QList<QRectF> grown;
        for (qsizetype i = 0; i < column.size(); ++i) {
            const QRectF r = column[i]->rclBox();
            if (r.height() >= wanted) {
                grown << r;
                continue;
            }
            const double up = i > 0 ? (column[i - 1]->rclBox().bottom() + r.top()) / 2 + 0.5 : top;
            const double down = i + 1 < column.size() ? (r.bottom() + column[i + 1]->rclBox().top()) / 2 - 0.5 : bottom;
            double y0 = std::max(up, r.center().y() - wanted / 2);
            const double y1 = std::min(down, y0 + wanted);
            y0 = std::max(up, std::min(y0, y1 - wanted));
            grown << (y1 - y0 > r.height() ? QRectF(r.x(), y0, r.width(), y1 - y0) : r);
        }
        for (qsizetype i = 0; i < column.size(); ++i)
            column[i]->setRclBox(grown[i]);
    }
}

QStringList CdLayout::takeWarnings()
{
    return std::exchange(m_warnings, {});
}

CdPerson* CdLayout::getClickedPerson(const QPointF& point) const
{
    for (const auto& box : m_boxes) {
        const QRectF& r = box->rclBox();
        if (QRectF(r.x(), r.y() - 2, r.width(), r.height() + 4).contains(point))
            return box.get();
    }
    return nullptr;
}

CdPerson* CdLayout::getClickedMugShot(const QPointF& point) const
{
    if (m_pictureState.defaultImageRect.contains(point))
        return focalBox();
    for (const auto& box : m_boxes)
        if (box->rclMugShot().contains(point))
            return box.get();
    return nullptr;
}

QRectF CdLayout::getRedrawRectFor(const CdPerson* a, const CdPerson* b) const
{
    const auto isChild = [](const CdPerson* box) { return box && box->ancLevel() == CdPerson::kChild; };
    if (!isChild(a) && !isChild(b))
        return {};
    QRectF out;
    for (const auto& box : m_boxes) {
        if (box->ancLevel() > 1)
            continue;
        const QRectF& r = box->rclBox();
        out = out.united(QRectF(r.x() - 5, r.y(), r.width() + 5, r.height()));
    }
    return out;
}
