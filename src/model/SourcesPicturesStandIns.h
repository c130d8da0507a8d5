#pragma once

#include <QString>

class FTEvent;
class FTManagedObject;
class FTPerson;

// Stand-ins for labels of people and events that their own classes will give: the citation and picture code needs
// them now. Each says which member replaces it.
namespace SourcesPicturesStandIns {
// The name, then " (birth year - death year)" when either year is known. Replaced by
// FTPerson::nameWithBirthAndDeathYears().
QString nameWithBirthAndDeathYears(const FTPerson* person);
// The person of a personal event, the couple of a marriage or other marriage event. Replaced by FTEvent::owner().
FTManagedObject* eventOwner(const FTEvent* event);
// The title of an event's citation sheet: "Event = <name> of <owner>" (or "... of <one> and <other>" for a couple),
// then " on <date>" or " in <date>". Replaced by FTEvent::nameForSourceRefDialog().
QString eventNameForSourceRefDialog(const FTEvent* event);
}
