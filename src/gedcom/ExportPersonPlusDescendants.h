#pragma once

#include "gedcom/ExportPersonPlusGenerations.h"

// The export of a person's descendants, up to a number of generations (100 to begin with), with their spouses.
//
//   ExportPersonPlusDescendants descendants(moc->focalPerson());
//   auto exporter = descendants.generateToGedcom();
class ExportPersonPlusDescendants : public ExportPersonPlusGenerations {
public:
    explicit ExportPersonPlusDescendants(FTPerson* focalPerson) : ExportPersonPlusGenerations(focalPerson, false, true) {}
    // The focal person, its descendants within the limit, and the spouses of each of them.
    QSet<FTPerson*> descendantsSet() const { return collectPeople(); }
};
