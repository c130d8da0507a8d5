#pragma once

#include <QList>
#include <QString>

#include <optional>

class FTEvent;

// Re-reading the date text that events kept from a GEDCOM import (FTEvent::gedcomDate) in the order of day, month
// and year that the user names, for an import that read them in the wrong order. Each event whose text gives a
// valid date in that order gets it as its date, unless it has that date already; a text that gives no valid date
// leaves its event alone. An event without such a text (or with a text of no words, or of more than four) ends
// the run: the events before it are done, those after it are not.
//
//   EventDatesEditing::Outcome done = EventDatesEditing::interpretGedcomDate(selected, EventDatesEditing::MDY);
namespace EventDatesEditing {

enum Mode { DMY = 1, MDY = 2, YMD = 3 };

// A date read from a GEDCOM text: the qualifier (0 none, 1 about, 2 before, 3 after, -1 a word that is none of
// them), day, month (-1 a word that names no month) and year.
struct Reading {
    int qual = 0;
    int day = 0;
    int month = 0;
    int year = 0;
};
// The text read in `mode`; nothing when it ends the run (empty, "Y", no words or more than four).
std::optional<Reading> readGedcomDate(const QString& text, Mode mode);

struct Outcome {
    int changed = 0;      // events given a new date
    int read = 0;         // events looked at before the run ended
    bool stopped = false; // an event without a readable text ended the run
};
// Reads the events' texts in their order (the table's) and sets the dates that changed.
Outcome interpretGedcomDate(const QList<FTEvent*>& events, Mode mode);
}
