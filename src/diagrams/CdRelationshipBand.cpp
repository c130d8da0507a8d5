#include "diagrams/CdRelationshipBand.h"

#include "diagrams/CdPerson.h"

#include "model/FTPcRel.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <QFont>
#include <QPainter>

namespace {
enum class Kind { None, ParentOfSource, ChildOfSource, Couple };

// The anchors of a box at its vertical centre: the edge towards the ancestors' columns and the edge towards the
// children's.
QPointF ancestorSide(const CdPerson& box, bool childrenOnLeft)
{
    const QRectF& r = box.rclBox();
    return QPointF(childrenOnLeft ? r.right() : r.left(), box.yCentre());
}

QPointF descendantSide(const CdPerson& box, bool childrenOnLeft)
{
    const QRectF& r = box.rclBox();
    return QPointF(childrenOnLeft ? r.left() : r.right(), box.yCentre());
}

// What the target is to the source, by the source's kind; None when it is no valid target.
Kind kindOfPair(const CdPerson& source, const CdPerson& target)
{
    const long s = source.ancLevel();
    const long t = target.ancLevel();
    if (s == CdPerson::kChild)
        return t == CdPerson::kFocal || t == CdPerson::kSpouse ? Kind::ParentOfSource : Kind::None;
    if (s == CdPerson::kSpouse) {
        if (t == CdPerson::kFocal)
            return Kind::Couple;
        return t == CdPerson::kChild ? Kind::ChildOfSource : Kind::None;
    }
    if (s == CdPerson::kFocal) {
        if (t == CdPerson::kChild)
            return Kind::ChildOfSource;
        if (t == CdPerson::kSpouse)
            return Kind::Couple;
        return t == 1 ? Kind::ParentOfSource : Kind::None;
    }
    if (s >= 1) {
        if (t == s - 1 && source.owner() == &target)
            return Kind::ChildOfSource;
        if (t == s && &target != &source && target.owner() == source.owner() && target.cGender() != source.cGender())
            return Kind::Couple;
        if (t == s + 1 && target.owner() == &source)
            return Kind::ParentOfSource;
    }
    return Kind::None;
}
}

CdRelationshipBand::Step CdRelationshipBand::classify(const CdPerson& source, const CdPerson* target,
                                                      const QPointF& pointer, bool childrenOnLeft)
{
    Step step;
    const long level = source.ancLevel();
    if (level != CdPerson::kChild && level != CdPerson::kSpouse && level != CdPerson::kFocal && level < 1)
        return step;
    step.drawn = true;
    step.line = QLineF(source.rclBox().center(), pointer);
    FTPerson* me = source.person();
    FTPerson* other = target ? target->person() : nullptr;
    const Kind kind = other && me ? kindOfPair(source, *target) : Kind::None;
    // From the child's side that faces its ancestors to the parent's side that faces its children, drawn from the
    // source.
    const auto parentAndChild = [&](const CdPerson& parentBox, const CdPerson& childBox) {
        step.parent = parentBox.person();
        step.child = childBox.person();
        step.relationship = existingRelationship(step.parent, step.child);
        const QPointF up = ancestorSide(childBox, childrenOnLeft);
        const QPointF down = descendantSide(parentBox, childrenOnLeft);
        step.line = &childBox == &source ? QLineF(up, down) : QLineF(down, up);
    };
    switch (kind) {
    case Kind::None:
        return step;
    case Kind::ParentOfSource:
        parentAndChild(*target, source);
        break;
    case Kind::ChildOfSource:
        parentAndChild(source, *target);
        break;
    case Kind::Couple: {
        step.spouse1 = me;
        step.spouse2 = other;
        step.relationship = kCouple;
        const QRectF& s = source.rclBox();
        const QRectF& t = target->rclBox();
        if (level >= 1) {
            // Two parents of one generation stand one above the other: from edge to facing edge.
            const bool above = s.y() < t.y();
            step.line = QLineF(s.center().x(), above ? s.bottom() : s.top(), t.center().x(), above ? t.top() : t.bottom());
        } else {
            step.line = QLineF(s.center(), t.center());
        }
        break;
    }
    }
    step.targetRect = target->rclBox();
    return step;
}

int CdRelationshipBand::existingRelationship(const FTPerson* parent, const FTPerson* child)
{
    if (!parent || !child)
        return 0;
    for (const FTPcRel* link : child->parentRels())
        if (link->parent() == parent)
            return link->intPcRelType();
    return 0;
}

QString CdRelationshipBand::labelKey(int relationship)
{
    switch (relationship) {
    case 0:
        return QStringLiteral("UnkInitial");
    case FTPcRel::kNatural:
        return QStringLiteral("NaturalInitial");
    case FTPcRel::kStep:
        return QStringLiteral("StepInitial");
    case FTPcRel::kFoster:
        return QStringLiteral("FosterInitial");
    case FTPcRel::kAdopted:
        return QStringLiteral("AdoptedInitial");
    case kCouple:
        return QStringLiteral("MarriedInitial");
    default:
        return {};
    }
}

void CdRelationshipBand::draw(QPainter& painter, const Step& step, const QRectF& sourceRect)
{
    if (!step.drawn)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, step.hasTarget() ? 3 : 1));
    painter.drawLine(step.line);
    if (step.hasTarget()) {
        painter.setPen(QPen(Qt::black, 2));
        painter.drawRect(step.targetRect);
        painter.drawRect(sourceRect);
        const QPointF m = step.line.center();
        const QRectF label(m.x() - 8, m.y() - 9, 14, 16);
        painter.setPen(QPen(Qt::black, 0.5));
        painter.setBrush(Qt::white);
        painter.drawRect(label);
        const QString key = labelKey(step.relationship);
        if (!key.isEmpty()) {
            QFont font(QStringLiteral("Arial"));
            font.setPointSizeF(10);
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(label, Qt::AlignCenter, LocalizedString(key));
        }
    }
    painter.restore();
}
