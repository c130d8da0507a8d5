#include "diagrams/CdPerson.h"

#include "diagrams/CdLayout.h"
#include "diagrams/CdShading.h"

#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QPainter>

#include <algorithm>

QPainterPath CdPerson::boxPath() const
{
    const QRectF& r = m_rclBox;
    const double x = r.x(), y = r.y(), w = r.width(), h = r.height();
    QPainterPath path;
    path.moveTo(x, y);
    path.lineTo(x + w, y);
    const QPointF right(x + w - m_indent, y + h / 2);
    path.cubicTo(right, right, QPointF(x + w, y + h));
    path.lineTo(x, y + h);
    const QPointF left(x - m_indent, y + h / 2);
    path.cubicTo(left, left, QPointF(x, y));
    path.closeSubpath();
    return path;
}

QList<QRectF> CdPerson::siblingCardRects(int siblingCount) const
{
    QList<QRectF> cards;
    QRectF card = m_rclBox;
    for (int i = siblingCount - 2; i >= 0; --i) {
        card = QRectF(card.x() + 6, card.y() - 3, std::max(2.0, card.width() - 4), std::max(2.0, card.height() - 1.5));
        cards << card;
    }
    return cards;
}

void CdPerson::fillBackground(QPainter& painter) const
{
    const CdOptions& o = options();
    double g = o.personColourGradient;
    if (!m_pcd) // web pages shade their boxes lightly
        g = std::min(g, 0.2);
    QRectF r = m_rclBox;
    if (o.showShadows)
        r.adjust(-20, 0, 20, 0);
    painter.fillRect(r, Qt::white);
    // The bottom edge at strength 1 - g, full colour from 30 % of the height up.
    const QLinearGradient gradient = CdShading::linearGradient(boxColour(), g, QPointF(r.x(), r.bottom()),
                                                               QPointF(r.x(), r.y() + 0.3 * r.height()));
    painter.fillRect(r, gradient);
}

void CdPerson::drawTheBox(QPainter& painter) const
{
    const CdOptions& o = options();
    const QRectF& r = m_rclBox;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    if (m_pcd && m_ancLevel == kFocal && !m_owner && m_person) {
        const QList<FTPerson*> siblings = m_person->siblingsArrayWithSelf();
        const QList<QRectF> cards = siblingCardRects(int(siblings.size()));
        for (qsizetype k = 0; k < cards.size(); ++k) {
            const qsizetype index = siblings.size() - 2 - k;
            const QRectF& c = cards[k];
            QPainterPath card;
            card.moveTo(c.x(), c.y() + 2);
            card.lineTo(c.x(), c.y());
            card.lineTo(c.right(), c.y());
            card.lineTo(c.right(), c.bottom());
            card.lineTo(c.right() - 2, c.bottom());
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(Qt::white, 0.5));
            painter.drawPath(card);
            const bool self = siblings.value(index) == m_person;
            painter.setPen(self ? QPen(Qt::red, 0.75) : QPen(Qt::gray, 0.5));
            painter.drawPath(card);
        }
    }

    const QColor colour = boxColour();
    const bool shade = o.personColourGradient > 0.1;
    if (o.showShadows) {
        const QPainterPath path = boxPath();
        if (!m_pcd || m_pcd->gShowShadows()) {
            const double s = m_ancLevel == kAssociated ? 1 : o.shadowSize;
            CdShading::drawShadow(painter, path, QPointF(s, s), s * 0.25);
        }
        painter.save();
        painter.fillPath(path, colour);
        if (shade) {
            painter.setClipPath(path, Qt::IntersectClip);
            fillBackground(painter);
        }
        painter.restore();
        painter.setPen(QPen(Qt::gray, 0.3));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    } else {
        painter.fillRect(r, colour);
        if (shade) {
            painter.save();
            painter.setClipRect(r, Qt::IntersectClip);
            fillBackground(painter);
            painter.restore();
        }
    }

    if (!m_bSpouse) {
        const bool femaleChild = m_ancLevel == kChild && m_gender == LocalizedString(QStringLiteral("FemaleShort"));
        painter.setPen(QPen(femaleChild ? QColor(192, 80, 80) : QColor(Qt::gray), 0.3));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r);
    }
    if (m_pcd) {
        painter.setPen(QPen(Qt::black, 0.5));
        painter.setBrush(colour);
        painter.drawEllipse(QRectF(r.right() - 7, r.bottom() - 7, 6, 6));
    }
    painter.restore();
}
