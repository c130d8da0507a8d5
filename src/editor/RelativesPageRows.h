#pragma once

#include "model/Relative.h"
#include "model/Relatives.h"

#include <QList>
#include <QString>

class FTPerson;

// The rows of the person editor's relatives page and of its immediate-family page, their headings and the
// widths of their columns.
//
//   long count = 0;
//   QList<Relative> rows = RelativesPageRows::relatives(person, Relatives::Options::fromUserDefaults(), &count);
class RelativesPageRows {
public:
    // Every group the options choose, a separator after each group that added rows (none after the last, the
    // siblings-in-law); `count` gets the number of people listed. No person: no rows and a count of 0.
    static QList<Relative> relatives(FTPerson* person, const Relatives::Options& options, long* count = nullptr);
    // Parents, the person, spouses, children and siblings, a separator after each of the first four that added
    // rows (always after the person). No person: no rows.
    static QList<Relative> family(FTPerson* person);

    // "Relatives of <name>" and "Family of <name>"; empty without a person.
    static QString relativesHeading(const FTPerson* person);
    static QString familyHeading(const FTPerson* person);

    // The text columns of both pages, in order, by identifier.
    enum Column { Relationship, Name, BirthDate, BirthPlace, DeathDate, DeathPlace, AgeAtDeath, ColumnCount };
    static QString identifier(int column);
    // The widths of the text columns for a visible width `w`: fixed shares of 930, whole points; the age at
    // death takes what the others leave.
    static QList<int> columnWidths(int w);
    // Widens the columns narrower than their minimum (a date must show whole) with room taken from the others in
    // proportion to what each has above its own minimum; the total stays the same when it can.
    static QList<int> fitMinimums(QList<int> widths, const QList<int>& minimums);
    // The person field an editable column writes (PersonFields' tag), -1 for a column that cannot be edited.
    static int fieldTag(int column);

    // The menu item that makes a relative the focal person: "Promote <name> to focal<tab>Ctrl+Click".
    static QString promoteMenuTitle(const FTPerson* person);
};
