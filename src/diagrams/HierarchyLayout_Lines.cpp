// The text lines of a hierarchy box: each "<tag>:<text>", chosen by the options.
#include "diagrams/HierarchyLayout.h"

#include "model/FTEvent.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTPicture.h"
#include "model/FTSpouseRel.h"
#include "model/Hierarchy.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace {
constexpr QChar kNoBreakSpace(0x00A0);
constexpr QChar kMaleSign(0x2642);
constexpr QChar kFemaleSign(0x2640);

// Visits `first` (at level 0, unless `withFirst` is false) and, depth first, the people `next` gives generation
// by generation down to `depth`, each with its level. A person already on the path is left out: a loop of links
// would otherwise fill the list down to its depth.
void walkList(FTPerson* first, bool withFirst, int depth, const std::function<QList<FTPerson*>(FTPerson*)>& next,
    const std::function<void(FTPerson*, int)>& visit)
{
    struct Step {
        FTPerson* person;
        int level;
    };
    std::vector<Step> pending { { first, 0 } };
    std::vector<FTPerson*> path;
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        path.resize(size_t(step.level));
        path.push_back(step.person);
        if (step.level > 0 || withFirst)
            visit(step.person, step.level);
        if (step.level >= depth)
            continue;
        const QList<FTPerson*> below = next(step.person);
        for (qsizetype i = below.size(); i-- > 0;)
            if (std::find(path.begin(), path.end(), below[i]) == path.end())
                pending.push_back({ below[i], step.level + 1 });
    }
}

// "\n", a no-break space, the indent of the level, the short name.
QString listEntry(const FTPerson* person, int level)
{
    return QLatin1Char('\n') + QString(kNoBreakSpace) + QString(std::max(1, 5 * level), QLatin1Char(' '))
        + (level > 0 ? QStringLiteral("-") : QString()) + person->shortName();
}
}

QImage HierarchyLayout::thumbnailOf(FTPerson* person)
{
    auto it = m_thumbnails.constFind(person);
    if (it == m_thumbnails.constEnd()) {
        FTPicture* picture = person->defaultPicture();
        it = m_thumbnails.insert(person, picture ? picture->thumbnailImage() : QImage());
    }
    return *it;
}

QString HierarchyLayout::birthYearText(FTPerson* person) const
{
    const FTEvent* birth = person->birth();
    const int year = birth ? birth->year() : 0;
    if (year == 0 || (m_options.excludeBirthDatesOfLiving && person->isLiving()))
        return {};
    return QStringLiteral(" (%1)").arg(year);
}

QStringList HierarchyLayout::linesForHierarchy(Hierarchy* node)
{
    QStringList lines;
    if (!node || !node->person())
        return lines;
    FTPerson* person = node->person();
    linesForPerson(person, lines, node->repeatFlag(), false, m_bAncestors ? 0 : node->intPcRelToOwner());
    if (m_bAncestors && !node->owner() && m_options.rootsSiblings) {
        const QList<FTPerson*> siblings = person->siblings();
        for (qsizetype i = 0; i < siblings.size(); ++i) {
            lines << HdTags::separator();
            if (i == 0)
                lines << QStringLiteral("%1:%2's %3\n")
                             .arg(m_tags.word(HdTags::Siblings), person->firstName(), word("Siblings"));
            linesForPerson(siblings[i], lines, false, true, 0);
        }
    }
    return lines;
}

void HierarchyLayout::linesForPerson(
    FTPerson* person, QStringList& lines, bool repeated, bool siblingEntry, int linkType)
{
    ++m_numPeopleInDiagram;
    linesAppendName(person, lines, repeated, linkType);
    if (!m_bHorizontal && repeated)
        lines << QStringLiteral("%1:(%2 %3)")
                     .arg(m_tags.word(HdTags::Refer), word("ReferElsewhereFor"),
                         word(m_bAncestors ? "Ancestors" : "Descendants"));
    if (m_options.nameOnly)
        return;
    linesAppendConsanguinity(person, lines);
    if (!m_bAncestors && person != m_rootPerson)
        linesAppendParents(person, lines);
    linesAppendPicture(person, lines, siblingEntry);
    linesAppendTitle(person, lines);
    if (m_options.idNo)
        lines << QStringLiteral("%1:Id No. %2").arg(m_tags.word(HdTags::IdNo)).arg(person->numericId());
    linesAppendBirthInfo(person, lines);
    linesAppendSpouseInfo(person, lines);
    linesAppendDeathInfo(person, lines);
    if (m_bAncestors && m_options.includeAllSiblings && !siblingEntry)
        linesAppendSiblings(person, lines);
    if (!m_bAncestors && m_options.includeSpousesAncestors)
        linesAppendSpousesAncestors(person, lines);
    linesAppendNotes(person, lines);
}

