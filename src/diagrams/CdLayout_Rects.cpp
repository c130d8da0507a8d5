#include "diagrams/CdLayout.h"

#include "diagrams/CdPerson.h"

#include "model/FTMoc.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

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
    const double s = n > 8 ? dh / n : dh / 8;
    const double x = childrenOnLeft() ? 0 : cw * (maxAncLevel() + 1);
    int k = 0;
    for (const auto& box : m_boxes) {
        if (box->ancLevel() != CdPerson::kChild)
            continue;
        ++k;
        const double y = (n % 2) ? yc - s / 2 - s * ((n + 1) / 2 - k) : yc - s - s * (n / 2 - k);
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
