#include "model/FTPerson.h"

#include "model/FTEvent.h"
#include "model/FTPcRel.h"
#include "model/FTSpouseRel.h"
#include "model/RelationshipWords.h"
#include "model/Relative.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"

#include <algorithm>

namespace {
void appendNew(QList<FTPerson*>& list, FTPerson* person)
{
    if (person && !list.contains(person))
        list << person;
}
}

QList<FTPerson*> FTPerson::childrenOfType(int mask) const
{
    QList<FTPerson*> out;
    for (const FTPcRel* link : childRels())
        if ((link->intPcRelType() & mask) != 0)
            if (FTPerson* child = link->child())
                out << child;
    return out;
}

QList<FTPerson*> FTPerson::parentsOfType(int mask) const
{
    QList<FTPerson*> out;
    for (const FTPcRel* link : parentRels())
        if ((link->intPcRelType() & mask) != 0)
            if (FTPerson* parent = link->parent())
                out << parent;
    return out;
}

QList<FTPerson*> FTPerson::naturalChildren() const
{
    return childrenOfType(1);
}

QList<FTPerson*> FTPerson::naturalParents() const
{
    return parentsOfType(1);
}

FTPerson* FTPerson::naturalFather() const
{
    for (FTPerson* parent : naturalParents())
        if (parent->isMale())
            return parent;
    return nullptr;
}

FTPerson* FTPerson::naturalMother() const
{
    for (FTPerson* parent : naturalParents())
        if (parent->isFemale())
            return parent;
    return nullptr;
}

QList<FTPerson*> FTPerson::naturalGrandParents() const
{
    QList<FTPerson*> out;
    for (const FTPerson* parent : naturalParents())
        out << parent->naturalParents();
    return out;
}

QList<FTPerson*> FTPerson::grandChildren() const
{
    QList<FTPerson*> out;
    for (const FTPerson* child : childrenOfType(9))
        out << child->childrenOfType(9);
    return out;
}

QList<FTPerson*> FTPerson::greatGrandChildren() const
{
    QList<FTPerson*> out;
    for (const FTPerson* grandChild : grandChildren())
        out << grandChild->childrenOfType(9);
    return out;
}

QList<FTPerson*> FTPerson::siblings() const
{
    QList<FTPerson*> out;
    for (const FTPcRel* parentLink : parentRels()) {
        const FTPerson* parent = parentLink->parent();
        if (!parent)
            continue;
        for (const FTPcRel* childLink : parent->childRels()) {
            FTPerson* child = childLink->child();
            if (child && child != this && !out.contains(child))
                out << child;
        }
    }
    return out;
}

QList<FTPerson*> FTPerson::siblingsArrayWithSelf() const
{
    QList<FTPerson*> all = siblings();
    all << const_cast<FTPerson*>(this);
    QHash<const FTPerson*, quint32> keys;
    for (const FTPerson* p : all)
        keys.insert(p, p->birth() ? p->birth()->lbDate() : 0);
    std::stable_sort(all.begin(), all.end(), [&keys](const FTPerson* a, const FTPerson* b) {
        const quint32 ka = keys.value(a);
        const quint32 kb = keys.value(b);
        if (ka != kb)
            return ka < kb;
        return a->name().compare(b->name()) < 0;
    });
    return all;
}

QList<FTPerson*> FTPerson::auntsAndUncles() const
{
    const QList<FTPerson*> parents = naturalParents();
    QList<FTPerson*> out;
    for (const FTPerson* grandParent : naturalGrandParents()) {
        for (FTPerson* candidate : grandParent->childrenOfType(1)) {
            if (parents.contains(candidate) || out.contains(candidate))
                continue;
            out << candidate;
            for (FTPerson* spouse : candidate->spouses())
                appendNew(out, spouse);
        }
    }
    return out;
}

QList<FTPerson*> FTPerson::cousins() const
{
    QList<FTPerson*> out;
    for (const FTPerson* auntOrUncle : auntsAndUncles())
        for (FTPerson* cousin : auntOrUncle->childrenOfType(9))
            appendNew(out, cousin);
    return out;
}

QList<FTPerson*> FTPerson::nephewsAndNieces() const
{
    QList<FTPerson*> brothersAndSisters = siblings();
    for (const FTPerson* spouse : spouses())
        brothersAndSisters << spouse->siblings();
    QList<FTPerson*> out;
    for (const FTPerson* sibling : std::as_const(brothersAndSisters))
        for (FTPerson* child : sibling->childrenOfType(9))
            appendNew(out, child);
    return out;
}

QList<FTPerson*> FTPerson::parentsInLaw() const
{
    QList<FTPerson*> out;
    for (const FTPerson* spouse : spouses())
        out << spouse->parentsOfType(9);
    return out;
}

QList<FTPerson*> FTPerson::childrenInLaw() const
{
    QList<FTPerson*> out;
    for (const FTPerson* child : childrenOfType(9))
        out << child->spouses();
    return out;
}

QList<FTPerson*> FTPerson::siblingsInLaw() const
{
    QList<FTPerson*> out;
    for (const FTPerson* spouse : spouses())
        for (FTPerson* sibling : spouse->siblings())
            appendNew(out, sibling);
    for (const FTPerson* sibling : siblings())
        for (FTPerson* spouse : sibling->spouses())
            appendNew(out, spouse);
    return out;
}

QList<FTPerson*> FTPerson::logicalStepChildren() const
{
    const QList<FTPerson*> own = naturalChildren();
    const QList<FTPcRel*> links = childRels();
    QList<FTPerson*> out;
    for (const FTSpouseRel* couple : spouseRelsArray()) {
        const FTPerson* partner = couple->partnerOf(this);
        const FTEvent* marriage = couple->marriage();
        const quint32 married = marriage ? marriage->lDate() : 0;
        if (!partner || married == 0)
            continue;
        for (FTPerson* child : partner->naturalChildren()) {
            if (own.contains(child))
                continue;
            const quint32 born = child->birth() ? child->birth()->lDate() : 0;
            if (born == 0 || born > married)
                continue;
            const quint32 died = child->death() ? child->death()->lDate() : 0;
            if (died != 0 && died < married)
                continue;
            const bool linked = std::any_of(
                links.cbegin(), links.cend(), [child](const FTPcRel* link) { return link->child() == child; });
            if (!linked)
                FTLog(
                    QStringLiteral("Missing Parent-StepChild rel for %1 -> StepChild = %2").arg(name(), child->name()));
            out << child;
        }
    }
    return out;
}

QList<Relative> FTPerson::loadChildRels() const
{
    QList<Relative> rows;
    for (const FTPcRel* link : childRels()) {
        FTPerson* child = link->child();
        const QString word = RelationshipWords::byGender(
            child, LocalizedString("Son"), LocalizedString("Daughter"), LocalizedString("Child"));
        rows << Relative(child, RelationshipWords::withTypeWord(link->intPcRelType(), word));
    }
    return rows;
}
