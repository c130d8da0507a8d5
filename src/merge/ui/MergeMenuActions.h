#pragma once

#include <QList>

class AppController;
class CdPerson;
class DOvurDocument;
class FTMoc;
class FTPerson;
class QDialog;
class QWidget;

// The menu commands of comparing and merging, in a menu "Merge" of their own. Each works on the current
// document; without one that has a main window it does nothing.
//
//   MergeMenuActions::registerMenuItems(controller);   // once at start-up, before the first menu bar is made
//   MergeMenuActions::install();                        // the hooks other subsystems call
class MergeMenuActions {
public:
    static void registerMenuItems(AppController& app);
    // The hooks of the merge windows that other subsystems open: the family diagram's copy from the other
    // database, and its merge of a person from another database into the person of a box.
    static void install();

    // Merge > "Compare and Merge...": saves, offers a backup (a warning when none is made), then opens the
    // compare-and-merge window beside the main window.
    static void compareAndMerge();
    // The compare-and-merge window for a document.
    static QWidget* makeCompareAndMerge(DOvurDocument& doc);

    // The family diagram's empty box `targetBox` takes `sourcePerson` of the other open database `source`: the copy
    // window, modal over the target's main window.
    static void copyPersonFromOtherModel(FTPerson* sourcePerson, CdPerson* targetBox, FTMoc* source, FTMoc* target);

    // People > "Find Duplicate People...": saves, then the duplicate-people sheet on the main window.
    static void findDuplcatePeople();

    // Merge > "Merge a Person from Another Database...": saves, then opens the window that merges a person of
    // another database into `person` (the selected person when none is given) beside the main window.
    static void mergeSelectedPersonFromAnotherDatabase(FTPerson* person = nullptr);
    // Merge > "Merge Two People...": the candidates of the focal person (or the warning why there are none), the
    // merge-two-people window run modally, then a save and every view refreshed.
    static void mergeTwoPeopleWithinTheCurrentDatabase();
    static QDialog* makeMergeTwoPeople(FTMoc* moc, const QList<FTPerson*>& candidates);
};
