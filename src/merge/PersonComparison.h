#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class FTPerson;
class FTSourceRel;
class QTextDocument;

// How a person of another database (the source, side 1) differs from a person of the open database (the target,
// side 2): the number of differences (0: the two are taken as identical), each difference as a finding, and a
// readable account for reports and the merge windows. The two people may belong to different databases; nothing
// is changed in either, but the picture and story data read for the comparison are let go again afterwards, so
// that comparing a whole database does not keep every picture in memory.
//
// What never counts: change stamps, record numbers and the extra fields (`extraData`) of any record, and the
// computed parts of a birth or death date (only the date as typed is compared). A birth, death or marriage with no
// date, place or notes counts as absent.
//
//   const PersonComparison c = PersonComparison::compare(theirs, ours);
//   if (c.count == 0) ... identical ...
//   PersonComparison::comparePerson(theirs, ours, &report);   // appends the account when they differ
class PersonComparison {
public:
    // The steps, in the order they run and write.
    enum class Step {
        Attributes,
        Birth,
        Death,
        OtherPersonalEvents,
        Parents,
        Children,
        Spouses,
        MarriageEvents,
        OtherMarriageEvents, // never differs: a couple's other events are not compared
        Pictures,
        Citations,
        Story,
    };
    enum class Kind {
        Count, // the two sides hold different numbers of things: sourceCount against targetCount
        Attributes, // fields of two records that are compared with each other differ: `attributes`
        OneSide, // something of one side has no equal on the other: `side`, `item`
        Differs, // the story differs or only one side has one
    };
    enum class Side { Both, SourceOnly, TargetOnly };

    struct Finding {
        Step step = Step::Attributes;
        Kind kind = Kind::Differs;
        Side side = Side::Both;
        // What the finding is about: a relative's name, an event's description, a picture's file name, a
        // citation's description; empty for the person's own fields.
        QString item;
        // The differing fields, by their stored names ("name", "date", "notes" ...).
        QStringList attributes;
        int sourceCount = 0;
        int targetCount = 0;
        // What the finding adds to the count.
        int differences = 1;
    };

    int count = 0;
    QList<Finding> findings;
    // The account of the differences, without its heading; empty when there are none.
    QString text;

    static PersonComparison compare(const FTPerson* source, const FTPerson* target);
    // compare(), and when the two differ the account appended to `account` (may be null): a heading naming both
    // people in red bold Arial, then the text in the document's plain format. Answers the count.
    static int comparePerson(const FTPerson* source, const FTPerson* target, QTextDocument* account);

    // A citation in one line, as both sides' citations are compared: the cited source, then its page, topic and
    // notes where they are given.
    static QString sourceRelDescription(const FTSourceRel* citation);
    // A stored value as the account writes it; "(null)" for none.
    static QString describeValue(const QVariant& value);
};
