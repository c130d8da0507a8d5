#pragma once

#include "gedcom/FTChildRec.h"

#include <QList>

class FTPerson;
class FTSpouseRel;

// A family as a GEDCOM file knows it. The database has no such record: the export makes one per couple (the
// children both partners share) and one per single parent (that parent's remaining children).
class FTFamily {
public:
    // The parent becomes the husband when male, else the wife; the spouse takes the other place.
    FTFamily(FTPerson* parent, FTPerson* spouse, FTSpouseRel* spouseRel);

    // Places the links by the gender of the first link's parent: a male parent's link is the father's.
    void addChild(FTPerson* child, const FTPerson* firstParent, FTPcRel* firstLink, FTPcRel* secondLink);

    qint64 numericId = 0;
    FTSpouseRel* spouseRel = nullptr;
    quint32 marriageDate = 0; // of the couple's marriage, read with the couple
    FTPerson* husband = nullptr;
    FTPerson* wife = nullptr;
    QList<FTChildRec> children;  // in the order added
};
