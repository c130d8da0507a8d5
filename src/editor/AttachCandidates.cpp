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

// "\n\nWARNING:\n<child> has a natural father" when the child has a natural parent of the other's gender; empty
// otherwise, and for another of unknown gender.
QString naturalParentWarning(const FTPerson* other, const FTPerson* child)
{
    if (!other || !child)
        return {};
    const bool father = other->gender() == L("MaleShort");
    if ((!father && other->gender() != L("FemaleShort")) || !(father ? child->naturalFather() : child->naturalMother()))
        return {};
    return QStringLiteral("\n\n") + L("WARNING") + QStringLiteral(":\n") + child->name() + QLatin1Char(' ')
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

AttachCandidates::AttachCandidates(const FTMoc* moc)
{
    if (!moc)
        return;
    moc->forEachObject(QString::fromLatin1(FTPerson::kEntityName), [this](ManagedObject* o) {
        auto* p = static_cast<FTPerson*>(o);
        m_people.push_back({ birthYear(p), p->gender(), p });
        return true;
    });
    std::stable_sort(m_people.begin(), m_people.end(), [](const Entry& a, const Entry& b) { return a.year < b.year; });
}

QList<FTPerson*> AttachCandidates::candidates(
    const QString& gender, const Years& years, const QSet<const FTPerson*>& excluded) const
{
    if (years.earliest > years.latest)
        return {};
    auto first = std::lower_bound(m_people.begin(), m_people.end(), years.earliest,
        [](const Entry& e, int year) { return e.year < year; });
    // Sorted on names folded once each, not on every comparison: a span of years may hold thousands of people.
    std::vector<std::pair<QString, FTPerson*>> found;
    for (auto it = first; it != m_people.end() && it->year <= years.latest; ++it)
        if (it->gender == gender && !excluded.contains(it->person) && !it->person->isDeleted())
            found.emplace_back(it->person->name().toCaseFolded(), it->person);
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<FTPerson*> sorted;
    sorted.reserve(qsizetype(found.size()));
    for (const auto& entry : found)
        sorted << entry.second;
    return sorted;
}

QList<FTPerson*> AttachCandidates::childCandidates(const FTPerson* parent, int minimumAge, int maximumAge, bool sons) const
{
    if (!parent)
        return {};
    QSet<const FTPerson*> children;
    for (const FTPcRel* link : parent->children())
        children.insert(link->child());
    return candidates(L(sons ? "MaleShort" : "FemaleShort"),
        childYears(parent, clampedMinimum(minimumAge), clampedMaximum(maximumAge)), children);
}

QList<FTPerson*> AttachCandidates::parentCandidates(const FTPerson* child, int minimumAge, int maximumAge, bool fathers) const
{
    if (!child)
        return {};
    QSet<const FTPerson*> parents;
    for (const FTPcRel* link : child->parents())
        parents.insert(link->parent());
    return candidates(L(fathers ? "MaleShort" : "FemaleShort"),
        parentYears(child, clampedMinimum(minimumAge), clampedMaximum(maximumAge)), parents);
}

QList<FTPerson*> AttachCandidates::spouseCandidates(const FTPerson* person, int ageRange, bool sameSex) const
{
    if (!person)
        return {};
    const QString gender = sameSex ? person->gender() : L(person->gender() == L("MaleShort") ? "FemaleShort" : "MaleShort");
    QSet<const FTPerson*> excluded { person };
    for (const FTPerson* spouse : person->spouses())
        excluded.insert(spouse);
    return candidates(gender, spouseYears(person, ageRange), excluded);
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
    return details(candidate) + naturalParentWarning(parent, candidate);
}

QString AttachCandidates::parentDetails(const FTPerson* child, const FTPerson* candidate)
{
    return details(candidate) + naturalParentWarning(candidate, child);
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
