#include "model/SyntheticDatabase.h"

#include "model/DOvurV6Schema.h"
#include "model/FTEvent.h"
#include "model/FTEventType.h"
#include "model/FTModelDefaults.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"

#include "platform/store/ObjectContext.h"
#include "platform/store/UndoManager.h"

#include <QFileInfo>
#include <QHash>

#include <deque>
#include <random>

namespace {
const char* const kMaleNames[] = { "John", "William", "James", "George", "Charles", "Thomas", "Henry", "Edward",
    "Robert", "Joseph", "Frederick", "Albert", "Arthur", "Walter", "Alfred", "Samuel", "Peter", "Richard", "Francis",
    "Harry", "Ernest", "David", "Daniel", "Jan" };
const char* const kFemaleNames[] = { "Mary", "Elizabeth", "Sarah", "Ann", "Margaret", "Jane", "Emma", "Alice", "Ellen",
    "Catherine", "Eliza", "Martha", "Harriet", "Florence", "Edith", "Ada", "Louisa", "Emily", "Clara", "Maria", "Zoë",
    "Agnes", "Rose", "Hannah" };
const char* const kFamilyNames[] = { "Smith", "Jones", "Taylor", "Brown", "Williams", "Wilson", "Johnson", "Davies",
    "Robinson", "Wright", "Thomas", "Evans", "Walker", "White", "Roberts", "Green", "Hall", "Wood", "Jackson", "Clarke",
    "Müller", "Dubois", "van Dijk", "de la Cruz", "Ødegård", "Nowak", "Rossi" };
const char* const kPlaces[]
    = { "London, England", "Manchester, Lancashire, England", "York, England", "Dublin, Ireland", "Edinburgh, Scotland",
          "Cardiff, Wales", "Boston, Massachusetts", "New York, New York", "Toronto, Ontario",
          "Sydney, New South Wales", "Amsterdam, Noord-Holland", "Köln, Nordrhein-Westfalen", "Paris, Île-de-France" };
const char* const kOccupations[] = { "Farmer", "Labourer", "Weaver", "Clerk", "Teacher", "Miner", "Carpenter",
    "Blacksmith", "Servant", "Merchant", "Sailor", "Nurse" };
const char* const kMonths[] = { "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec" };
const struct {
    const char* code;
    const char* name;
    const char* group;
} kEventTypes[] = {
    { "BIRT", "Birth", "Birth and Death Events" },
    { "DEAT", "Death", "Birth and Death Events" },
    { "BAPM", "Baptism", "Other Personal Events" },
    { "BURI", "Burial", "Other Personal Events" },
    { "OCCU", "Occupation", "Individual Attribute Events" },
    { "RESI", "Residence", "Individual Attribute Events" },
    { "MARR", "Marriage", "Marriage Event" },
    { "DIV", "Divorced", "Other Marriage Events" },
    { "EVEN", "Other Event", "Other Event" },
};

template <class T, size_t N> const T& pick(std::mt19937& rng, const T (&list)[N])
{
    return list[std::uniform_int_distribution<size_t>(0, N - 1)(rng)];
}

class Builder {
public:
    Builder(ObjectContext& ctx, quint32 seed)
        : ctx(ctx)
        , rng(seed)
    {
    }

