#include "gedcom/ExportToGedcomRun.h"

#include "gedcom/GedcomWriter.h"

#include "model/EventTypesVocabulary.h"
#include "model/FTEvent.h"
#include "model/FTMoc.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSpouseRel.h"

#include "platform/FTLog.h"
#include "platform/Prompts.h"

#include <QElapsedTimer>

#include <algorithm>
#include <functional>

namespace {

enum StatusBits : quint8 { Known = 1, Living = 2, RecentlyDead = 4 };

template <class T> QList<T*> allInKeyOrder(FTMoc* moc)
{
    return moc->fetch<T>({}, [](const T* a, const T* b) { return a->primaryKey() < b->primaryKey(); });
}

// Keeps each number unless it is missing or an earlier one (an older record's) is the same: answers the indexes
// of those that get numbers above the highest, for this file only, and the highest kept.
std::vector<size_t> renumbered(const std::vector<qint64>& numbers, qint64* highest)
{
    QSet<qint64> seen;
    seen.reserve(qsizetype(numbers.size()));
    std::vector<size_t> out;
    *highest = 0;
    for (size_t i = 0; i < numbers.size(); ++i) {
        const qint64 id = numbers[i];
        if (id <= 0 || seen.contains(id)) {
            out.push_back(i);
            continue;
        }
        seen.insert(id);
        *highest = qMax(*highest, id);
    }
    return out;
}

// Answers each record's number as written, each record read once.
template <class T>
std::vector<qint64> uniqueNumbers(const QList<T*>& records, QHash<const FTManagedObject*, qint64>& overrides,
                                  qint64* highest, ReleasingWalk& walk)
{
    std::vector<qint64> numbers;
    numbers.reserve(size_t(records.size()));
    for (const T* r : records) {
        numbers.push_back(r->numericId());
        walk.releasePoint();
    }
    qint64 max = 0;
    for (const size_t i : renumbered(numbers, &max)) {
        numbers[i] = ++max;
        overrides.insert(records[qsizetype(i)], max);
    }
    if (highest)
        *highest = max;
    return numbers;
}

double secondsSince(const QElapsedTimer& timer) { return double(timer.nsecsElapsed()) / 1e9; }

} // namespace

ExportToGedcomRun::ExportToGedcomRun(FTMoc* moc, GedcomWriter& writer, const GedcomExportOptions& options,
                                     bool selective, const QSet<FTPerson*>& people, const QDateTime& now)
    : m_moc(moc), m_walk(*moc), w(writer), m_options(options), m_selective(selective), m_people(people), m_now(now)
{
}

ExportToGedcomRun::~ExportToGedcomRun() = default;

QString ExportToGedcomRun::pcRelTypeWord(int type)
{
    switch (type) {
    case FTPcRel::kUnknown: return QStringLiteral("Unknown");
    case FTPcRel::kNatural: return QStringLiteral("Natural");
    case FTPcRel::kStep: return QStringLiteral("Step");
    case FTPcRel::kFoster: return QStringLiteral("Foster");
    case FTPcRel::kAdopted: return QStringLiteral("Adopted");
    default: return {};
    }
}

void ExportToGedcomRun::setProgress(int percent)
{
    if (percent == m_lastProgress)
        return;
    m_lastProgress = percent;
    if (progress)
        progress(percent);
}

// ---- People --------------------------------------------------------------------------------------------------

bool ExportToGedcomRun::isLiving(const FTPerson* p)
{
    quint8& s = m_status[p];
    // As of the export's own moment, like everything else in the file.
    const int thisYear = m_now.date().year();
    if (!(s & Known))
        s = Known | (p->isLiving(thisYear) ? Living : 0)
            | (p->isRecentlyDead(m_options.recentlyDeadYears, thisYear) ? RecentlyDead : 0);
    return s & Living;
}

bool ExportToGedcomRun::isRecentlyDead(const FTPerson* p)
{
    isLiving(p);
    return m_status.value(p) & RecentlyDead;
}

