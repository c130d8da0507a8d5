#pragma once

#include <QList>

class FTMoc;
class FTPerson;

// The people of another database that may be merged into the selected person of the open one: the same name,
// ignoring case and accents ("*" and "?" in the name match as wildcards), and the same gender, listed by name and
// life years. The one to choose first is the single candidate whose name and life years read exactly as the
// selected person's; with none or several, nobody is chosen.
//
//   QList<FTPerson*> people = SelectedPersonCandidates::search(other, selected);
//   int row = SelectedPersonCandidates::preselected(people, selected);   // -1: none
namespace SelectedPersonCandidates {
QList<FTPerson*> search(FTMoc* otherMoc, const FTPerson* selectedPerson);
int preselected(const QList<FTPerson*>& candidates, const FTPerson* selectedPerson);
}
