#pragma once

#include "sources/SourceLabel.h"

#include <QList>
#include <QString>
#include <QStringList>

// The label sets offered beside a source's notes (user default "sourceNotesLabels"): each set is a run of labels,
// every label followed by a colon and a blank ("Film: Item: Frame: "). Choosing a set inserts its labels one per
// line, so that the user types each value after its colon.
class SourceNotesLabels {
public:
    // The stored sets, in stored order.
    static QStringList labelSets();
    // A typed row in the stored form: commas removed, semicolons separate labels like colons, blanks before a
    // colon and doubled colons dropped, a colon and a blank after every label. Empty for a row of blanks.
    //   "Volume; Page, Line" -> "Volume: Page Line: "      "Film :: Item :" -> "Film: Item: "
    static QString normalisedLabel(const QString& typed);
    // The editor's rows as stored sets: normalised, empty rows dropped, sorted ignoring case.
    static QStringList normalisedLabelSets(const QList<SourceLabel>& rows);
    // Stores the rows (normalisedLabelSets), replacing the old sets.
    static void saveLabels(const QList<SourceLabel>& rows);
    // The text a set inserts: each label on a line of its own ("Film: \nItem: \n").
    static QString textToInsert(const QString& labelSet);
};
