#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class FTSource;

// Bringing the fields of a source of another database into a source of the open database: the source here with
// the same title (ignoring letter case), the fields of the other source that differ (a field it lacks never
// differs; the number counts as a field but is never merged), and the merge of the eight texts as one undoable
// action "MergeSourceFromDb". Nothing is saved.
//
//   QList<int> rows = SourceFieldsMerge::findMatch(openDatabaseSourcesByTitle, otherSource);
//   SourceFieldsMerge::Comparison c = SourceFieldsMerge::highlightDifferences(otherSource, target);
//   SourceFieldsMerge::merge(otherSource, target);      // tells the user how many fields were merged
class SourceFieldsMerge {
public:
    // The nine fields compared, in order: the number, then the eight texts merged.
    static const QStringList& comparedFields();
    static const QStringList& mergedFields();

    // The positions in `sources` of those whose title equals `source`'s ignoring letter case (a source without a
    // title matches those without one).
    static QList<int> findMatch(const QList<FTSource*>& sources, const FTSource* source);

    struct Comparison {
        QList<bool> different; // one per compared field
        int count = 0;
        QString message; // "3 fields are different.", or "SourceAndTargetSame"
    };
    // `source1` of the other database against `source2` here (either may be null).
    static Comparison highlightDifferences(const FTSource* source1, const FTSource* source2);

    // Each text of `source1` that is present and differs replaces `source2`'s, all in one undo action; the user
    // is told how many. Without either source the user is asked to select one, and nothing happens (no value).
    static std::optional<int> merge(const FTSource* source1, FTSource* source2);
};
