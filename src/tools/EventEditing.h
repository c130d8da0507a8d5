#pragma once

#include <QList>
#include <QString>

#include <utility>

class FTEvent;
class FTPerson;
class FTSpouseRel;
class QObject;

// What the event editor decides about one event, apart from its window: the owner's label, which fields the
// event's kind allows, changing its type, the check of its name and type before the editor closes, the LDS status
// codes of each ordinance, and how many rows a drop-down list shows.
//
//   if (!EventEditing::typeIsEditable(event)) ...            // births, deaths and marriages keep their type
//   EventEditing::changeType(event, "CENS");                 // a default name follows the new type
//   QString status = typed;
//   if (!EventEditing::validateLdsStatus(event->subtype(), status)) ... // told why; keep editing
namespace EventEditing {

// The owner as the editor heads it: both partners of a couple's event, else the person with the years of birth and
// death.
QString eventOwnersName(const FTEvent* event, const FTPerson* person, const FTSpouseRel* spouseRel);
// Whether the event is not an LDS ordinance ("BAPL", "CONL", "ENDL", "SLGC", "SLGS"), so the LDS fields are hidden.
bool isNonLdsEvent(const FTEvent* event);
bool isNonDeathEvent(const FTEvent* event);
// Births, deaths and marriages keep their type and their name; an event without a type has nothing to change.
bool typeIsEditable(const FTEvent* event);

// Gives the event the type of the GEDCOM `tag`. A name that was the old type's own name becomes the new type's
// name; a name the user gave stays.
void changeType(FTEvent* event, const QString& tag);

// The editor closes only when the event has a type and the name field is not blank; otherwise the user is told
// ("FieldsAreMandatory", as a sheet on `window`, which may be null).
bool validateEventData(const QString& typedName, const QString& subtype, QObject* window = nullptr);

// The valid status codes of an LDS ordinance, each with the "Localizable" key of its meaning, in code order;
// empty for any other tag.
QList<std::pair<QString, QString>> ldsStatusCodes(const QString& subtype);
// The status typed for an ordinance: `status` is trimmed of blanks and line ends and put in capitals (in place).
// Blank, or a code of the ordinance's table, is accepted; anything else is refused with a message listing the
// valid codes.
bool validateLdsStatus(const QString& subtype, QString& status);

// How many rows a drop-down list shows: as many as fit into `room` (rows of `itemHeight` plus `spacing`), no more
// than there are `items`, and never fewer than 5.
int dropDownRowCount(double room, double itemHeight, double spacing, int items);
}
