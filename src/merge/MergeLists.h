#pragma once

#include "model/Relative.h"

#include <QList>

class FTEvent;
class FTPerson;

// The lists the merge windows show beside the two people: relatives and events.
//
// Relatives come parents first (fathers, then by link type and birth), then spouses, then children, each labelled
// with the link's type word and the gender word ("Step Father", "Wife", "Adopted Son"; "Parent", "Spouse" and
// "Child" for a person of neither gender). A row carries its link (pcRel or spouseRel) and flag 1 when the
// merge-into person has the same person in the same role: a relative there is nothing left to move.
//
//   QList<Relative> rows = MergeLists::relatives(duplicate, focal);
//   QList<FTEvent*> events = MergeLists::otherEvents(duplicate);
namespace MergeLists {
constexpr int kSharedRelative = 1;

QList<Relative> relatives(const FTPerson* person, const FTPerson* mergeIntoPerson);
// The person's other personal events, by date.
QList<FTEvent*> otherEvents(const FTPerson* person);
// For a merge from another database: the other personal events, then each couple's marriage and other marriage
// events, by date and then tag. Births and deaths are merged with the fields.
QList<FTEvent*> eventsWithMarriages(const FTPerson* person);
}
