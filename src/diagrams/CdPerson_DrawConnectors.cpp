#include "diagrams/CdPerson.h"

#include "diagrams/CdLayout.h"
#include "diagrams/CdLineStyle.h"
#include "diagrams/CdWebContext.h"

#include "model/FTPcRel.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QLineF>
#include <QPainter>

namespace {
void strokeStub(QPainter& painter, const QLineF& stub)
{
    if (stub.isNull())
        return;
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(stub);
}
}

int CdPerson::lastGenerationShown() const
{
    if (m_pcd)
        return m_pcd->maxAncLevel();
    return m_web ? m_web->lastGeneration : 0;
}

QString CdPerson::relationshipLetter(int pcRelType)
{
    switch (pcRelType) {
    case 0:
        return QStringLiteral("??");
    case 2:
        return LocalizedString(QStringLiteral("StepInitial"));
    case 4:
        return LocalizedString(QStringLiteral("FosterInitial"));
    case 8:
        return LocalizedString(QStringLiteral("AdoptedInitial"));
    default:
        return {};
    }
}

QLineF CdPerson::lineEndsTo(const CdPerson& other) const
{
    const QRectF& r = m_rclBox;
    const QRectF& o = other.m_rclBox;
    if (m_ancLevel == kAssociated)
        return QLineF(r.x() + r.width() / 2, r.bottom(), o.x() + o.width() / 2, o.y());
    if (o.x() < r.x())
        return QLineF(r.x() - m_indent / 1.3, yCentre(), o.right(), other.yCentre());
    const double otherIndent = other.options().personColourGradient * 0.1 * o.height();
    return QLineF(r.right(), yCentre(), o.x() - otherIndent / 1.3, other.yCentre());
}

QLineF CdPerson::moreAncestorsStub() const
{
    if (m_ancLevel < 1 || m_ancLevel != lastGenerationShown() || m_numParents <= 0)
        return {};
    const QRectF& r = m_rclBox;
    if (m_childrenOnLeft)
        return QLineF(r.right(), yCentre(), r.right() + 25, yCentre());
    return QLineF(r.x() - m_indent, yCentre(), r.x() - m_indent - 25, yCentre());
}

QLineF CdPerson::grandChildrenStub() const
{
    if (m_ancLevel != kChild || m_numChildren <= 0)
        return {};
    const QRectF& r = m_rclBox;
    if (m_childrenOnLeft)
        return QLineF(r.x() - m_indent, yCentre(), r.x() - m_indent - 25, yCentre());
    return QLineF(r.right(), yCentre(), r.right() + 25, yCentre());
}

QLineF CdPerson::spousesParentsStub() const
{
    if (m_ancLevel != kSpouse || m_numParents <= 0)
        return {};
    const QRectF& r = m_rclBox;
    if (m_childrenOnLeft)
        return QLineF(r.right() + 1, yCentre(), r.right() + 11, yCentre());
    return QLineF(r.x(), yCentre(), r.x() - 10, yCentre());
}

void CdPerson::drawConnectionLines(QPainter& painter)
{
    setIndent();
    m_trackingRects.clear();
    m_pathToOwner = QPainterPath();
    if (m_ancLevel == kFocal && !m_owner)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_ancLevel == kSpouse) {
        drawSpousesParentsLine(painter);
    } else {
        drawOwnerLine(painter);
        drawMoreAncestorsLine(painter);
        drawGrandChildrenLine(painter);
        if (m_pcd && m_ancLevel == kChild && isSelected())
            drawSelectedChildsConnectors(painter);
    }
    painter.restore();
}

void CdPerson::drawMarker(QPainter& painter, const QLineF& line, const QColor& ovalColour)
{
    const QPointF mid = line.center();
    const QRectF marker(mid.x() - 3, mid.y() - 3, 6, 6);
    if (!ovalColour.isValid()) {
        m_trackingRects << marker;
        return;
    }
    painter.fillRect(marker, options().bgColour);
    painter.setPen(QPen(ovalColour, 0.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(marker);
    m_trackingRects << marker;
}

void CdPerson::drawOwnerLine(QPainter& painter)
{
    if (!m_owner)
        return;
    if (m_pcd && m_ancLevel == kChild && !isSelected()) {
        // The selected child's own lines stand in for the owner lines of the other children.
        const CdPerson* selectedBox = m_pcd->findPerson(selectedPerson());
        if (selectedBox && selectedBox->ancLevel() == kChild)
            return;
    }
    const QLineF line = lineEndsTo(*m_owner);
    const CdLineStyle style = CdLineStyle::forBox(*this, m_pcd != nullptr, options().redLineThreshold, isSelected());
    painter.setPen(style.pen());
    painter.drawLine(line);
    if (m_pcd && m_person && m_owner->person()) {
        const bool plain = m_pcRelType == 1 || m_ancLevel == kAssociated;
        drawMarker(painter, line, plain ? QColor(Qt::black) : QColor());
    }
    QPainterPath path(line.p1());
    path.lineTo(line.p2());
    m_pathToOwner = path;
    drawRelationshipIndicator(painter, line.p1(), line.p2(), m_pcRelType);
}

void CdPerson::drawRelationshipIndicator(QPainter& painter, const QPointF& start, const QPointF& end,
                                         int pcRelType) const
{
    if (!m_person || m_ancLevel == kAssociated)
        return;
    const QString letter = relationshipLetter(pcRelType);
    if (letter.isEmpty())
        return;
    const QPointF mid = QLineF(start, end).center();
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(10);
    painter.setFont(font);
    painter.setPen(QColor(255, 128, 128));
    painter.drawText(QRectF(mid.x() - 5, mid.y() - 8, 40, 16), Qt::AlignLeft | Qt::AlignTop, letter);
}

void CdPerson::drawMoreAncestorsLine(QPainter& painter) const
{
    strokeStub(painter, moreAncestorsStub());
}

void CdPerson::drawGrandChildrenLine(QPainter& painter) const
{
    strokeStub(painter, grandChildrenStub());
}

void CdPerson::drawSpousesParentsLine(QPainter& painter) const
{
    strokeStub(painter, spousesParentsStub());
}

void CdPerson::drawSelectedChildsConnectors(QPainter& painter)
{
    if (!m_person || !m_pcd)
        return;
    const FTPerson* ownersPerson = m_owner ? m_owner->person() : nullptr;
    for (const FTPcRel* link : m_person->parentRels()) {
        FTPerson* parent = link->parent();
        if (!parent || parent == ownersPerson)
            continue;
        const CdPerson* parentBox = m_pcd->findPerson(parent);
        if (!parentBox)
            continue;
        const int type = link->intPcRelType();
        const QLineF line = lineEndsTo(*parentBox);
        painter.setPen(CdLineStyle::forLink(type).pen());
        painter.drawLine(line);
        painter.setPen(QPen(QColor(211, 211, 211), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(parentBox->rclBox().adjusted(-1, -1, 1, 1));
        if (type != 1)
            drawRelationshipIndicator(painter, line.p1(), line.p2(), type);
        drawMarker(painter, line, type == 1 ? QColor(Qt::gray) : QColor());
    }
}