bool ExportToGedcomRun::passes(const FTPerson* p)
{
    if (!p)
        return false;
    if (!m_options.includeLivingPeople && isLiving(p))
        return false;
    if (!m_options.includeRecentlyDead && isRecentlyDead(p))
        return false;
    return !m_selective || m_people.contains(const_cast<FTPerson*>(p));
}

bool ExportToGedcomRun::isDepersonalized(const FTPerson* p)
{
    if (!p)
        return false;
    if (m_options.includeLivingPeople && m_options.depersonalizeLivingPeople && isLiving(p))
        return true;
    return m_options.includeRecentlyDead && m_options.depersonalizeRecentlyDead && isRecentlyDead(p);
}

// ---- Numbers -------------------------------------------------------------------------------------------------

void ExportToGedcomRun::numberAllObjects()
{
    QElapsedTimer timer;
    timer.start();
    m_everyone = allInKeyOrder<FTPerson>(m_moc);
    const std::vector<qint64> personIds = uniqueNumbers(m_everyone, m_idOverrides, nullptr, m_walk);
    m_personFacts.assign(m_everyone.isEmpty() ? 0 : size_t(m_everyone.last()->primaryKey()) + 1, PersonFacts());
    for (qsizetype i = 0; i < m_everyone.size(); ++i)
        m_personFacts[size_t(m_everyone[i]->primaryKey())].id = personIds[size_t(i)];
    // Events are the most numerous records, and only their numbers are needed now: they are not read for them.
    const QString event = QString::fromLatin1(FTEvent::kEntityName);
    const auto stored = m_moc->storedIntegers(event, QStringLiteral("numericId"));
    std::vector<qint64> numbers;
    numbers.reserve(stored.size());
    for (const auto& [key, number] : stored)
        numbers.push_back(int(number)); // as FTEvent::numericId() reads it
    qint64 highest = 0;
    for (const size_t i : renumbered(numbers, &highest))
        if (const ManagedObject* o = m_moc->objectWithPrimaryKey(event, stored[i].first))
            m_idOverrides.insert(static_cast<const FTEvent*>(o), ++highest);
    uniqueNumbers(allInKeyOrder<FTSource>(m_moc), m_idOverrides, nullptr, m_walk);
    FTLog(QStringLiteral("%1 seconds to number records").arg(secondsSince(timer), 6, 'f', 1));
}

qint64 ExportToGedcomRun::personId(const FTPerson* p) const
{
    const size_t key = size_t(p->primaryKey());
    if (key < m_personFacts.size() && m_personFacts[key].id != 0)
        return m_personFacts[key].id;
    return m_idOverrides.value(p, p->numericId());
}

quint32 ExportToGedcomRun::birthDateOf(const FTPerson* p)
{
    const size_t key = size_t(p->primaryKey());
    if (key >= m_personFacts.size())
        m_personFacts.resize(key + 1);
    PersonFacts& facts = m_personFacts[key];
    if (!facts.dated) {
        facts.birthDate = p->birth() ? p->birth()->lDate() : 0;
        facts.dated = true;
    }
    return facts.birthDate;
}

const ExportToGedcomRun::LinkFacts& ExportToGedcomRun::linkFacts(const FTPcRel* link)
{
    const size_t key = size_t(link->primaryKey());
    if (key >= m_linkFacts.size())
        m_linkFacts.resize(key + 1);
    LinkFacts& facts = m_linkFacts[key];
    if (!facts.known) {
        facts.type = link->intPcRelType();
        facts.plain = link->evidenceAsBinaryString().isEmpty() && link->notes().trimmed().isEmpty();
        facts.known = true;
    }
    return facts;
}
qint64 ExportToGedcomRun::eventId(const FTEvent* e) const { return m_idOverrides.value(e, e->numericId()); }
qint64 ExportToGedcomRun::sourceId(const FTSource* s) const { return m_idOverrides.value(s, s->numericId()); }
qint64 ExportToGedcomRun::coupleId(const FTSpouseRel* c) const { return m_idOverrides.value(c, c->numericId()); }

