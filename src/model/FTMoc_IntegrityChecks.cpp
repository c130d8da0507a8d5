#include "model/FTMoc.h"

#include "model/Dates.h"
#include "model/FTEvent.h"
#include "model/FTModelDefaults.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/store/ReleasingWalk.h"

#include <QElapsedTimer>
#include <QSet>

#include <algorithm>
#include <functional>
#include <tuple>
#include <vector>

namespace {
constexpr quint32 kVisitedPerson = 8;
constexpr quint32 kReportedLink = 16;

QString msecs(const QElapsedTimer& timer)
{
    return QString::number(timer.nsecsElapsed() / 1e6, 'f', 3);
}

const Key kParentLinks("parents");

// A natural link to a parent, with the parent it names: a search of the whole file reads both from a list made in
// key order, never from the link again.
struct ParentLink {
    FTPcRel* link;
    FTPerson* parent;
};
using ParentLinksOf = std::function<QList<ParentLink>(const FTPerson*)>;

// The natural links to a person's parents not yet reported, by the parent's number (then row, so that people
// sharing a number keep one order).
QList<ParentLink> naturalLinksToParents(const FTPerson* person)
{
    QList<ParentLink> links;
    // Read in place, without a copy of the list: the walk asks this of every person.
    for (ManagedObject* o : person->objects(kParentLinks)) {
        auto* link = static_cast<FTPcRel*>(o);
        if (!(link->flagBits() & kReportedLink) && link->intPcRelType() == FTPcRel::kNatural && link->parent())
            links.push_back({ link, link->parent() });
    }
    if (links.size() > 1)
        std::sort(links.begin(), links.end(), [](const ParentLink& a, const ParentLink& b) {
            const int na = a.parent->numericId(), nb = b.parent->numericId();
            return na != nb ? na < nb : a.parent->primaryKey() < b.parent->primaryKey();
        });
    return links;
}

// Every natural link of a file by child, each child's in the order naturalLinksToParents() gives, made from one
// walk of the links in key order.
class NaturalLinksByChild {
public:
    void add(FTPcRel* link)
    {
        FTPerson* parent = link->parent();
        const FTPerson* child = link->child();
        if (child && parent && link->intPcRelType() == FTPcRel::kNatural)
            m_added.push_back({ child->primaryKey(), { link, parent } });
    }

    // numberByKey: each person's number by key, as read in key order.
    void sort(const std::vector<int>& numberByKey)
    {
        // Grouped by child with a count per key, then each child's few links sorted.
        for (const auto& [child, link] : m_added) {
            if (size_t(child) + 2 > m_first.size())
                m_first.resize(size_t(child) + 2);
            ++m_first[size_t(child) + 1];
        }
        for (size_t i = 1; i < m_first.size(); ++i)
            m_first[i] += m_first[i - 1];
        m_links.resize(m_added.size());
        std::vector<quint32> next(m_first);
        for (const auto& [child, link] : m_added)
            m_links[next[size_t(child)]++] = link;
        m_added = {};
        const auto numberOf = [&numberByKey](const FTPerson* p) {
            const size_t key = size_t(p->primaryKey());
            return key < numberByKey.size() ? numberByKey[key] : p->numericId();
        };
        const auto before = [&numberOf](const ParentLink& a, const ParentLink& b) {
            return std::tuple(numberOf(a.parent), a.parent->primaryKey(), a.link->primaryKey())
                < std::tuple(numberOf(b.parent), b.parent->primaryKey(), b.link->primaryKey());
        };
        for (size_t i = 0; i + 1 < m_first.size(); ++i)
            if (m_first[i + 1] - m_first[i] > 1)
                std::sort(m_links.begin() + m_first[i], m_links.begin() + m_first[i + 1], before);
    }