    SyntheticDatabase::Counts run(int target)
    {
        defaults = ctx.insertObject<FTModelDefaults>();
        for (const auto& t : kEventTypes) {
            auto* type = ctx.insertObject<FTEventType>();
            type->setGedcomCode(t.code);
            type->setName(t.name);
            type->setGroup(t.group);
            types.insert(t.code, type);
        }
        const int sourceCount = std::max(1, target / 200);
        for (int i = 0; i < sourceCount; ++i) {
            auto* s = ctx.insertObject<FTSource>();
            s->setNumericId(++counts.sources);
            s->setTitle(QStringLiteral("Parish register of %1, volume %2").arg(pick(rng, kPlaces)).arg(i + 1));
            s->setType(QStringLiteral("Church record"));
            sources.push_back(s);
        }

        // Founders, then generation after generation: each unmarried person in the queue (oldest first) marries
        // someone from outside the tree and has children, who join the queue.
        while (counts.people < target) {
            FTPerson* p = nullptr;
            int born = 0;
            if (queue.empty() || rng() % 50 == 0) {
                born = 1700 + int(rng() % 60);
                p = person(rng() % 2 == 0, pick(rng, kFamilyNames), born);
            } else {
                p = queue.front().first;
                born = queue.front().second;
                queue.pop_front();
                if (rng() % 10 == 0)
                    continue; // stays single
            }
            marry(p, born, target);
            if (rng() % 20 == 0 && counts.people < target)
                marry(p, born + 10, target); // a second marriage
        }
        defaults->setMaxPersonId(counts.people);
        defaults->setMaxEventId(counts.events);
        defaults->setMaxSpouseRelId(counts.couples);
        defaults->setMaxSourceId(counts.sources);
        if (!people.empty()) {
            defaults->setFocalPerson(people.front());
            defaults->setSelectedPerson(people.front());
        }
        return counts;
    }

private:
    FTPerson* person(bool male, const QString& familyName, int born)
    {
        auto* p = ctx.insertObject<FTPerson>();
        const QString given = QString::fromUtf8(male ? pick(rng, kMaleNames) : pick(rng, kFemaleNames));
        const QString middle
            = rng() % 3 == 0 ? QString::fromUtf8(male ? pick(rng, kMaleNames) : pick(rng, kFemaleNames)) : QString();
        const QString givenNames = middle.isEmpty() ? given : given + ' ' + middle;
        p->setName(givenNames + ' ' + familyName);
        p->setGivenNames(givenNames);
        p->setFamilyName(familyName);
        p->setGender(male ? QStringLiteral("M") : QStringLiteral("F"));
        p->setNumericId(++counts.people);
        if (rng() % 25 == 0)
            p->setNotes(QStringLiteral("Mentioned in the family bible; see the letters of %1.").arg(born + 30));
        if (rng() % 8 == 0)
            p->setTitle(QString::fromUtf8(pick(rng, kOccupations)));
        FTEvent* birth = event("BirthEvent", 300, "BIRT", born);
        birth->setPerson(p);
        if (rng() % 10 == 0) {
            auto* citation = ctx.insertObject<FTSourceRel>();
            citation->setSource(sources[rng() % sources.size()]);
            citation->setEvent(birth);
            citation->setPerson(p);
            citation->setReference(QStringLiteral("p. %1").arg(rng() % 400 + 1));
            ++counts.citations;
        }
        const bool dead = born < 1930 ? rng() % 10 != 0 : rng() % 10 == 0;
        const int died = born + 1 + int(rng() % 85);
        if (dead) {
            event("DeathEvent", 301, "DEAT", died)->setPerson(p);
            if (rng() % 3 == 0)
                event("OtherPersonalEvent", 303, "BURI", died)->setPerson(p);
        }
        if (rng() % 4 == 0)
            event("OtherPersonalEvent", 303, "BAPM", born)->setPerson(p);
        if (rng() % 8 == 0)
            event("OtherPersonalEvent", 303, "RESI", born + 25 + int(rng() % 30))->setPerson(p);
        if (rng() % 5 == 0) {
            FTEvent* occupation = event("OtherPersonalEvent", 303, "OCCU", born + 20 + int(rng() % 20));
            occupation->setName(QString::fromUtf8(pick(rng, kOccupations)));
            occupation->setPerson(p);
        }
        people.push_back(p);
        return p;
    }