void HierarchyLayout::linesAppendName(FTPerson* person, QStringList& lines, bool repeated, int linkType)
{
    QString text;
    // A person of unknown gender gets no sign rather than the wrong one.
    if (m_options.showGender && (person->isMale() || person->isFemale()))
        text = QString(person->isMale() ? kMaleSign : kFemaleSign) + QLatin1Char(' ');
    text += m_options.fullName && !m_options.nameOnly ? person->name() : getPersonsNameString(person);
    if (m_bHorizontal && repeated)
        text += word("ReferAbove");
    if (m_contractedPeople.contains(person->objectURI()))
        text += (m_bHorizontal ? QStringLiteral("\n  ...(%1 %2)") : QStringLiteral("\n(%1 %2)"))
                    .arg(word(m_bAncestors ? "Ancestors" : "Descendants"), word("Contracted"));
    if (linkType == FTPcRel::kAdopted)
        text += word("AdoptedChild");
    else if (linkType == FTPcRel::kStep)
        text += word("StepChild");
    lines << m_tags.line(HdTags::Name, text);
}

void HierarchyLayout::linesAppendConsanguinity(FTPerson* person, QStringList& lines)
{
    if (!m_consanguinityRoot)
        return;
    QString result = m_consanguinityRoot->consanguinityWithPerson(person, nullptr, m_consanguinitySet.get());
    // The relationship ends with the root's short name and years; a living root's birth year may not be shown.
    const QString rootName = m_options.nameWithYears(m_consanguinityRoot, true);
    const QString withYears = m_consanguinityRoot->shortNameWithBirthAndDeathYears();
    if (result == word("None"))
        result = word("NoConsanguinity") + QLatin1Char(' ') + rootName;
    else if (result.startsWith(word("SamePerson")))
        return;
    else if (rootName != withYears && result.endsWith(withYears))
        result = result.chopped(withYears.size()) + rootName;
    lines << m_tags.word(HdTags::Consanguinity) + QStringLiteral(": ") + result;
}

void HierarchyLayout::linesAppendParents(FTPerson* person, QStringList& lines)
{
    const QString& relation = person->isMale() ? word("SonOf") : person->isFemale() ? word("DaughterOf") : word("ChildOf");
    for (FTPerson* parent : person->naturalParents())
        lines << QStringLiteral("%1:(%2 %3)")
                     .arg(m_tags.word(parent->isMale() ? HdTags::Father : HdTags::Mother), relation, parent->name());
}

void HierarchyLayout::linesAppendPicture(FTPerson* person, QStringList& lines, bool siblingEntry)
{
    if (!m_options.pictures)
        return;
    if (!thumbnailOf(person).isNull())
        lines << m_tags.line(HdTags::Picture, person->objectURI());
    if (!m_options.spousePictures || m_bAncestors || siblingEntry)
        return;
    for (const FTSpouseRel* couple : person->spouseRelsArray())
        if (FTPerson* partner = couple->partnerOf(person))
            lines << m_tags.line(HdTags::SpousePicture, partner->objectURI());
}

void HierarchyLayout::linesAppendTitle(FTPerson* person, QStringList& lines)
{
    const QString title = person->title();
    if (!title.isEmpty() && (m_options.title || person == m_rootPerson))
        lines << m_tags.line(HdTags::Title, title);
}

void HierarchyLayout::linesAppendBirthInfo(FTPerson* person, QStringList& lines)
{
    if (!m_options.birthInfo && person != m_rootPerson)
        return;
    const FTEvent* birth = person->birth();
    QString date = birth ? birth->date() : QString();
    const QString place = birth ? birth->place() : QString();
    if (m_options.excludeBirthDatesOfLiving && person->isLiving())
        date.clear();
    if (date.isEmpty() && place.isEmpty())
        return;
    const QString at = place.isEmpty() ? QString() : QLatin1Char(' ') + word("ConjunctiveAt") + QLatin1Char(' ');
    lines << m_tags.line(HdTags::Birth, word("BirthShort") + QStringLiteral(". ") + date + at + place);
}

void HierarchyLayout::linesAppendSpouseInfo(FTPerson* person, QStringList& lines)
{
    if (!m_options.spouses && person != m_rootPerson)
        return;
    const QList<FTSpouseRel*> couples = person->spouseRelsArray();
    for (qsizetype i = 0; i < couples.size(); ++i)
        lines << getSpouseStringFrom(couples, person, int(i));
}