    // The links to the person's parents not yet reported.
    QList<ParentLink> operator()(const FTPerson* person) const
    {
        QList<ParentLink> links;
        const size_t key = size_t(person->primaryKey());
        if (key + 1 < m_first.size())
            for (quint32 i = m_first[key]; i < m_first[key + 1]; ++i)
                if (!(m_links[i].link->flagBits() & kReportedLink))
                    links.push_back(m_links[i]);
        return links;
    }

private:
    std::vector<std::pair<qint64, ParentLink>> m_added; // child's key, link
    std::vector<quint32> m_first; // by child's key: where its links begin in m_links
    std::vector<ParentLink> m_links;
};

// The walk's own stack and the people on its path, kept from one walk to the next: a check of the whole file starts
// a walk from each person not searched yet, and each would otherwise allocate its own.
struct AncestorWalk {
    struct Frame {
        FTPerson* person;
        QList<ParentLink> links;
        qsizetype next = 0;
    };
    QList<Frame> frames;
    QSet<const FTPerson*> onPath;
};

// A depth-first walk up the natural links with its own stack: a long line of ancestors cannot overflow the
// program's stack. Answers the number of cycles found. `path` is the line of people from the starting descendant to the one being searched; a parent
// already on it closes a cycle. People searched before (from any start) are not searched again.
int searchAncestors(AncestorWalk& walk, FTPerson* person, int level, QList<FTPerson*>& path, bool showMessages,
                    const ParentLinksOf& linksOf)
{
    if (!person)
        return 0;
    if (path.size() > level)
        path.resize(std::max(level, 0));
    // A finished walk leaves no frames and no one on its path but the people it was given.
    QList<AncestorWalk::Frame>& frames = walk.frames;
    QSet<const FTPerson*>& onPath = walk.onPath;
    frames.clear();
    if (!onPath.isEmpty())
        onPath.clear();
    for (const FTPerson* p : path)
        onPath.insert(p);
    auto enter = [&](FTPerson* p) {
        path.append(p);
        onPath.insert(p);
        p->setFlagBits(p->flagBits() | kVisitedPerson);
        frames.append(AncestorWalk::Frame { p, linksOf(p) });
    };
    enter(person);
    int found = 0;
    while (!frames.isEmpty()) {
        AncestorWalk::Frame& frame = frames.last();
        if (frame.next >= frame.links.size()) {
            onPath.remove(frame.person);
            path.removeLast();
            frames.removeLast();
            continue;
        }
        const auto [link, parent] = frame.links[frame.next++];
        if (link->flagBits() & kReportedLink)
            continue;
        if (onPath.contains(parent)) {
            if (showMessages)
                Prompts::current().message(
                    QStringLiteral("Recursion found in the database between \n\nchild = %1 and \n\nparent = %2.")
                        .arg(frame.person->name(), parent->name()));
            link->setFlagBits(link->flagBits() | kReportedLink);
            ++found;
        } else if (!(parent->flagBits() & kVisitedPerson)) {
            enter(parent); // invalidates `frame`
        }
    }
    return found;
}
}

// ---- Children with more than one natural father or mother -------------------------------------------------------

