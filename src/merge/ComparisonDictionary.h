#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class FTPerson;
class QTextCursor;

// Two people side by side: each person reduced to one text per kind of data (its id, name, birth, parents,
// spouses, events, citations, pictures ...), keyed by the kind's label, and laid out as two texts in the same
// order. On the other database's side (side 1) the part of each text that differs from the open database's text
// (side 2) is highlighted, and the kinds that differ are counted.
//
//   const ComparisonDictionary::Details d = ComparisonDictionary::setPersonDetailsFor(theirs, ours, options);
//   ComparisonDictionary::append(cursor1, d.person1Details, formats);   // into the left view
//   d.numDifferences;
class ComparisonDictionary {
public:
    // label -> the person's text of that kind
    using Dictionary = QHash<QString, QString>;

    // A stretch of a side's text: bold for the labels, highlighted where side 1 differs.
    struct Range {
        int start = 0;
        int length = 0;
        friend bool operator==(const Range&, const Range&) = default;
    };
    struct SideText {
        QString text;
        QList<Range> bold;
        QList<Range> highlight;
    };
    struct Options {
        bool doubleSpaced = true; // an empty line between the kinds of data
        bool showDifferencesOnly = true; // kinds whose texts are equal are left out
        int matchMode = 0; // names the missing person on side 2: by name (0) or by id (1)
    };
    struct Details {
        Dictionary p1Dict, p2Dict;
        SideText person1Details, person2Details;
        int numDifferences = 0;
    };

    // The labels of the kinds of data, in the order they are shown.
    static QStringList dataTypes();
    // The person's texts. Some kinds are always there, empty when the person has nothing of them (birth, death,
    // parents, spouses, children, events, citations, pictures); the others only when the person has a value. A
    // null person gives the kinds that are always there, empty.
    static Dictionary loadDictionaryFor(const FTPerson* person);

    // One side's text (1: the other database's, highlighted where it differs; 2: the open database's). `differences`
    // receives the number of kinds that differ (side 1).
    static SideText makeSideText(
        int side, const Dictionary& p1Dict, const Dictionary& p2Dict, const Options& options, int* differences = nullptr);
    // A bold label and its value: "\n\n<label>: value", without the line feeds for the name's label.
    static SideText makeAttribString(const QString& label, const QString& value);
    // Both texts of a pair (either person may be null): side 2 without a person names side 1's person as the one
    // with no match.
    static Details setPersonDetailsFor(const FTPerson* person1, const FTPerson* person2, const Options& options);

    // Appends the text at the cursor: the labels in CompareFormats::bold(), the highlighted stretches with
    // CompareFormats::highlight() added, the rest in CompareFormats::plain().
    static void append(QTextCursor& cursor, const SideText& text);
};
