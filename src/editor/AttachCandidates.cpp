#include "editor/AttachCandidates.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"

#include "platform/Localizer.h"

#include <algorithm>
#include <vector>

namespace {
QString L(const char* key)
{
    return LocalizedString(QString::fromLatin1(key));
}

int birthYear(const FTPerson* p)
{
    const FTEvent* birth = p ? p->birth() : nullptr;
    return birth ? birth->year() : 0;
}

QString placePart(const FTEvent* e)
{
    const QString place = e ? e->place() : QString();
    return place.isEmpty() ? QString() : QLatin1Char(' ') + L("ConjunctiveAt") + QLatin1Char(' ') + place;
}

QString nameOf(const FTPerson* p)
{
    return p ? p->name() : QString();
}

// "\n\nWARNING:\n<name> has a natural father".
QString naturalParentWarning(const FTPerson* who, bool father)
{
    return QStringLiteral("\n\n") + L("WARNING") + QStringLiteral(":\n") + nameOf(who) + QLatin1Char(' ')
        + L("hasNatural") + QLatin1Char(' ') + L(father ? "father" : "mother");
}
}

int AttachCandidates::ageForText(AgeField field, const QString& typed)
{
    bool ok = false;
    const int value = typed.trimmed().toInt(&ok);
    switch (field) {
    case AgeField::Minimum:
        return ok ? clampedMinimum(value) : kLowestAge;
    case AgeField::Maximum:
        return ok ? clampedMaximum(value) : kHighestAge;
    case AgeField::Range:
        return ok ? value : 0;
    }
    return 0;
}

AttachCandidates::Years AttachCandidates::childYears(const FTPerson* parent, int minimumAge, int maximumAge)
{
    const int y = birthYear(parent);
    return { y + minimumAge, y + maximumAge };
}

AttachCandidates::Years AttachCandidates::parentYears(const FTPerson* child, int minimumAge, int maximumAge)
{
    const int y = birthYear(child);
    return { y - maximumAge, y - minimumAge };
}

AttachCandidates::Years AttachCandidates::spouseYears(const FTPerson* person, int ageRange)
{
    const int y = birthYear(person);
    return { y - ageRange, y + ageRange };
}

QList<FTPerson*> AttachCandidates::candidates(
    const FTPerson* person, const QString& gender, const Years& years, const QSet<const FTPerson*>& excluded)
{
    if (!person || !person->moc() || years.earliest > years.latest)
        return {};
    const QList<FTPerson*> found = person->moc()->fetch<FTPerson>([&](const FTPerson* p) {
        const int year = birthYear(p);
        return year >= years.earliest && year <= years.latest && p->gender() == gender && !excluded.contains(p);
    });
    // Sorted on keys folded once, not on every comparison: a span of years may hold thousands of people.
    std::vector<std::pair<QString, FTPerson*>> keyed;
    keyed.reserve(size_t(found.size()));
    for (FTPerson* p : found)
        keyed.emplace_back(p->name().toCaseFolded(), p);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<FTPerson*> sorted;
    sorted.reserve(found.size());
    for (const auto& entry : keyed)
        sorted << entry.second;
    return sorted;
}

QList<FTPerson*> AttachCandidates::childCandidates(const FTPerson* parent, int minimumAge, int maximumAge, bool sons)
{
    QSet<const FTPerson*> children;
    if (parent)
        for (const FTPcRel* link : parent->children())
            children.insert(link->child());
    return candidates(parent, L(sons ? "MaleShort" : "FemaleShort"),
        childYears(parent, clampedMinimum(minimumAge), clampedMaximum(maximumAge)),
        children);
}

QList<FTPerson*> AttachCandidates::parentCandidates(const FTPerson* child, int minimumAge, int maximumAge, bool fathers)
{
    QSet<const FTPerson*> parents;
    if (child)
        for (const FTPcRel* link : child->parents())
            parents.insert(link->parent());
    return candidates(child, L(fathers ? "MaleShort" : "FemaleShort"),
        parentYears(child, clampedMinimum(minimumAge), clampedMaximum(maximumAge)),
        parents);
}

QList<FTPerson*> AttachCandidates::spouseCandidates(const FTPerson* person, int ageRange, bool sameSex)
{
    if (!person)
        return {};
    const QString gender = sameSex ? person->gender() : L(person->gender() == L("MaleShort") ? "FemaleShort" : "MaleShort");
    QSet<const FTPerson*> excluded { person };
    for (const FTPerson* spouse : person->spouses())
        excluded.insert(spouse);
    return candidates(person, gender, spouseYears(person, ageRange), excluded);
}

QString AttachCandidates::details(const FTPerson* candidate)
{
    if (!candidate)
        return {};
    const FTEvent* birth = candidate->birth();
    const FTEvent* death = candidate->death();
    return QStringLiteral("\n") + L("Name") + QStringLiteral(": ") + candidate->name() + QStringLiteral("\n\n")
        + L("Born") + QStringLiteral(": ") + (birth ? birth->date() : QString()) + placePart(birth)
        + QStringLiteral("\n\n") + L("Died") + QStringLiteral(": ") + (death ? death->date() : QString())
        + placePart(death) + QStringLiteral("\n\n") + L("NaturalFather") + QStringLiteral(": ")
        + nameOf(candidate->naturalFather()) + QStringLiteral("\n\n") + L("NaturalMother") + QStringLiteral(": ")
        + nameOf(candidate->naturalMother());
}

QString AttachCandidates::childDetails(const FTPerson* parent, const FTPerson* candidate)
{
    QString text = details(candidate);
    if (!parent || !candidate)
        return text;
    if (parent->gender() == L("MaleShort") && candidate->naturalFather())
        text += naturalParentWarning(candidate, true);
    else if (parent->gender() == L("FemaleShort") && candidate->naturalMother())
        text += naturalParentWarning(candidate, false);
    return text;
}

QString AttachCandidates::parentDetails(const FTPerson* child, const FTPerson* candidate)
{
    QString text = details(candidate);
    if (!child || !candidate)
        return text;
    if (candidate->gender() == L("MaleShort") && child->naturalFather())
        text += naturalParentWarning(child, true);
    else if (candidate->gender() == L("FemaleShort") && child->naturalMother())
        text += naturalParentWarning(child, false);
    return text;
}

QString AttachCandidates::spouseDetails(const FTPerson* candidate)
{
    QString text = details(candidate);
    const qsizetype n = candidate ? candidate->spouses().size() : 0;
    if (n >= 1)
        text += QStringLiteral("\n\n") + L("WARNING") + QStringLiteral(":\n") + candidate->name() + QLatin1Char(' ')
            + L("alreadyHas") + QLatin1Char(' ') + QString::number(n) + QLatin1Char(' ') + L("spouse")
            + (n > 1 ? L("pluralization") : QString());
    return text;
}

QString AttachCandidates::noParentsTitle(bool fathers, const Years& years)
{
    return QStringLiteral("%1 %2 %3 %4 %5 %6.")
        .arg(L("AttachParentMsgTitle1"), L(fathers ? "father" : "mother"), L("AttachParentMsgTitle2"),
            QString::number(years.earliest), L("ConjunctiveAnd"), QString::number(years.latest));
}

QString AttachCandidates::noParentsInfo(int minimumAge, int maximumAge)
{
    return QStringLiteral("\n%1 %2 - %3\n\n%4")
        .arg(L("AttachParentMsg1"), QString::number(minimumAge), QString::number(maximumAge), L("AttachParentMsg2"));
}
