#pragma once

#include "model/CitationDialogs.h"

#include <QList>
#include <QString>

#include <functional>

class FTManagedObject;
class FTSource;
class FTSourceRel;

// Citing a source from a person, an event or a picture. The owners differ only in which citations are their own,
// what a new citation describes, the messages and the sheet; the steps are the same:
//  1. among the owner's citations, those of the source: one is taken, saying so (oneFound); of several the first
//     is taken, asking the user to amalgamate them (severalFound with their number);
//  2. none: a new citation (FTSourceRel::initInMoc with the owner and itemDescribed), and the context is saved;
//  3. unless a GEDCOM import or a copy from another database runs, the sheet of `kind` opens on the citation
//     (CitationDialogs) and calls `didEnd` when it closes.
// Steps 1-2 and step 3 each report an exception (ModelHooks::reportCurrentException, "addReferenceToSource_1" and
// "addReferenceToSource_2") and go on: the answer is the citation taken or made, null for a null source.
//
//   SourceCiting { CitationDialogs::Kind::Picture, this, sourceRels(), description, one, several }.cite(source);
struct SourceCiting {
    CitationDialogs::Kind kind;
    FTManagedObject* owner = nullptr;
    QList<FTSourceRel*> ownCitations;
    QString itemDescribed;
    std::function<QString()> oneFound;
    std::function<QString(int count)> severalFound;
    std::function<void()> didEnd;

    FTSourceRel* cite(FTSource* source) const;
};
