#pragma once

class AppController;

// Installs the person editor at start-up: the editor's pages, the editor as the lower pane of every database's
// main window, and the model's question about the page shown.
void installPersonEditor();

// Installs the dialogs that type, complete and attach relatives wherever lower layers open them: the model's
// RelativeDialogs (add-child, add-parent, the attach dialogs and the family dialog) and the family diagram's
// entries for the parent-child type, same-sex partner, select-spouse, disconnect and association dialogs.
void installRelationshipDialogs();
// Removes what installRelationshipDialogs() installed.
void uninstallRelationshipDialogs();

// The People menu's "Add Unconnected Person...": the sheet on the front database's main window, after which the
// new person becomes the focal person; "Add Associated Person...": the sheet that makes a person associated with
// the focal person, who then becomes the selected person; "Attach Existing Person as Associated Person...": the
// chooser, then the association dialog.
void registerPersonEditorMenuItems(AppController& controller);
void addUnconnectedPerson();
void addAssociatedPerson();
void attachExistingPersonAsAssociatedPerson();
