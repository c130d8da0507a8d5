#pragma once

#include "model/Relative.h"

#include <QList>

class FTMoc;
class FTPerson;

// Every direct link of one person (parents, spouses or partners, children, associations) as a check list, and
// the deletion of the links ticked. Only the link records go; the people stay.
//
//   DisconnectLinks links(person);          // the list is built
//   links.relsArray()[2].setChecked(true);
//   links.disconnectSelectedPeople();       // deletes, saves, says "RefreshAllViews", builds the list again
class DisconnectLinks {
public:
    explicit DisconnectLinks(FTPerson* person);

    FTPerson* selectedPerson() const { return m_person; }
    const QList<Relative>& relsArray() const { return m_rows; }
    QList<Relative>& relsArray() { return m_rows; }

    // Parents (fathers first, then by link type, then by birth), couples, children, associations. An
    // association row names the other person of the association, whichever way it was made. No person: none.
    void createRelsArray();
    long loadParents(FTPerson* person);
    long loadSpouses(FTPerson* person);
    long loadChildren(FTPerson* person);
    long loadAssocs(FTPerson* person);

    // Deletes the ticked links in three passes (parent-child links, couples, associations), all under the first
    // undo name given. A couple who share a natural or step child stays, with a message for each. Then saves,
    // posts "RefreshAllViews" and builds the list again. Answers how many links were deleted.
    int disconnectSelectedPeople();

    // "Foster Mother", "Step Father", "Son": the label of a parent (true) or child row for its link type.
    static QString pcRelLabel(const FTPerson* relative, int pcRelType, bool parent);

private:
    Relative& addRelative(FTPerson* person, const QString& relationship);
    void nameUndoAction(const QString& verbKey, const FTPerson* person) const;

    FTPerson* m_person;
    FTMoc* m_moc;
    QList<Relative> m_rows;
};