QList<FTPerson*> FTMoc::findChildrenWithMultipleNaturalParents(QString* report, bool showMessages)
{
    QElapsedTimer timer;
    timer.start();
    ReleasingWalk walk(*this);
    const QList<FTPcRel*> natural = fetch<FTPcRel>([&walk](const FTPcRel* l) {
        walk.releasePoint();
        return l->pcRelType() == FTPcRel::kNatural && l->child();
    });
    // By child (its number, then its row: two children that share a number must not interleave), then parent gender.
    // The keys are read once: a large file has hundreds of thousands of links to sort.
    struct Keyed {
        qint64 childId;
        qint64 childRow;
        QString parentGender;
        bool byFather; // the parent is a man (FTPerson::isMale)
        FTPerson* child;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(natural.size()));
    const QString male = LocalizedString("MaleShort");
    for (FTPcRel* l : natural) {
        walk.releasePoint();
        FTPerson* c = l->child();
        const FTPerson* parent = l->parent();
        const QString gender = parent ? parent->gender() : QString();
        keyed.push_back({qint64(c->numericId()), c->primaryKey(), gender, parent && gender == male, c});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (a.childId != b.childId)
            return a.childId < b.childId;
        if (a.childRow != b.childRow)
            return a.childRow < b.childRow;
        return a.parentGender < b.parentGender;
    });

    auto reportLine = [report](FTPerson* child, bool fathers) {
        if (!report)
            return;
        QStringList names;
        for (const FTPerson* parent : child->naturalParents())
            if (parent->isMale() == fathers)
                names << parent->nameWithBirthAndDeathYears();
        report->append(QString::fromLatin1(fathers ? "\n%1, ID = %2 had %3 natural fathers. Natural fathers = %4"
                                              : "\n%1, ID = %2 had %3 natural mothers. Natural mothers = %4")
                           .arg(child->nameWithBirthAndDeathYears())
                           .arg(child->numericId())
                           .arg(names.size())
                           .arg(names.join(QStringLiteral(", "))));
    };

    QList<FTPerson*> found;
    const FTPerson* previous = nullptr;
    int fathers = 0;
    int mothers = 0;
    for (const Keyed& k : keyed) {
        walk.releasePoint();
        FTPerson* child = k.child;
        if (child != previous) {
            fathers = 0;
            mothers = 0;
            previous = child;
        }
        const bool isFather = k.byFather;
        int& count = isFather ? fathers : mothers;
        if (++count < 2)
            continue;
        if (showMessages)
            Prompts::current().message(QString::fromLatin1(isFather ? "%1 has %2 natural fathers." : "%1 has %2 natural mothers.")
                                           .arg(child->name())
                                           .arg(count));
        found << child;
        if (count == 2)
            reportLine(child, isFather);
    }
    FTLog(QStringLiteral("%1 msecs to check dup natural parents").arg(msecs(timer)));
    return found;
}

int FTMoc::convertMultipleNaturalParentsIntoStepRels(const QList<FTPerson*>& children)
{
    int changed = 0;
    for (const FTPerson* child : children) {
        QList<FTPcRel*> links = child->parentRels();
        std::stable_sort(links.begin(), links.end(),
            [](const FTPcRel* a, const FTPcRel* b) { return a->parent()->numericId() < b->parent()->numericId(); });
        int fathers = 0;
        int mothers = 0;
        for (FTPcRel* link : links) {
            if (link->intPcRelType() != FTPcRel::kNatural)
                continue;
            int& count = link->parent()->isMale() ? fathers : mothers;
            if (++count > 1) {
                link->setPcRelType(FTPcRel::kStep);
                ++changed;
            }
        }
    }
    return changed;
}

// ---- Cycles in the natural ancestry ------------------------------------------------------------------------------

void FTMoc::nullifyBitFlag(quint32 bit, const QList<ManagedObject*>& records)
{
    for (ManagedObject* record : records)
        if (auto* r = dynamic_cast<FTManagedObject*>(record); r && (r->flagBits() & bit))
            r->setFlagBits(r->flagBits() & ~bit);
}

void FTMoc::clearRecursionMarks()
{
    ReleasingWalk walk(*this);
    forEachObject(QString::fromLatin1(FTPcRel::kEntityName), [&walk](ManagedObject* o) {
        walk.releasePoint();
        auto* link = static_cast<FTPcRel*>(o);
        if (link->flagBits() & kReportedLink)
            link->setFlagBits(link->flagBits() & ~kReportedLink);
        return true;
    });
    forEachObject(QString::fromLatin1(FTPerson::kEntityName), [&walk](ManagedObject* o) {
        walk.releasePoint();
        auto* person = static_cast<FTPerson*>(o);
        if (person->flagBits() & kVisitedPerson)
            person->setFlagBits(person->flagBits() & ~kVisitedPerson);
        return true;
    });
}

QList<FTPcRel*> FTMoc::recursionLinks() const
{
    ReleasingWalk walk(*this);
    QList<FTPcRel*> links = fetch<FTPcRel>([&walk](const FTPcRel* l) {
        walk.releasePoint();
        return (l->flagBits() & kReportedLink) && l->parent() && l->child();
    });
    std::sort(links.begin(), links.end(), [](const FTPcRel* a, const FTPcRel* b) {
        const auto key = [](const FTPcRel* l) {
            return std::tuple(l->child()->numericId(), l->parent()->numericId(), l->primaryKey());
        };
        return key(a) < key(b);
    });
    return links;
}

