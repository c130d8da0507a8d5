#pragma once

#include <QList>
#include <QString>

class FTEvent;
class FTMoc;
class FTPerson;
class Relative;

// Folding a duplicate person of the open database (the merge-from person) into the focal person (the merge-into
// person): fields copied, relatives, other events and citations moved one at a time, and the duplicate finally
// deleted. Every step changes the database at once and is one step of the document's undo, named "MergeTwoPeople"
// (the delete "Delete <name>"). Every refusal says why and changes nothing.
//
// What is moved keeps all it holds: a moved event takes its citations along, a moved couple its marriage events.
// Deleting the duplicate deletes what it still holds, and the question before it lists that by kind and count.
//
//   TwoPeopleMerge merge(moc, candidates);        // into: the focal person
//   merge.setMergeFromPerson(candidates.first());
//   merge.mergeField(MergeTag::Relative, &row, nullptr);
//   merge.mergeSourceReferences();
//   if (merge.deleteMergedPerson()) ...            // asked first
class TwoPeopleMerge {
public:
    TwoPeopleMerge(FTMoc* moc, const QList<FTPerson*>& candidates);

    FTMoc* moc() const { return m_moc; }
    FTPerson* mergeIntoPerson() const { return m_into; }
    FTPerson* mergeFromPerson() const { return m_from; }
    const QList<FTPerson*>& peopleArray() const { return m_candidates; }
    void setMergeFromPerson(FTPerson* person) { m_from = person; }

    // The button of `tag` (MergeTag): 501 to 509 the field groups, 510 the relative `selectedRelative` of the
    // merge-from list, 511 the event `selectedEvent` of the merge-from list. Nothing without a merge-from person.
    // Answers whether the database changed.
    bool mergeField(int tag, const Relative* selectedRelative, FTEvent* selectedEvent);

    // The row's relationship word decides: a father or mother is moved as a parent, a husband or wife as a
    // spouse, a son or daughter as a child. A relative of neither gender is not moved. Afterwards the merge-into
    // person is the focal person again (the diagram redraws around it).
    bool mergeSelectedRelative(const Relative* row);
    // Each refuses the merge-into person itself, a relative it already has in that role, and a link that would
    // make a loop: a parent who is its descendant, a child who is its ancestor; a natural parent also when it has
    // one of that gender. A parent keeps the link's type; a child becomes a step child; a spouse moves with the
    // couple's marriage events.
    bool mergeParent(FTPerson* parent);
    bool mergeChild(FTPerson* child);
    bool mergeSpouse(FTPerson* spouse);
    // The event (with its citations) belongs to the merge-into person. No event: "SelectEventTryAgain".
    bool mergeSelectedEvent(FTEvent* event);
    // The merge-from person's own citations (not those of its events) move to the merge-into person, but for
    // those equal to one it has (same source, page, topic, notes and certainty), which stay. Answers how many
    // moved, after saying so.
    int mergeSourceReferences();

    // What deleting `person` would delete with it.
    struct Holdings {
        int events = 0; // birth, death and other events
        int couples = 0; // its couples, partners staying
        int marriageEvents = 0; // those couples' events
        int parentLinks = 0;
        int childLinks = 0;
        int citations = 0; // its own, its events', its couples' events' and its pictures'
        int pictures = 0;
        int story = 0;
        int associations = 0;
        int ancestralView = 0;
    };
    static Holdings holdings(const FTPerson* person);
    // One line per kind that is not empty; empty when it holds nothing.
    static QString holdingsText(const Holdings& holdings);
    // Asks (OK / Cancel) with what the duplicate still holds, then deletes it; the views are told first
    // ("PersonToBeDeleted"). No merge-from person: "SelectMerger". Answers whether it was deleted.
    bool deleteMergedPerson();

    // Whether `person` descends from `root` along links of any type. Linked records may form loops: each person
    // is visited once, without recursion.
    static bool recurseCheckDescendantsOf(const FTPerson* root, const FTPerson* person);

private:
    template <class Step> bool asOneStep(const QString& actionName, Step step);
    bool mergeRelative(const Relative* row);

    FTMoc* m_moc;
    FTPerson* m_into;
    FTPerson* m_from = nullptr;
    QList<FTPerson*> m_candidates;
};
