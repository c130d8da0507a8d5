#pragma once

#include "reports/NarrativeReportOptions.h"

#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>

class FTPerson;
class FTProjectView;
class RtfWriter;

// What a narrative report writes about one person, into an open report file: a full section (name, pictures,
// relationship to the selected person, birth, marriages and death, title and cause of death, parents, children,
// step children and siblings, for the selected person the wider family, citations, notes, comments and the
// events list), or one line when the options ask for one line per person, and the line that refers back to a
// person written before.
//
// Two layouts share it. Narrative (the ancestors, descendants and individual reports) numbers a person by
// generation ("-2." above the selected person, "2." below), indents each generation, gives each name an index
// entry and the relationship line the person's ahnentafel numbers. ByGeneration (the ancestors-by-generation
// report) numbers people by their first ahnentafel number ("?" for one the view does not number), indents
// nothing, lists the model's own events list and refers back by number.
//
// RTF control words are written as they are; every text of the user's (names, dates, places, notes, index
// entries) goes through RtfWriter::rtfText, so no value can end a group or start a control word.
//
//   NarrativePersonWriter person(writer, options, NarrativePersonWriter::Layout::Narrative, view, selected);
//   person.printIndividualsInfo(father, 1, 360);
class NarrativePersonWriter {
public:
    enum class Layout { Narrative, ByGeneration };

    // `view` numbers the people (the selected person's ancestral view); `selectedPerson` is generation 0.
    NarrativePersonWriter(RtfWriter& writer, const NarrativeReportOptions& options, Layout layout, FTProjectView* view,
        FTPerson* selectedPerson);

    // One person at generation `g`, indented in steps of `w` twips: the section, or the one line.
    void printIndividualsInfo(FTPerson* person, int g, int w);
    void printIndentedInfoFor(FTPerson* person, int g, int w);
    // The line after a person met again, in place of what lies beyond.
    void printReferAbove(FTPerson* person, int g, int w);

    void printPersonsName(FTPerson* person, int g, int w);
    void printPictureLine(FTPerson* person, int g, int w);
    void printPersonsRelationshipToSelectedPerson(FTPerson* person, int g, int w);
    void printPersonsBirthMarriageAndDeathInfo(FTPerson* person, int g, int w);
    void printRelatives(const QList<FTPerson*>& people, int g, int w, const QString& label);
    // The selected person's wider family.
    void printPersonsRelatives(FTPerson* person, int g, int w);
    void printPersonsSourceReferences(FTPerson* person, int g, int w);
    void printPersonsNotes(FTPerson* person, int g, int w);
    void printPersonsComments(FTPerson* person, int g, int w);
    void printPersonsEvents(FTPerson* person, int g, int w);
    // One default picture at `scale` (1 for the person and the spouses, 0.5 for children), its first name on
    // it, framed; raises `count` when it writes one. A saved map is left out when the options say so.
    void printDefaultPicture(FTPerson* person, const QImage& thumbnail, int* count, double scale);

    // ", Ahnentafel numbers = 10, 11" (in base 2 with the user default "binaryAhnentafelNumbers"), ", " for a
    // person without numbers, or ", 12 Ahnentafel paths from <root>" from 11 numbers on.
    QString ahnentafelNumbersText(const FTPerson* person) const;
    // The word for what `person`, `g` generations away, is to the selected person: "Father", "Great
    // Grandmother", "4x Great Grandson" ...
    QString relationshipWord(const FTPerson* person, int g) const;

    // The person's first ahnentafel number as text, "?" without one.
    QString firstNumberText(const FTPerson* person) const;
    // The first blank-separated word of a name; the whole name when it has none.
    static QString firstWord(const QString& name);
    // A person's default picture as stored (or made from its file, not stored): a report changes nothing.
    static QImage defaultThumbnail(const FTPerson* person);
    // The middle of a picture of `size` cut to a 3:4 portrait: the full height of a wider picture, the full
    // width of a taller one.
    static QRectF portraitCrop(const QSizeF& size);

    // Whether every write reached the file.
    bool ok() const { return m_ok; }

private:
    void write(const QString& rtf);
    QList<FTPerson*> childrenOf(const FTPerson* person) const;
    // Texts the two layouts word differently.
    QString isAliveText() const;

    RtfWriter& m_writer;
    NarrativeReportOptions m_options;
    Layout m_layout;
    FTProjectView* m_view;
    FTPerson* m_selected;
    QString m_selectedPersonsFirstName;
    QString m_currentPersonsFirstName;
    bool m_binaryNumbers;
    bool m_ok = true;
};
