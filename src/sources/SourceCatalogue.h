#pragma once

#include <QList>
#include <QString>

#include <optional>

class FTMoc;
class FTSource;

// The catalogue of sources of one database, as the sources editor changes it: deleting, the active source,
// renumbering, the number counter, merging sources whose fields are equal, moving notes into empty titles, the
// notes format and the check of a typed source number. Questions and messages go through Prompts; the window only
// shows the outcome.
//
//   SourceCatalogue catalogue(moc);
//   if (catalogue.deleteSource(current)) ... the source and its citations are gone, the database saved
class SourceCatalogue {
public:
    explicit SourceCatalogue(FTMoc* moc)
        : m_moc(moc)
    {
    }

    // The one way a source leaves a database, whatever removes it (deleting, merging): "SourceToBeDeleted" is
    // posted with the source while it is still whole, the active source is cleared (and the toolbar told) when it
    // is this one, its citations are deleted, then the source. No question, no undo name, no save.
    static void deleteSourceRecord(FTSource* source);
    // Deleting a source whose citations went to `survivor` in a merge: its picture (with the transcription and
    // the picture's own citations) moves to the survivor when that has none. Then deleteSourceRecord().
    static void deleteMergedSource(FTSource* merged, FTSource* survivor);
    // Whether deleting `merged` after a merge into `survivor` would delete a picture: both have one, and a source
    // holds only one.
    static bool mergeLosesPicture(const FTSource* merged, const FTSource* survivor);

    // Deleting the editor's current source: without one "PleaseReselectSource"; with citations the user confirms
    // first ("OneCitationAssociated", or "MultipleCitationsAssociated" with the count). The deletion is named
    // "DeleteSource" for undo and saved. True when the source was deleted.
    bool deleteSource(FTSource* source);

    // The active source (cited by every new person, event and picture) with no page reference; the toolbar is
    // told. Without a source "PleaseReselectSource" and false.
    bool setAsActiveSource(FTSource* source);
    static void deactivateActiveSource(FTMoc* moc);
    void deactivateActiveSource() { deactivateActiveSource(m_moc); }

    // After the user confirms: the sources in number order get the numbers 1 to n (those in place untouched), and
    // the counter becomes n. Not saved, no undo name. True when done.
    bool renumberAll();

    // After the user confirms: the counter becomes the highest number in use ("resetMaxSourceIdSuccess"), or the
    // user is told it already is ("resetMaxSourceIdFail"). True when confirmed.
    bool resetMaxSourceId();

    // Merging sources whose eight texts are equal (an absent text and an empty one differ): `sources` are ordered
    // by mergeLess(), then each source equal to the one before it gives that one its citations and is deleted
    // (deleteMergedSource), so a run of equal sources merges into its first in one pass. Two equal sources that
    // both have a picture stay apart, so that no picture is lost; the log names them. The user is told what was
    // merged; when anything was, a log of the merges is written to "SourceMerge.txt" in the reports folder and
    // opened (a log that cannot be written or opened is reported, and the merges stand). Not saved.
    struct MergeResult {
        int merged = 0; // sources deleted
        int moved = 0; // citations moved
        int keptApart = 0; // equal sources not merged because both have a picture
        QList<FTSource*> remaining; // `sources` in merge order without the deleted ones
        QString logPath; // the log written, empty when none
    };
    MergeResult mergeAllEqualSources(const QList<FTSource*>& sources);
    // The order that puts equal sources next to each other: type, title, abbreviated title, author, date, location,
    // notes, publisher, each absent first, then ignoring case, then as written.
    static bool mergeLess(const FTSource* a, const FTSource* b);
    static bool haveEqualFields(const FTSource* a, const FTSource* b);

    // After the user confirms (it cannot be undone): each of `sources` with an empty title and notes gets the
    // trimmed notes as its title and no notes, written raw (no undo, no stamp), and its flags 0. Saves when any
    // changed and says how many. Answers the count, or nothing when the user cancelled.
    std::optional<int> moveNotesToTitle(const QList<FTSource*>& sources);

    // The notes format (user default "sourceNotesFormat"): defined from a notes text, and appended to one.
    static bool defineNotesFormat(const QString& notesText);
    // The new notes text: the format alone for empty notes, else the notes, a blank line and the format. Nothing
    // (after "DefineFormatTryAgain") when no format is defined.
    static std::optional<QString> appendNotesFormat(const QString& notesText);

    // A number typed for `source`: accepted when no other source has it (a number above the counter raises the
    // counter) and written to the source. A number of another source ("DuplicateSourceAlready") or a text that
    // is not a whole number from 1 ("SourceNumberNotANumber") is refused after a message: false, and the number
    // to put back into the field is in `restored`.
    bool setTypedNumber(FTSource* source, const QString& typed, QString* restored);

    // Before an edit of a field while `count` sources are selected: two or more are asked about first
    // ("EditAppliesToBoth", "AppliesToXNumberOfSources"). True when the edit may go on.
    static bool confirmEditOfSeveral(int count);

private:
    FTMoc* m_moc;
};
