// The people and relationship records that go along with the person copied: the ancestors with their spouses
// (and, on request, the descendants of those ancestors), or the descendants with their spouses. The user is
// asked about each newcomer whose name the target already holds; one said to be there is left out, and so are
// the links that would need them.
#include "merge/PersonCopier.h"

#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

bool PersonCopier::declaredPresent(FTPerson* p, const CopySet& set)
{
    return !set.contains(p) && personExistsInTargetModel(p);
}

PersonCopier::CopySet PersonCopier::createAncestorsSetFor(FTPerson* person)
{
    CopySet set;
    set.add(person);
    recurseAncestorsOf(person, set);
    addSpousesOfAncestorsInSet(set);
    if (includeDescendantsOfAncestors)
        addDescendantsOfAncestorsInSet(set);
    return set;
}

void PersonCopier::recurseAncestorsOf(FTPerson* p, CopySet& set)
{
    if (!personIsSelected(p))
        return;
    if (p != m_initialSourcePerson && declaredPresent(p, set))
        return;
    // A parent joins before its own row is looked at: a parent whose row is not selected comes without its parents.
    for (FTPcRel* link : p->parentRels()) {
        FTPerson* parent = link->parent();
        if (!parent || declaredPresent(parent, set))
            continue;
        set.add(link);
        if (!set.contains(parent)) {
            set.add(parent);
            recurseAncestorsOf(parent, set);
        }
    }
}

void PersonCopier::addSpousesOfAncestorsInSet(CopySet& set)
{
    const QList<FTPerson*> ancestors = set.people;
    for (FTPerson* p : ancestors) {
        if (p == m_initialSourcePerson)
            continue;
        for (FTSpouseRel* couple : p->spouseRelsArray()) {
            FTPerson* partner = couple->partnerOf(p);
            if (partner && declaredPresent(partner, set))
                continue;
            set.add(couple);
            if (partner && !set.contains(partner)) {
                set.add(partner);
                recurseAncestorsOf(partner, set);
            }
        }
    }
}

void PersonCopier::addDescendantsOfAncestorsInSet(CopySet& set)
{
    const QList<FTPerson*> ancestors = set.people;
    for (FTPerson* p : ancestors)
        recurseChildrenOf(p, set);
}

void PersonCopier::recurseChildrenOf(FTPerson* p, CopySet& set)
{
    for (FTPcRel* link : p->childRels()) {
        FTPerson* child = link->child();
        if (!child)
            continue;
        if (p == m_initialSourcePerson && isSourcePersonsChildInTarget(p, child))
            continue;
        if (declaredPresent(child, set))
            continue;
        set.add(link);
        if (set.contains(child))
            continue;
        set.add(child);
        recurseChildrenOf(child, set);
        for (FTSpouseRel* couple : child->spouseRelsArray()) {
            FTPerson* partner = couple->partnerOf(child);
            if (partner && declaredPresent(partner, set))
                continue;
            set.add(couple);
            if (partner && !set.contains(partner)) {
                set.add(partner);
                recurseChildrenOf(partner, set);
            }
        }
    }
}

bool PersonCopier::isSourcePersonsChildInTarget(const FTPerson* p, const FTPerson* child) const
{
    const FTPerson* copy = copyOf(p);
    if (!copy)
        return false;
    for (const FTPerson* there : copy->childrenOfType(-1))
        if (there->name().compare(child->name(), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

PersonCopier::CopySet PersonCopier::createDescendantsSetFor(FTPerson* person)
{
    CopySet set;
    recurseDescendantsOf(person, set);
    return set;
}

void PersonCopier::recurseDescendantsOf(FTPerson* p, CopySet& set)
{
    if (!personIsSelected(p))
        return;
    if (p != m_initialSourcePerson && declaredPresent(p, set))
        return;
    set.add(p);
    if (!m_includeDescendants)
        return;
    for (FTSpouseRel* couple : p->spouseRelsArray())
        set.add(couple);
    for (FTPerson* spouse : p->spouses())
        set.add(spouse);
    for (FTPcRel* link : p->childRels()) {
        FTPerson* child = link->child();
        if (!child || !personIsSelected(child))
            continue;
        set.add(link);
        for (FTPcRel* parentLink : child->parentRels())
            if (set.contains(parentLink->parent()))
                set.add(parentLink);
        if (!set.contains(child))
            recurseDescendantsOf(child, set);
    }
}
