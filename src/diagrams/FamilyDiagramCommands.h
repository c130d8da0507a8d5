#pragma once

#include "diagrams/DiagramMenuBuilder.h"
#include "diagrams/DiagramMenuItem.h"

#include <QList>

class CdLayout;
class CdPerson;
class FTEvent;
class FTMoc;
class FTPerson;

// The family diagram's commands on people and boxes, as the context menu, the keys, the mouse and the People menu
// run them: delete and disconnect a person, attach existing people, add partners and associated people, copy a
// person from another database, cite the active source, clone the active event, project-view membership, the
// dialogs of other subsystems (through DiagramHooks and the model's RelativeDialogs), pasting pictures, the
// person's description and refocusing. Each command does nothing without its person, box or database; a refusal
// is a message (Prompts) and changes nothing.
//
//   FamilyDiagramCommands commands(view);                  // view: a FamilyDiagramCommands::Host
//   commands.perform(chosenItem);                           // a menu item's command on its represented object
//   commands.deletePerson(layout.findPerson(selected));
class FamilyDiagramCommands {
public:
    // What the commands need of the window that shows the diagram.
    class Host {
    public:
        virtual ~Host() = default;
        virtual FTMoc* moc() const = 0;
        virtual CdLayout& cdLayout() = 0;
        // The diagram's own selection and refocusing (they redraw and name the undo step).
        virtual void setSelectedPerson(FTPerson* person) = 0;
        virtual void setFocalPerson(FTPerson* person) = 0;
        virtual void setRefreshArray(bool refresh) = 0;
        // The entry before the current one in the window's history of focal people, or null.
        virtual FTPerson* previousFocalPerson() = 0;
        // The contexts of every open database, this one included.
        virtual QList<FTMoc*> openDatabases() const = 0;
        // The person editor shows its events page with the event selected.
        virtual void showEventInEditor(FTEvent* event) = 0;
    };

    explicit FamilyDiagramCommands(Host& host);

    // The context menu for the box under the pointer (null: the diagram's own menu), with the open databases and
    // the clipboard's pictures (none while the clipboard intake is not installed).
    DiagramMenu popupMenu(CdPerson* box) const;
    // Runs the item's command on its represented object. An object of another kind, or a hierarchy command, does
    // nothing.
    void perform(const DiagramMenuItem& item);

    // ---- Deleting and disconnecting ----
    // Deletes the box's person. An unconnected focal person hands the focus to the previous focal person (else the
    // first other person, with a message; the last person of a database is kept). Anyone else must pass the
    // deletion checks (FTPerson::confirmDeletionOfPerson); the selected person's selection moves to the box's
    // owner, and the database is saved at once. The undo step is "Delete <name with years>".
    void deletePerson(CdPerson* box);
    void disconnectPerson(FTPerson* person);

    // ---- Attaching existing people ----
    // By the empty slot's kind: a spouse, a child, or else a parent of the slot's owner.
    void attachExistingPerson(CdPerson* emptySlot);
    // The attach dialogs search by age: a person without a birth year is asked for one first.
    void attachExistingPersonAsChild(FTPerson* person);
    void attachExistingPersonAsParent(FTPerson* person);
    void attachExistingPersonAsSpouse(FTPerson* person);
    void attachExistingPersonAsSameSexSpouse(FTPerson* person);
    void addAssociatedPerson(FTPerson* person);
    void attachExistingPersonAsAssociatedPerson(FTPerson* person);
    void addSameSexSpouse(FTPerson* person);
    // With a request, copies its person; without, explains how a copy is made (and how many databases must be
    // closed first).
    void copyPersonFromOtherModel(const CdCopyRequest* request);

    // ---- Sources, events, project views ----
    void attachPersonToActiveSource(FTPerson* person);
    // Only an other personal event is cloned, to the selected person, with its citations.
    void activeEventClone(FTEvent* event);
    // Adds the person to the current project view, or takes a member out; an ancestral view is refused.
    void addPersonToProjectView(FTPerson* person);

    // ---- Windows ----
    void invokeHierarchyDiagram(FTPerson* person);
    void invokePcRelDialog(FTPerson* parent, FTPerson* child);
    // The family dialog of the couple `person` and `spouse` (the model's, through RelativeDialogs).
    void invokeFamilyDialog(FTPerson* person, FTPerson* spouse);
    // The association of an associated person's box with the person it hangs from.
    void invokeAssociatedPersonDialogFor(CdPerson* box);
    void displayPersonalTimeline();
    // The picture editor on the picture being paged (gPicNum) of the person.
    void editDefaultImageForPerson(FTPerson* person);
    void paste(FTPerson* person);
    void saveCdDiagram();
    void showMe(CdPerson* box);
    void helpForChangeGender(FTPerson* person);
    void displayScratchPad();
    void peopleIndexWindow();
    void setUserPreferences();
    void todoAdd();
    void mergeSelectedPersonFromAnotherDatabase(FTPerson* person);

    void promoteToFocalPerson(FTPerson* person);

private:
    using Action = DiagramMenuItem::Action;
    void attachFromPerson(FTPerson* person, Action which);

    Host& m_host;
};
