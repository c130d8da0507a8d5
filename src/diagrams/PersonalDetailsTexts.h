#pragma once

#include <QString>

class FTPerson;

// What the hierarchy diagram's small details window says of its person beyond the person's own description: the
// blood relationship to the root of the database's current project view, and the titles of the notes buttons.
class PersonalDetailsTexts {
public:
    // The notes buttons, by the tags that tell them apart.
    enum NotesButton { PersonNotes = 1000, BirthNotes = 1001, DeathNotes = 1002, Comments = 1003 };

    // What the person is to the root of the current project view ("1st cousin of ..."); with no blood
    // relationship, "No blood relationship to <the root's name with years>". Empty for the root itself, without a
    // person, without a current view or when the view has no root.
    static QString consanguinity(FTPerson* person);
    // The button's title: whether the text it opens holds anything ("NotesPresent" or "NoNotes", "CommentsPresent"
    // or "NoComments"); empty without a person.
    static QString notesButtonTitle(const FTPerson* person, NotesButton button);
    // The notes dialog's tab the button opens ("1" the person's notes, "2" comments, "3" birth notes, "4" death
    // notes); empty for any other tag.
    static QString notesTab(int tag);
};
