#pragma once

#include "editor/ChildInfo.h"

#include <QList>
#include <QString>

#include <functional>
#include <vector>

class FTManagedObject;
class FTMoc;
class FTPerson;

// The children of a couple as the family page and the family dialog list them, and what the user does with them
// there: the rows (the common natural children, then the empty new-child row), a child typed into the new-child
// row, a child deleted, and the commands of a child's context menu.
//
//   std::vector<ChildInfo> rows = FamilyChildren::rows(husband, wife);
//   if (FTPerson* child = FamilyChildren::createChild(moc, "Ann Smith", husband, wife)) ...
class FamilyChildren {
public:
    // With both partners, each of the husband's natural children (in his order: by birth, then name) that is also
    // the wife's; with one partner all of that partner's natural children; with neither, none. Children of one
    // partner only, and step, adopted or foster children, are not the couple's.
    static QList<FTPerson*> commonChildren(const FTPerson* husband, const FTPerson* wife);
    // One row per common child, then the new-child row.
    static std::vector<ChildInfo> rows(const FTPerson* husband, const FTPerson* wife);

    // The name typed into the new-child row, normalised as a child's name (the husband's family name may be
    // added). A blank name says "Name field may not be blank" and answers an empty text: nothing is made, and the
    // row can still be left.
    static QString newChildName(const QString& typed, const FTPerson* husband);
    // A child typed into the new-child row: its gender is the usual one of its first name in the database, else
    // "FemaleShort"; the user may discard a name already in use (the duplicate-name check, as a child of the
    // husband or, without one, of the wife). The child is made natural to both partners and
    // "CdArrayNeedsRefresh" is posted with the database. Null when nothing was made.
    static FTPerson* createChild(FTMoc* moc, const QString& name, FTPerson* husband, FTPerson* wife);
    // Deletes the child from the database, not only from the couple, once the user has confirmed it:
    // "PersonToBeDeleted" first, the undo action named, the person deleted, the database saved, "RefreshAllViews".
    // False when the deletion was refused.
    static bool deleteChild(FTPerson* child);

    // A child row's context menu.
    struct MenuItem {
        enum Action { PromoteToFocalPerson, Separator, AttachToActiveSource };
        Action action;
        QString title;
        // The child, or its birth or death event, for the citation items.
        FTManagedObject* object = nullptr;
    };
    // "Promote <name> to Focal Person", a separator, and the citations of the active source (its number, "?"
    // without one, and its type) for the child, its birth and its death when it has them.
    static QList<MenuItem> contextMenu(FTPerson* child);
    static void promoteToFocalPerson(FTPerson* child);
    // Cites the active source on a person or an event; without an active source the user is asked to activate
    // one, and `openSourcesEditor` runs when the user wants to.
    static void attachToActiveSource(FTManagedObject* object, const std::function<void()>& openSourcesEditor);
    // The family dialog of the child with a spouse: the one spouse, `chooseSpouse` among several (null: the user
    // chose none, and nothing opens), or none.
    static void displayChildsFamily(FTPerson* child, const std::function<FTPerson*(FTPerson* child)>& chooseSpouse);
};
