#pragma once

#include <QList>
#include <QString>

#include <functional>

class CdPerson;
class FTManagedObject;
class FTMoc;
class FTPerson;
class FTPicture;
class QMimeData;

// The windows of other subsystems that the diagrams open: the person editor's dialogs, the picture windows, the
// copy and merge windows, the sources window, the tools, the people index, the preferences and the hierarchy
// diagram. The diagrams cannot include those layers, so each owner installs its entry at start-up (src/app/
// main.cpp); tests install recording ones. A database is named by its context: the owner finds its document.
//
// A command whose entry is empty tells the user that the window is not available yet and changes nothing:
//
//   DiagramHooks& hooks = DiagramHooks::shared();
//   if (DiagramHooks::isAvailable(hooks.pcRelTypeDialog, LocalizedString("PcRelTypeDialogWindow")))
//       hooks.pcRelTypeDialog(parent, child);
struct DiagramHooks {
    // ---- The person editor's dialogs ----
    // The notes dialog of the person, opened on its tab `initialTab` ("1" notes ... "4" death notes), modal.
    std::function<void(FTPerson* person, const QString& initialTab)> notesDialog;
    // The parent-child type dialog of the link from `parent` to `child`, modal.
    std::function<void(FTPerson* parent, FTPerson* child)> pcRelTypeDialog;
    // The sheet that lists the person's links and deletes those the user ticks; returns when it has begun.
    std::function<void(FTPerson* person)> disconnectPerson;
    // The association of `associated` with `person`, modal.
    std::function<void(FTPerson* associated, FTPerson* person)> associatedPersonDialog;
    // A new partner of the same sex for the person, modal.
    std::function<void(FTPerson* person)> addSameSexPartner;
    // A new associated person of the database's selected person (`person`).
    std::function<void(FTPerson* person)> addAssociatedPerson;
    // Asks for a person already in the database and associates it with `person`.
    std::function<void(FTPerson* person)> attachExistingPersonAsAssociatedPerson;
    // Asks which of the person's spouses a family dialog is about, modal; null when the user chose none.
    std::function<FTPerson*(FTPerson* person)> selectSpouse;

    // ---- The pictures subsystem ----
    // The picture editor for one picture of its owner (a person or a source), as a sheet.
    std::function<void(FTManagedObject* owner, FTPicture* picture)> pictureEditor;
    // The title of `newPicture`, just made for `person` from `draggedPicture` (the same picture after a paste),
    // which gives it its date and notes; modal.
    std::function<void(FTPicture* draggedPicture, FTPicture* newPicture, FTPerson* person)> pictureTitle;
    // The clipboard's pictures: how many it offers (for the database `moc`), and taking them in as pictures of a
    // person (the new pictures, none when it offered none).
    std::function<int(FTMoc* moc)> imagesOnClipboard;
    std::function<QList<FTPicture*>(FTPerson* person)> addPicturesFromClipboard;
    // The same for a drag over the diagram: how many pictures (files, image data) it offers, and taking them in.
    std::function<int(const QMimeData& mime, FTMoc* moc)> imagesInDrag;
    std::function<QList<FTPicture*>(const QMimeData& mime, FTPerson* person)> addPicturesFromDrag;

    // ---- Compare, merge and copy ----
    // Copies `sourcePerson` (of the database `source`) into the database `target`, at the empty slot `targetBox`
    // of its family diagram, modal.
    std::function<void(FTPerson* sourcePerson, CdPerson* targetBox, FTMoc* source, FTMoc* target)>
        copyPersonFromOtherModel;
    // Merges a person of another database into `person`.
    std::function<void(FTPerson* person)> mergeSelectedPersonFromAnotherDatabase;

    // ---- Other windows ----
    std::function<void(FTMoc* moc)> sourcesWindow;
    // The to-do note of the database's selected person.
    std::function<void(FTPerson* person)> todoAdd;
    std::function<void(FTMoc* moc)> scratchPad;
    std::function<void(FTMoc* moc)> peopleIndex;
    std::function<void()> preferences;
    // The hierarchy diagram of the person's ancestors (true) or descendants.
    std::function<void(FTPerson* person, bool ancestors)> hierarchyDiagram;
    // Saves the database's family diagram (the whole window or the diagram alone).
    std::function<void(FTMoc* moc)> saveDiagram;

    static DiagramHooks& shared();

    // True when `hook` is installed; otherwise tells the user that the window (its localised name) is not
    // available yet.
    template <class Hook> static bool isAvailable(const Hook& hook, const QString& windowName)
    {
        if (hook)
            return true;
        sayNotAvailable(windowName);
        return false;
    }
    static void sayNotAvailable(const QString& windowName);
};
