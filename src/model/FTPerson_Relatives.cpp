#include "model/FTPerson.h"

#include "model/FTPcRel.h"

#include "platform/Localizer.h"

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
