#pragma once

#include "gedcom/ExportPersonPlusGenerations.h"

// The export of a person's ancestors, up to a number of generations (100 to begin with).
//
//   ExportPersonPlusAncestors ancestors(moc->focalPerson());
//   ancestors.setNumGenerations(5);                 // the window's generation control
//   auto exporter = ancestors.generateToGedcom();   // then shown as the export sheet
class ExportPersonPlusAncestors : public ExportPersonPlusGenerations {
public:
    explicit ExportPersonPlusAncestors(FTPerson* focalPerson) : ExportPersonPlusGenerations(focalPerson, true, false) {}
    // The focal person and its ancestors within the limit.
    QSet<FTPerson*> ancestorsSet() const { return collectPeople(); }
};