    FTEvent* event(const char* entity, int type, const char* subtype, int year)
    {
        auto* e = static_cast<FTEvent*>(ctx.insertObject(QString::fromLatin1(entity)));
        e->setType(type);
        e->setSubtype(QString::fromLatin1(subtype));
        const int month = int(rng() % 12) + 1;
        const int day = int(rng() % 28) + 1;
        const int qual = rng() % 8 == 0 ? 1 : 0;
        e->setQual(qual);
        e->setYear(year);
        if (rng() % 6 != 0) {
            e->setMonth(month);
            e->setDay(day);
            e->setDate(QStringLiteral("%1%2 %3 %4")
                           .arg(qual ? "abt " : "")
                           .arg(day, 2, 10, QChar('0'))
                           .arg(kMonths[month - 1])
                           .arg(year));
        } else {
            e->setDate(QStringLiteral("%1%2").arg(qual ? "abt " : "").arg(year));
        }
        e->setName(QString());
        if (rng() % 3 != 0)
            e->setPlace(QString::fromUtf8(pick(rng, kPlaces)));
        e->setNumericId(++counts.events);
        e->setEventType(types.value(QString::fromLatin1(subtype)));
        return e;
    }

    void marry(FTPerson* p, int born, int target)
    {
        const bool male = p->gender() == QLatin1String("M");
        const int spouseBorn = std::min(2020, born - 5 + int(rng() % 10));
        FTPerson* spouse = person(!male, pick(rng, kFamilyNames), spouseBorn);
        auto* couple = ctx.insertObject<FTSpouseRel>();
        couple->setNumericId(++counts.couples);
        couple->addPartnersObject(p);
        couple->addPartnersObject(spouse);
        const int married = std::max(born, spouseBorn) + 18 + int(rng() % 12);
        if (rng() % 5 != 0)
            event("MarriageEvent", 302, "MARR", married)->setSpouseRel(couple);
        if (rng() % 40 == 0)
            event("OtherMarriageEvent", 304, "DIV", married + 10)->setSpouseRel(couple);
        FTPerson* father = male ? p : spouse;
        const QString family = father->familyName();
        static const int kChildren[] = { 0, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 5, 6, 7 };
        // Nobody is born after 2020: the line ends there, and new founders start other families.
        const int children = married < 2010 ? kChildren[rng() % std::size(kChildren)] : 0;
        for (int i = 0; i < children && counts.people < target; ++i) {
            const int childBorn = std::min(2020, married + 1 + 2 * i + int(rng() % 2));
            FTPerson* child = person(rng() % 2 == 0, family, childBorn);
            for (FTPerson* parent : { p, spouse }) {
                auto* link = ctx.insertObject<FTPcRel>();
                link->setPcRelType(1);
                link->setParent(parent);
                link->setChild(child);
                ++counts.parentChildLinks;
            }
            queue.emplace_back(child, childBorn);
        }
    }

    ObjectContext& ctx;
    std::mt19937 rng;
    SyntheticDatabase::Counts counts;
    FTModelDefaults* defaults = nullptr;
    QHash<QString, FTEventType*> types;
    std::vector<FTSource*> sources;
    std::vector<FTPerson*> people;
    std::deque<std::pair<FTPerson*, int>> queue;
};
}

SyntheticDatabase::Counts SyntheticDatabase::build(ObjectContext& ctx, int people, quint32 seed)
{
    UndoManager* undo = ctx.undoManager();
    if (undo)
        undo->disableUndoRegistration();
    Counts counts = Builder(ctx, seed).run(people);
    if (undo)
        undo->enableUndoRegistration();
    return counts;
}

bool SyntheticDatabase::create(const QString& path, int people, QString* error, Counts* counts, quint32 seed)
{
    if (QFileInfo::exists(path)) {
        if (error)
            *error = QStringLiteral("\"%1\" exists already.").arg(path);
        return false;
    }
    ObjectContext ctx(DOvurV6Schema());
    if (!ctx.open(path, ObjectContext::OpenMode::CreateIfMissing, error))
        return false;
    const Counts made = build(ctx, people, seed);
    if (counts)
        *counts = made;
    return ctx.save(error);
}
