#pragma once

#include <QSet>

class CdLayout;
class FTPerson;

// The people the family diagram shows, for the File menu's export of them to a GEDCOM file.
class DiagramPeople {
public:
    // The people of the boxes whose level is within the generations shown (maxAncLevel); empty slots are
    // skipped. With `allSpouses` every spouse of each of them too, whether the diagram shows that spouse or not.
    static QSet<FTPerson*> peopleToExport(const CdLayout& layout, bool allSpouses);
};
