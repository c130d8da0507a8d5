#include "gedcom/FTFamily.h"

#include "model/FTPerson.h"

FTFamily::FTFamily(FTPerson* parent, FTPerson* spouse, FTSpouseRel* couple) : spouseRel(couple)
{
    if (parent && parent->isMale()) {
        husband = parent;
        wife = spouse;
    } else {
        husband = spouse;
        wife = parent;
    }
}

void FTFamily::addChild(FTPerson* child, const FTPerson* firstParent, FTPcRel* firstLink, FTPcRel* secondLink)
{
    FTChildRec rec;
    rec.child = child;
    if (firstParent && firstParent->isMale()) {
        rec.fatherPcRel = firstLink;
        rec.motherPcRel = secondLink;
    } else {
        rec.fatherPcRel = secondLink;
        rec.motherPcRel = firstLink;
    }
    children.append(rec);
}
