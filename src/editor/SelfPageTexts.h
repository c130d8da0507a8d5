#pragma once

#include "model/Dates.h"

#include <QDateTime>
#include <QList>
#include <QString>

class FTEvent;
class FTPerson;

// The texts of the person editor's own page that are worked out from the data: the titles of the birth and death
// notes buttons, the one-line summary of the person's other events, and what the birth-date check needs to know
// of the person's parents and children.
class SelfPageTexts {
public:
    // "NotesPresent" when there are notes, else "NoNotes" (localised).
    static QString notesButtonTitle(const QString& notes);
    // The person's other events and marriage events by date: each as "<tag> <date>" (the date's hyphens as
    // blanks; the tag alone without a date), joined by ",  ". Empty without events.
    static QString otherEventsSummary(const FTPerson* person);
    static QString otherEventsSummary(QList<FTEvent*> events);
    // One-line notes fields refuse text of several lines: those are edited in the notes dialog.
    static bool isMultiLine(const QString& notes);
    // The person as the birth-date check sees them, with the children and parents of every link type.
    static Dates::Person birthDateCheckPerson(const FTPerson* person);
    // The last change shown on the page ("dd MMM yyyy 'at' HH:mm"); empty for an invalid date.
    static QString lastChangeText(const QDateTime& when);
};
