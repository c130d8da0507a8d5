#pragma once

#include <QList>
#include <QString>

class FTPerson;

// The field groups both merge windows take from one person into another, one button each; the button's tag
// names the group. Replacing copies the merge-from value, an absent one too (the merge-into value is cleared).
// Appending leaves the merge-into text alone when the merge-from text is empty or absent; otherwise it becomes
// the merge-into text, a line end and the merge-from text, or the merge-from text alone when the merge-into
// person has none (an empty text counts as present: it gets the line end).
//
//   PersonFieldsMerge::mergeField(MergeTag::NotesAppended, duplicate, focal, false);
namespace MergeTag {
enum : int {
    Name = 501,
    Birth = 502, // date, place and notes
    Death = 503, // date, place and notes
    Title = 504,
    CauseOfDeath = 505,
    NotesReplaced = 506,
    NotesAppended = 507,
    CommentsReplaced = 508,
    CommentsAppended = 509,
    Relative = 510, // the relative selected in the merge-from list
    Event = 511, // the event selected in the merge-from list
};
}

namespace PersonFieldsMerge {
// Merges the group of `tag` (501 to 509) from `from` into `into`; false for any other tag. `nameAsStored`: the
// name is stored exactly as `from` has it, whatever the user default "uppercaseFamilyName" says (the default is
// switched off while the name is written and is as it was afterwards).
bool mergeField(int tag, const FTPerson* from, FTPerson* into, bool nameAsStored);

// The appended text (see above); a null text when nothing changes.
QString appended(const QString& into, const QString& from);

// The fields shown side by side, each with the key path it compares and the name of its colour.
struct Field {
    const char* colourField; // "p1NameColour" ...
    const char* keyPath; // "name", "birth.date" ...
};
const QList<Field>& fields();
// Whether the two people's values of the field differ (an absent and an empty text are alike).
bool differs(const FTPerson* from, const FTPerson* into, const Field& field);
// The text of a field of a person, empty when absent.
QString text(const FTPerson* person, const char* keyPath);
}
