#pragma once

#include <functional>

class FTAssociation;
class FTMoc;
class FTPerson;

// What the People menu's commands do to the database once their windows have answered.
//
//   // the add-person sheet has ended with `added` (null when the user cancelled)
//   PeopleCommands::personAdded(added, PeopleCommands::AddedAs::Unconnected);
class PeopleCommands {
public:
    enum class AddedAs {
        Associated, // selected, the undo group named "Select <name (years)>"
        Unconnected, // made the focal person, the undo group named "FocusOn <name (years)>"
    };
    // After an add-person sheet: the new person is selected or focal in an undo group of its own. A null person
    // (the sheet was cancelled) changes nothing and names no group. True when something was done.
    static bool personAdded(FTPerson* person, AddedAs as);

    // Attaching an existing person as an associated person of the focal person: `selectExistingPerson` runs the
    // chooser and answers the chosen person (null when cancelled); the association from the focal person to the
    // chosen one is made, then `associatedPersonDialog` is run on it (that one: the two may have others already).
    // No choice, or the focal person chosen, makes no association and runs no dialog. Answers the association made,
    // if any.
    static FTAssociation* attachExistingPersonAsAssociatedPerson(FTMoc* moc,
        const std::function<FTPerson*()>& selectExistingPerson,
        const std::function<void(FTAssociation* made)>& associatedPersonDialog);

    // The People menu's attach-as-child, -parent and -spouse commands only tell the user where that is done.
    static void attachingPersonAdvice();
};
