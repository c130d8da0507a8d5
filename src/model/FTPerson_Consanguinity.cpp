#include "model/FTPerson.h"

#include "model/NaturalLinks.h"

#include "platform/Localizer.h"

#include <algorithm>

// Blood relationships are found through natural links only. Every walk goes one whole generation at a time and
// never takes a person it has already taken, so a loop of links (which an import can bring in) ends the walk
// instead of trapping it.

namespace {
using NaturalLinks::appendNaturalParents;

// The natural parents of a generation that have not been seen yet; they are marked seen.
QList<FTPerson*> nextGeneration(const QList<FTPerson*>& generation, QSet<FTPerson*>& seen)
{
    QList<FTPerson*> parents;
    QList<FTPerson*> out;
    for (const FTPerson* person : generation) {
        parents.clear();
        appendNaturalParents(person, parents);
        for (FTPerson* parent : std::as_const(parents))
            if (!seen.contains(parent)) {
                seen.insert(parent);
                out << parent;
            }
    }
    return out;
}

QList<FTPerson*> distinct(const QList<FTPerson*>& people, QSet<FTPerson*>& seen)
{
    QList<FTPerson*> out;
    for (FTPerson* p : people)
        if (p && !seen.contains(p)) {
            seen.insert(p);
            out << p;
        }
    return out;
}

// "st", "nd", "rd" or "th" for the number written before "cousin".
QString ordinal(int number)
{
    const int lastTwo = number % 100;
    if (lastTwo < 11 || lastTwo > 13) {
        switch (number % 10) {
        case 1:
            return LocalizedString("First");
        case 2:
            return LocalizedString("Second");
        case 3:
            return LocalizedString("Third");
        default:
            break;
        }
    }
    return LocalizedString("nth");
}

QString times(int d)
{
    if (d == 1)
        return LocalizedString("once");
    if (d == 2)
        return LocalizedString("twice");
    return QStringLiteral("%1 %2").arg(d).arg(LocalizedString("nTimes"));
}

enum class Sex { Male, Female, Neither };

Sex sexOf(const FTPerson* p)
{
    return p->isMale() ? Sex::Male : p->isFemale() ? Sex::Female : Sex::Neither;
}

QString pick(Sex sex, const QString& male, const QString& female, const QString& neither)
{
    return sex == Sex::Male ? male : sex == Sex::Female ? female : neither;
}

// What someone `m` generations below the common ancestor on the nearer side and `d` generations further on
// the other is to this person; `older`: the other person stands in the older generation.
QString label(int m, int d, bool older, Sex sex)
{
    if (m == 0) {
        if (d == 0)
            return LocalizedString("SamePerson");
        if (d == 1)
            return older ? pick(sex, LocalizedString("Father"), LocalizedString("Mother"), LocalizedString("Parent"))
                         : pick(sex, LocalizedString("Son"), LocalizedString("Daughter"), LocalizedString("Child"));
        const QString grand = older
            ? pick(sex, LocalizedString("Grandfather"), LocalizedString("Grandmother"), LocalizedString("Grandparent"))
            : pick(sex, LocalizedString("Grandson"), LocalizedString("Granddaughter"), LocalizedString("Grandchild"));
        if (d == 2)
            return grand;
        return QStringLiteral("%1%2%3").arg(d - 2).arg(LocalizedString("generationalAbbrev"), grand);
    }
    if (m == 1) {
        if (d == 0)
            return pick(sex, LocalizedString("Brother"), LocalizedString("Sister"), LocalizedString("Sibling"));
        if (d == 2)
            return older ? pick(sex, LocalizedString("Greatuncle"), LocalizedString("Greataunt"),
                       LocalizedString("GreatAuntUncle"))
                         : pick(sex, LocalizedString("Greatnephew"), LocalizedString("Greatniece"),
                             LocalizedString("GreatNephewNiece"));
        const QString word = older
            ? pick(sex, LocalizedString("Uncle"), LocalizedString("Aunt"), LocalizedString("Aunt/Uncle"))
            : pick(sex, LocalizedString("Nephew"), LocalizedString("Niece"), LocalizedString("Nephew/Niece"));
        if (d == 1)
            return word;
        return QStringLiteral("%1%2%3").arg(d - 1).arg(LocalizedString("generationalAbbrev"), word);
    }
    const QString cousin = QStringLiteral("%1%2 %3").arg(m - 1).arg(ordinal(m - 1), LocalizedString("cousin"));
    if (d == 0)
        return cousin;
    return QStringLiteral("%1 %2 %3").arg(cousin, times(d), LocalizedString("removed"));
}
}

void FTPerson::recurseAncestorsSet(QSet<FTPerson*>& set, const QList<FTPerson*>& people)
{
    QList<FTPerson*> generation;
    for (FTPerson* p : people)
        if (p) {
            set.insert(p);
            generation << p;
        }
    while (!generation.isEmpty())
        generation = nextGeneration(generation, set);
}

FTPerson* FTPerson::recurseAncestors2(const QSet<FTPerson*>& ancestorsSet, const QList<FTPerson*>& people)
{
    QSet<FTPerson*> seen;
    QList<FTPerson*> generation = distinct(people, seen);
    while (!generation.isEmpty()) {
        // Within a generation a man before a woman; a person of unknown gender only when neither is there, so
        // that a nearer ancestor is never passed over for want of a gender.
        for (Sex wanted : { Sex::Male, Sex::Female, Sex::Neither })
            for (FTPerson* p : std::as_const(generation))
                if (ancestorsSet.contains(p) && sexOf(p) == wanted)
                    return p;
        generation = nextGeneration(generation, seen);
    }
    return nullptr;
}

int FTPerson::recurseAncestors3(const QList<FTPerson*>& people, int level, const FTPerson* commonAncestor)
{
    QSet<FTPerson*> seen;
    QList<FTPerson*> generation = distinct(people, seen);
    while (!generation.isEmpty()) {
        if (generation.contains(const_cast<FTPerson*>(commonAncestor)))
            return level;
        generation = nextGeneration(generation, seen);
        ++level;
    }
    return -1;
}

QString FTPerson::consanguinityWithPerson(
    FTPerson* other, FTPerson** commonAncestor, const QSet<FTPerson*>* ancestorsSet)
{
    if (commonAncestor)
        *commonAncestor = nullptr;
    if (!other)
        return LocalizedString("None");
    QSet<FTPerson*> own;
    if (!ancestorsSet) {
        recurseAncestorsSet(own, { this });
        ancestorsSet = &own;
    }
    FTPerson* ancestor = recurseAncestors2(*ancestorsSet, { other });
    if (commonAncestor)
        *commonAncestor = ancestor;
    if (!ancestor)
        return LocalizedString("None");
    const int a = recurseAncestors3({ this }, 0, ancestor);
    const int b = recurseAncestors3({ other }, 0, ancestor);
    if (a < 0 || b < 0) // an ancestor set made for somebody else
        return LocalizedString("None");
    const QString phrase = label(std::min(a, b), std::abs(a - b), a > b, sexOf(other));
    const QString conjunction
        = phrase == LocalizedString("SamePerson") ? LocalizedString("ConjunctiveAs") : LocalizedString("ConjunctiveOf");
    return QStringLiteral("%1 %2 %3").arg(phrase, conjunction, shortNameWithBirthAndDeathYears());
}
