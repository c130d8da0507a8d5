#pragma once

class FTPerson;

// The dialogs of the person editor that the model opens while it creates and attaches relatives. The model cannot
// include a window, so the editor installs the real dialogs at start-up and tests install a recording one. Each
// call runs its dialog modally and returns when the dialog has closed; with nothing installed no dialog opens.
//
//   if (RelativeDialogs* dialogs = RelativeDialogs::current())
//       dialogs->addChild(child);
class RelativeDialogs {
public:
    virtual ~RelativeDialogs() = default;

    // The add-child dialog on a new child: it edits the types of the child's links to each parent.
    virtual void addChild(FTPerson* child) = 0;
    // The add-parent dialog: `parent` was just made a parent of `child` with `pcRelType`; `spouse` is the other
    // parent it was joined to, or null.
    virtual void addParent(FTPerson* child, FTPerson* parent, int pcRelType, FTPerson* spouse) = 0;
    // The dialogs that attach a person already in the database as a child of `parent`, a parent of `child`, or a
    // spouse of `person` (`sameSex`: the spouse may be of the same gender).
    virtual void attachExistingPersonAsChild(FTPerson* parent) = 0;
    virtual void attachExistingPersonAsParent(FTPerson* child) = 0;
    virtual void attachExistingPersonAsSpouse(FTPerson* person, bool sameSex) = 0;
    // The family dialog of the couple `person` and `spouse`.
    virtual void family(FTPerson* person, FTPerson* spouse) = 0;
    // Whether the front document's person editor shows its family page (the family dialog is then left out,
    // unless the user default "alwaysShowFamilyDialog" is on).
    virtual bool isShowingFamilyPage() const { return false; }

    // The installed dialogs, or null.
    static RelativeDialogs* current();
    // Installs `dialogs` (not owned); nullptr removes them.
    static void install(RelativeDialogs* dialogs);
};
