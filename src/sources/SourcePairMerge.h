#pragma once

#include <QString>
#include <QStringList>

class FTSource;

// Two sources of one database, chosen in the sources editor, the first to be merged into the second: what differs
// between them, and the merge itself, which moves every citation of the first source to the second and then lets
// the user delete the emptied first source or keep it.
//
//   SourcePairMerge pair(selected[0], selected[1]);
//   label->setText(pair.differences());            // "SameFields", or "DifferentFields" and the names
//   if (pair.differs("title")) ... red
//   SourcePairMerge::Outcome done = pair.merge();   // asks, deletes or keeps, saves
class SourcePairMerge {
public:
    // The eight text fields shown for each source, in order; each is red while it differs.
    static const QStringList& shownFields();

    SourcePairMerge(FTSource* source1, FTSource* source2);

    // The source whose citations move (null once it was deleted), and the one that receives them.
    FTSource* source1() const { return m_source1; }
    FTSource* source2() const { return m_source2; }

    // The names of the attributes whose values differ, in the record's order: the number, the change stamp and
    // old thumbnails are left out, so two sources that differ only in number are the same.
    QStringList differentFields() const;
    bool differs(const QString& field) const;
    // The localized "SameFields", or "DifferentFields" followed by the names, "a, b and c" with the localized "and".
    QString differences() const;
    // "<NumRefs> = n": the citations of one of the sources.
    static QString citationCount(const FTSource* source);
    // The merge button: "MergeSource1" with the first source's number, "MergeSource2" with the second's.
    QString mergeButtonTitle() const;

    // Every citation of the first source cites the second from now on; answers how many moved.
    int moveCitations();
    // What the user is told after the move (with what deleting the first source does to its picture), and the
    // two answers offered.
    QString movedMessage(int moved) const;
    QString deleteButtonTitle() const;
    QString retainButtonTitle() const;

    // The whole merge: the citations move, then the user deletes the first source (SourceCatalogue::
    // deleteMergedSource: its picture goes to the second when that has none, and being active passes on) or keeps
    // it without citations; the database is saved. The move stands whichever is chosen.
    struct Outcome {
        int moved = 0;
        bool deleted = false;
    };
    Outcome merge();

private:
    FTSource* m_source1;
    FTSource* m_source2;
};
