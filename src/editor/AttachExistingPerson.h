#pragma once

#include <QString>

class FTPerson;

// What the attach dialogs do when the user confirms the chosen candidate: the type of each new link, the question
// about a step link, the links themselves and the messages about those the family database refuses.
//
//   if (AttachExistingPerson::attachChild(parent, candidate))   // false: the user cancelled, or it was refused
//       closeTheDialog();
class AttachExistingPerson {
public:
    // The type of the link from `parent` to `candidate`: natural, unless the candidate already has a natural
    // parent of the parent's gender; then step, with the warning the user is asked about in `warning`.
    static int childLinkType(const FTPerson* parent, const FTPerson* candidate, QString* warning = nullptr);
    // The type of the link from one of the parent's spouses to the child attached to the parent: natural only
    // while the child has no natural parent of the spouse's gender (the links just made count), else step. A
    // spouse of unknown gender is a step parent.
    static int spouseLinkType(const FTPerson* spouse, const FTPerson* child);
    // Attaches `candidate` as a child of `parent`, and of each of the parent's spouses: a step link to the parent
    // is first put to the user ("Continue" / "Cancel"); a link the family database refuses is reported with its
    // reason. Then the child's details dialog runs and every view refreshes. False, with nothing changed, when
    // the user cancels or the parent's own link is refused: the dialog stays open.
    static bool attachChild(FTPerson* parent, FTPerson* candidate);

    // The type of the link from `candidate` to `child`: natural when the candidate is a man and the child has no
    // natural father, or a woman and the child has no natural mother; step otherwise.
    static int parentLinkType(const FTPerson* candidate, const FTPerson* child);
    // Attaches `child` to `candidate` with that type (an ancestor is refused, with the family database's message)
    // and refreshes every view.
    static void attachParent(FTPerson* candidate, FTPerson* child);

    // Makes the two a couple, says so ("AttSpouseInfo") and refreshes every view.
    static void attachSpouse(FTPerson* person, FTPerson* candidate);
};