int FTMoc::recursionCheck(bool showMessages)
{
    FTLog(QStringLiteral("recursionCheck"));
    ReleasingWalk releasing(*this);
    // By number, each read once (a large file has a hundred thousand people to sort).
    std::vector<std::pair<int, FTPerson*>> numbered;
    std::vector<int> numberByKey;
    forEachObject(QString::fromLatin1(FTPerson::kEntityName), [&](ManagedObject* o) {
        releasing.releasePoint();
        auto* person = static_cast<FTPerson*>(o);
        numbered.emplace_back(person->numericId(), person);
        if (size_t(person->primaryKey()) >= numberByKey.size())
            numberByKey.resize(size_t(person->primaryKey()) + 1);
        numberByKey[size_t(person->primaryKey())] = person->numericId();
        return true;
    });
    std::stable_sort(numbered.begin(), numbered.end(),
        [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<FTPerson*> people;
    people.reserve(numbered.size());
    for (const auto& [number, person] : numbered) {
        person->setFlagBits(person->flagBits() & ~kVisitedPerson);
        people.push_back(person);
    }
    numbered = {};

    // In a database whose records are given back during the walk, every natural link is read once, in key order:
    // the search goes from person to parent in no order, and each step would otherwise read rows of the file again.
    // In memory the records serve as they are.
    const bool listed = releasing.givesBack();
    NaturalLinksByChild byChild;
    forEachObject(QString::fromLatin1(FTPcRel::kEntityName), [&](ManagedObject* o) {
        releasing.releasePoint();
        auto* link = static_cast<FTPcRel*>(o);
        link->setFlagBits(link->flagBits() & ~kReportedLink);
        if (listed)
            byChild.add(link);
        return true;
    });
    byChild.sort(numberByKey);
    numberByKey = {};
    const ParentLinksOf linksOf = listed ? ParentLinksOf(std::cref(byChild)) : ParentLinksOf(naturalLinksToParents);

    int cycles = 0;
    AncestorWalk walk;
    QList<FTPerson*> path; // empty again after each walk
    path.reserve(200);
    for (FTPerson* person : people) {
        if (person->flagBits() & kVisitedPerson)
            continue;
        // Between two searches: the search's own stack is empty.
        releasing.releasePoint();
        cycles += searchAncestors(walk, person, 0, path, showMessages, linksOf);
    }
    return cycles;
}

bool FTMoc::recursionCheckAncestorsOf(FTPerson* person, int level, QList<FTPerson*>& path, bool showMessages)
{
    AncestorWalk walk;
    return searchAncestors(walk, person, level, path, showMessages, naturalLinksToParents) > 0;
}

// ---- Clean-ups ---------------------------------------------------------------------------------------------------

int FTMoc::removeGhosts(QString* report, bool showMessages)
{
    Q_UNUSED(report);
    ReleasingWalk walk(*this);
    const QList<FTPerson*> ghosts = fetch<FTPerson>([&walk](const FTPerson* p) {
        walk.releasePoint();
        return p->name().isEmpty() && p->isUnconnected();
    });
    for (FTPerson* ghost : ghosts)
        deleteObject(ghost);
    if (!ghosts.isEmpty() && showMessages)
        Prompts::current().message(
            QStringLiteral("Removed %1 ghosts.\n\n(A ghost has no name, no parents, no children and no spouse.)")
                .arg(ghosts.size()));
    return int(ghosts.size());
}

int FTMoc::removeIsolatedPeople(QString* report, bool showMessages)
{
    QElapsedTimer timer;
    timer.start();
    ReleasingWalk walk(*this);
    const QList<FTPerson*> isolated = fetch<FTPerson>([&walk](const FTPerson* p) {
        walk.releasePoint();
        return p->isUnconnected();
    });
    FTPerson* focal = isolated.isEmpty() ? nullptr : focalPerson();
    int removed = 0;
    for (FTPerson* person : isolated) {
        walk.releasePoint();
        if (person == focal)
            continue;
        if (showMessages)
            Prompts::current().message(QStringLiteral("Deleted %1").arg(person->name()));
        if (report)
            report->append(
                QStringLiteral("\n%1 with ID = %2 was not related to anyone else and has been removed from the database")
                    .arg(person->nameWithBirthAndDeathYears())
                    .arg(person->numericId()));
        deleteObject(person);
        ++removed;
    }
    if (removed > 0 && showMessages)
        Prompts::current().message(QStringLiteral("Removed %1 isolated people from the database").arg(removed));
    FTLog(QStringLiteral("%1 msecs in removeIsolatedPeople").arg(timer.nsecsElapsed() / 1e6, 6, 'f', 3));
    return removed;
}

int FTMoc::cleanDateFormats()
{
    static const Key kDate("date");
    int count = 0;
    ReleasingWalk walk(*this);
    const QList<FTEvent*> early = fetch<FTEvent>([&walk](const FTEvent* e) {
        walk.releasePoint();
        return e->year() > 0 && e->year() < 1000;
    });
    for (FTEvent* event : early) {
        walk.releasePoint();
        const QString text = Dates::dateStringFor(event->qual(), event->day(), event->month(), event->year(), true);
        const QString old = event->stringValue(kDate);
        if (text == old)
            continue;
        ++count;
        FTLog(QStringLiteral("invalid date format \"%1\" replaced with \"%2\" event owner = %3")
                  .arg(old, text, event->ownerName()));
        event->setPrimitiveValue(kDate, text);
    }
    if (count > 0)
        FTLog(QStringLiteral("num dates < 1000 = %1").arg(count));
    return count;
}

int FTMoc::validateNumericIds(bool save)
{
    static const std::pair<const char*, const char*> kEntities[] = {
        { "Person", "modelDefaults.maxPersonId" },
        { "SpouseRel", "modelDefaults.maxSpouseRelId" },
        { "Picture", "modelDefaults.maxPictureId" },
        { "Source", "modelDefaults.maxSourceId" },
        { "Event", "modelDefaults.maxEventId" },
    };
    int total = 0;
    for (const auto& [entity, keyPath] : kEntities)
        total += validateNumericIdsFor(QString::fromLatin1(entity), QString::fromLatin1(keyPath));
    if (total > 0 && save)
        saveMoc();
    return total;
}

int FTMoc::validateNumericIdsFor(const QString& entityName, const QString& modelDefaultsKeyPath)
{
    static const Key kNumericId("numericId");
    const QString counterName = modelDefaultsKeyPath.section(QLatin1Char('.'), -1);
    const Key counterKey(counterName);
    FTModelDefaults* defaults = modelDefaults();

    // The numbers are read once: a large file has hundreds of thousands of records to sort.
    struct Numbered {
        qint64 number;
        ManagedObject* record;
    };
    std::vector<Numbered> records;
    ReleasingWalk walk(*this);
    forEachObject(entityName, [&records, &walk](ManagedObject* record) {
        walk.releasePoint();
        records.push_back({record->integerValue(kNumericId), record});
        return true;
    });
    // Records made in the order of their numbers (an import's) need no sort.
    const auto byNumber = [](const Numbered& a, const Numbered& b) { return a.number < b.number; };
    if (!std::is_sorted(records.begin(), records.end(), byNumber))
        std::stable_sort(records.begin(), records.end(), byNumber);
    qint64 counter = defaults->integerValue(counterKey);
    if (!records.empty())
        counter = std::max(counter, records.back().number);
    int changed = 0;
    qint64 previous = 0;
    for (const Numbered& r : records) {
        if (r.number == previous) {
            r.record->setInteger(kNumericId, ++counter);
            ++changed;
        }
        previous = r.number;
    }
    defaults->setInteger(counterKey, counter);
    FTLog(QStringLiteral("%1 numericIds changed for %2 out of %3. maxId = %4")
              .arg(changed)
              .arg(entityName)
              .arg(records.size())
              .arg(counter));
    return changed;
}