void HierarchyLayout::linesAppendDeathInfo(FTPerson* person, QStringList& lines)
{
    if (!m_options.deathInfo && person != m_rootPerson)
        return;
    const FTEvent* death = person->death();
    const QString date = death ? death->date() : QString();
    const QString place = death ? death->place() : QString();
    if (date.isEmpty() && place.isEmpty())
        return;
    const QString at = place.isEmpty() ? QString() : QLatin1Char(' ') + word("ConjunctiveAt") + QLatin1Char(' ');
    QString text = word("DeathShort") + QStringLiteral(". ") + date + at + place;
    const QString age = person->ageAtDeath();
    if (!age.isEmpty() && age != QStringLiteral(" "))
        text += QStringLiteral(", %1 %2").arg(word("AgedAtDeath"), age);
    lines << m_tags.line(HdTags::Death, text);
}

void HierarchyLayout::linesAppendSiblingsInfo(FTPerson* person, int level, QString& list)
{
    ++m_numPeopleInDiagram;
    list += listEntry(person, level) + birthYearText(person);
    const QList<FTSpouseRel*> couples = person->spouseRelsArray();
    const bool several = couples.size() > 1;
    for (qsizetype i = 0; i < couples.size(); ++i) {
        FTPerson* partner = couples[i]->partnerOf(person);
        if (!partner)
            continue;
        const bool married = couples[i]->marriage() != nullptr;
        if (married && several)
            list += QStringLiteral(" %1(%2) %3").arg(word("MarriageShort"), QString::number(i + 1), partner->shortName());
        else if (married)
            list += QStringLiteral(" %1. %2").arg(word("MarriageShort"), partner->shortName());
        else if (several)
            list += QStringLiteral(" +(%1) %2").arg(QString::number(i + 1), partner->shortName());
        else
            list += QStringLiteral(" + ") + partner->shortName();
        list += birthYearText(partner);
    }
}

void HierarchyLayout::linesAppendSpousesInfo(FTPerson* person, int level, QString& list)
{
    ++m_numPeopleInDiagram;
    list += listEntry(person, level) + birthYearText(person);
}

void HierarchyLayout::linesAppendSiblings(FTPerson* person, QStringList& lines)
{
    if (person == m_rootPerson && m_options.rootsSiblings)
        return; // the root's siblings have boxes of their own
    const int depth = !m_options.includeAllSiblingsChildren ? 0
        : !m_options.includeAllSiblingsGrandchildren    ? 1
                                                        : std::max(2, m_options.maxSiblingsDescendants);
    const QList<FTPerson*> siblings = person->siblings();
    if (siblings.isEmpty())
        return;
    QString list = QStringLiteral("%1:\n%2 (%3)%4:")
                       .arg(m_tags.word(HdTags::SiblingsList), word("BrothersAndSisters"),
                           QString::number(siblings.size()), depth > 0 ? word("AndDescendants") : QString());
    const auto children = [](FTPerson* p) {
        QList<FTPerson*> out;
        for (const FTPcRel* link : p->childRels())
            if (link->child())
                out << link->child();
        return out;
    };
    for (FTPerson* sibling : siblings)
        walkList(sibling, true, depth, children,
            [&](FTPerson* entry, int level) { linesAppendSiblingsInfo(entry, level, list); });
    lines << HdTags::separator() << list;
}

void HierarchyLayout::linesAppendSpousesAncestors(FTPerson* person, QStringList& lines)
{
    const auto naturalParents = [](FTPerson* p) { return p->naturalParents(); };
    QString list;
    for (const FTSpouseRel* couple : person->spouseRelsArray()) {
        FTPerson* partner = couple->partnerOf(person);
        if (!partner || partner->parents().isEmpty())
            continue;
        if (list.isEmpty())
            list = m_tags.word(HdTags::SpousesAncestorsList) + QLatin1Char(':');
        list += QStringLiteral("\n%1 %2 %3:")
                    .arg(word("Spouse"), m_options.nameWithYears(partner), word("WasADescendantOf"));
        // Three generations of natural ancestors, depth first.
        walkList(partner, false, 3, naturalParents,
            [&](FTPerson* entry, int level) { linesAppendSpousesInfo(entry, level, list); });
    }
    if (!list.isEmpty())
        lines << HdTags::separator() << list;
}

void HierarchyLayout::linesAppendNotes(FTPerson* person, QStringList& lines)
{
    if (!m_options.notes)
        return;
    const QString notes = person->notes();
    if (!notes.isEmpty())
        lines << HdTags::separator() << m_tags.line(HdTags::Notes, notes);
}