// ---- Families ------------------------------------------------------------------------------------------------

FTFamily* ExportToGedcomRun::newFamily(FTPerson* parent, FTPerson* spouse, FTSpouseRel* couple)
{
    m_families.push_back(std::make_unique<FTFamily>(parent, spouse, couple));
    FTFamily* family = m_families.back().get();
    if (family->husband)
        m_spouseOfFamilies.add(family->husband, family);
    if (family->wife)
        m_spouseOfFamilies.add(family->wife, family);
    return family;
}

void ExportToGedcomRun::addChild(FTFamily* family, FTPerson* child, const FTPerson* firstParent, FTPcRel* first,
                                 FTPcRel* second)
{
    family->addChild(child, firstParent, first, second);
    m_childOfFamilies.add(child, family);
}

void ExportToGedcomRun::FamiliesByPerson::add(const FTPerson* person, FTFamily* family)
{
    m_pairs.emplace_back(person->primaryKey(), family);
}

void ExportToGedcomRun::FamiliesByPerson::finish(bool once)
{
    std::stable_sort(m_pairs.begin(), m_pairs.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    if (!once)
        return;
    auto kept = m_pairs.begin();
    for (auto from = m_pairs.begin(); from != m_pairs.end();) {
        const auto to = std::find_if(from, m_pairs.end(), [from](const auto& p) { return p.first != from->first; });
        const auto start = kept;
        for (auto i = from; i != to; ++i)
            if (std::none_of(start, kept, [i](const auto& p) { return p.second == i->second; }))
                *kept++ = *i;
        from = to;
    }
    m_pairs.erase(kept, m_pairs.end());
}

QList<FTFamily*> ExportToGedcomRun::FamiliesByPerson::of(const FTPerson* person) const
{
    const qint64 key = person->primaryKey();
    auto at = std::partition_point(m_pairs.begin(), m_pairs.end(), [key](const auto& p) { return p.first < key; });
    QList<FTFamily*> families;
    for (; at != m_pairs.end() && at->first == key; ++at)
        families.append(at->second);
    return families;
}

void ExportToGedcomRun::createFamilyRecords()
{
    QElapsedTimer timer;
    timer.start();
    m_families.clear();
    m_spouseOfFamilies.clear();
    m_childOfFamilies.clear();

    // Every parent-child link once, in key order, with its parent and child: the couples below find the children
    // of each partner here, sorted by parent, rather than reading every partner's links from the file.
    struct Link {
        FTPcRel* link;
        FTPerson* parent;
        FTPerson* child;
    };
    std::vector<Link> links;
    for (FTPcRel* link : allInKeyOrder<FTPcRel>(m_moc)) {
        m_walk.releasePoint();
        links.push_back({ link, link->parent(), link->child() });
        linkFacts(link);
    }
    std::vector<quint32> byParent(links.size());
    for (size_t i = 0; i < links.size(); ++i)
        byParent[i] = quint32(i);
    const auto parentOf = [&](quint32 i) { return links[i].parent; };
    std::stable_sort(byParent.begin(), byParent.end(),
                     [&](quint32 a, quint32 b) { return std::less<const FTPerson*>()(parentOf(a), parentOf(b)); });
    const auto linksOf = [&](const FTPerson* parent) {
        const std::less<const FTPerson*> less;
        const auto from = std::partition_point(byParent.begin(), byParent.end(),
                                               [&](quint32 i) { return less(parentOf(i), parent); });
        const auto to
            = std::partition_point(from, byParent.end(), [&](quint32 i) { return !less(parent, parentOf(i)); });
        return std::pair(from, to);
    };

    // Couples: one family each, with the children both partners share.
    const QList<FTSpouseRel*> couples = allInKeyOrder<FTSpouseRel>(m_moc);
    qint64 highestCoupleId = 0;
    uniqueNumbers(couples, m_idOverrides, &highestCoupleId, m_walk);
    std::vector<bool> taken(links.size());
    double shown = 0;
    int passed = 0;
    for (FTSpouseRel* couple : couples) {
        m_walk.releasePoint();
        const QList<FTPerson*> partners = couple->partners();
        if (partners.isEmpty())
            continue;
        FTPerson* p1 = partners.value(0);
        FTPerson* p2 = partners.value(1);
        if (!passes(p1) || (p2 && !passes(p2)))
            continue;
        FTFamily* family = newFamily(p1, p2, couple);
        family->numericId = coupleId(couple);
        family->marriageDate = couple->marriage() ? couple->marriage()->lDate() : 0;
        if (p2) {
            const auto [secondFrom, secondTo] = linksOf(p2);
            for (auto [i, end] = linksOf(p1); i != end; ++i) {
                FTPerson* child = links[*i].child;
                if (!child || !passes(child))
                    continue;
                for (auto j = secondFrom; j != secondTo; ++j) {
                    if (links[*j].child != child)
                        continue;
                    addChild(family, child, p1, links[*i].link, links[*j].link);
                    taken[*i] = true;
                    taken[*j] = true;
                }
            }
        }
        ++passed;
        const double fraction = double(passed) / couples.size();
        if (fraction - shown > 0.2) {
            shown = fraction;
            setProgress(int(50 * fraction));
        }
    }
    FTLog(QStringLiteral("%1 seconds to process spouseRels").arg(secondsSince(timer), 6, 'f', 1));

    // Single parents: one family for each parent, holding all of that parent's children that no couple took,
    // numbered above every couple so that no two families share a number.
    qint64 nextId = highestCoupleId;
    QHash<const FTPerson*, FTFamily*> singleParentFamilies;
    for (size_t i = 0; i < links.size(); ++i) {
        m_walk.releasePoint();
        if (taken[i])
            continue;
        const auto [link, parent, child] = links[i];
        if (!parent || !child)
            continue;
        const int type = linkFacts(link).type;
        if (pcRelTypeWord(type).isEmpty()) {
            Prompts::current().message(QStringLiteral("Unrecognised PCREL Type = %1 between %2 and %3")
                                           .arg(type)
                                           .arg(parent->nameWithBirthAndDeathYears(), child->nameWithBirthAndDeathYears()));
            continue;
        }
        if (!passes(parent) || !passes(child))
            continue;
        FTFamily*& family = singleParentFamilies[parent];
        if (!family) {
            family = newFamily(parent, nullptr, nullptr);
            family->numericId = ++nextId;
        }
        addChild(family, child, parent, link, nullptr);
    }
    m_spouseOfFamilies.finish(false);
    m_childOfFamilies.finish(true);
    FTLog(QStringLiteral("%1 seconds to create Family records (incl. time for spouseRels)")
              .arg(secondsSince(timer), 6, 'f', 1));
}

// ---- The run -------------------------------------------------------------------------------------------------

void ExportToGedcomRun::prepare()
{
    numberAllObjects();
    m_sourcesSet.clear();
    m_eventNames = EventTypesVocabulary::dictionary(-1);
    setProgress(0);
    if (message)
        message(QStringLiteral("Creating GEDCOM records for families."));
    createFamilyRecords();
}

void ExportToGedcomRun::addPendingNote(int level, const QString& xref, const QString& notes)
{
    w.writePointerLine(level, QStringLiteral("NOTE"), xref);
    m_pendingNotes.append({xref, notes});
}

void ExportToGedcomRun::createPendingNotesRecords()
{
    for (const auto& [xref, notes] : std::as_const(m_pendingNotes))
        w.writeNoteRecord(xref, notes);
    m_pendingNotes.clear();
}
