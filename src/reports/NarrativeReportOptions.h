#pragma once

#include <QDateTime>

// What a narrative report writes: the report type, how many generations, the thirteen choices of its window and
// the moment its title names. The ancestors, descendants and individual reports start each opening of their
// window from forType(); the ancestors-by-generation report reads its choices from the "ar" user defaults.
//
//   NarrativeReportOptions options = NarrativeReportOptions::forType(NarrativeReportOptions::Descendants);
//   options.numGenerations = 4;
//   options.oneLinePerPerson = true;
struct NarrativeReportOptions {
    enum ReportType { Ancestors = 0, Descendants = 1, Individual = 2 };

    int reportType = Ancestors;
    // The deepest generation written; the selected person is generation 0.
    int numGenerations = 100;

    // The wider family (grandparents, cousins, in-laws ...) in the selected person's section.
    bool printRelsOfSelectedPerson = true;
    bool bPrintComments = true;
    // Off: a living person's birth date and place give way to a word.
    bool bIncludeLivingBirthDates = false;
    // A picture line with the person's and the spouses' default pictures ...
    bool includeDefaultPicture = true;
    // ... and the children's.
    bool includeChildrensPictures = true;
    // A default picture that is a saved map (its file name holds "/Map_") is left out.
    bool excludeGoogleMaps = true;
    // Step children and step parents bring their events into a person's events list.
    bool showStepRels = false;
    bool oneLinePerPerson = false;
    bool cropImagesTo4x3Portrait = false;
    // Descendants and children include adopted children.
    bool showAdoptedChildrenAsNaturalChildren = true;
    // Event notes as numbered notes after a person's events list instead of inside its rows.
    bool showEventNotesAsEndnotes = true;
    bool includeSourceRefs = true;
    bool includeAhnentafelNumbers = true;
    // Children's births and deaths and parents' deaths join a person's events list (user default
    // "includeRelatedEvents", or "arIncludeRelatedEvents" for the by-generation report).
    bool includeRelatedEvents = true;

    // The moment the title names; now when not set (tests fix it).
    QDateTime moment;

    // The first values of one opening of the narrative report's window; the individual report writes generation
    // 0 only. The end-notes choice is the one the last window closed with (appendEventNotes()).
    static NarrativeReportOptions forType(int reportType);
    // The choices of the ancestors-by-generation report, from the "ar" user defaults; 16 generations.
    static NarrativeReportOptions fromAncestorsReportDefaults();

    // The end-notes choice carried from one narrative report window to the next while the program runs; on at
    // start.
    static bool& appendEventNotes();
};
