#include "model/FTMoc.h"

#include "model/FTEvent.h"
#include "model/FTEventType.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSource.h"
#include "model/FTSourceRel.h"
#include "model/FTSpouseRel.h"
#include "model/ModelHooks.h"
#include "model/ModelProgress.h"

#include "platform/FTLog.h"
#include "platform/Localizer.h"
#include "platform/Prompts.h"
#include "platform/store/ReleasingWalk.h"

#include <algorithm>

namespace {
// A linked record that can no longer be read: deleted, or of another database. (Links to rows missing from the
// file are already dropped, and so read as no record, when the store opens.)
bool unreadable(const ManagedObject* end, const ManagedObject* from)
{
    return end && (end->isDeleted() || end->context() != from->context());
}

template <class List> bool anyUnreadable(const List& records, const ManagedObject* from)
{
    return std::any_of(records.begin(), records.end(), [from](const ManagedObject* r) { return unreadable(r, from); });
}

QString describe(const ManagedObject* record)
{
    if (!record)
        return QStringLiteral("nil");
    QString text = record->entityName() + QLatin1Char(' ') + record->objectURI();
    if (const auto* person = dynamic_cast<const FTPerson*>(record); person && !person->isDeleted())
        text += QStringLiteral(" (%1)").arg(person->name());
    return text;
}

// What a broken record is reported with: the pass's header, the kind of problem, why, and the records involved.
void showProblem(const QString& headerKey, const QString& name, const QString& reason, const QString& userInfo)
{
    Prompts::current().message(QStringLiteral("%1:\n\n%2 = %3\n%4 = %5\n%6 = %7")
                                   .arg(LocalizedString(headerKey), LocalizedString("Exception"), name,
                                       LocalizedString("Reason"), reason, LocalizedString("UserInfo"), userInfo));
}

QString brokenLinkReason(const QString& keyPath)
{
    return QStringLiteral("%1 (%2)").arg(LocalizedString("LinkToMissingRecord"), keyPath);
}

const QString kBrokenLink = QStringLiteral("ObjectInaccessible");
}

int FTMoc::validateAllRelationships(ModelProgress* progress, QString* report, int* runningTotal)
{
    int total = 0;
    auto add = [&total, runningTotal](int found) {
        total += found;
        if (runningTotal)
            *runningTotal = total;
    };
    if (runningTotal)
        *runningTotal = 0;
    add(validatePcRels(progress));
    add(validatePersonRels(progress));
    add(validateSpouseRelRels(progress));
    add(validateEventRels(progress));
    add(validateSourceRelRels(progress));
    add(validateParentChildBirthDates(progress, report));
    return total;
}

int FTMoc::validatePcRels(ModelProgress* progress)
{
    ModelProgress::begin(progress, LocalizedString("ValidatingPcRels"));
    ReleasingWalk walk(*this);
    const QList<FTPcRel*> links = fetch<FTPcRel>();
    ModelProgress::Steps steps(progress, links.size(), 1);
    QList<FTPcRel*> badChildEnds, badParentEnds;
    auto check = [this](FTPcRel* link, FTPerson* end, const char* reasonKey) {
        if (end && !unreadable(end, link))
            return true;
        if (const auto& beep = ModelHooks::shared().beep)
            beep();
        const QString info = QStringLiteral("{%1 = %2; %3 = %4; %5 = %6}")
                                 .arg(LocalizedString("PcRel"), describe(link), LocalizedString("ParentObj"),
                                     describe(link->parent()), LocalizedString("ChildObj"), describe(link->child()));
        showProblem(QStringLiteral("PcRelException"), LocalizedString("BadPcRel"),
            LocalizedString(QString::fromLatin1(reasonKey)), info);
        return false;
    };
    for (qsizetype i = 0; i < links.size(); ++i) {
        steps.at(i);
        walk.releasePoint();
        FTPcRel* link = links[i];
        if (!check(link, link->child(), "ChildPcRelWrong"))
            badChildEnds << link;
        if (!check(link, link->parent(), "ParentPcRelWrong"))
            badParentEnds << link;
    }

    // A link without both ends means nothing to anyone: it goes, and each removal is saved on its own so that one
    // failure does not keep the others from the file.
    int repaired = 0;
    for (const QList<FTPcRel*>& bad : { badChildEnds, badParentEnds }) {
        for (FTPcRel* link : bad) {
            if (link->isDeleted())
                continue;
            deleteObject(link);
            QString error;
            if (save(&error))
                ++repaired;
            else
                Prompts::current().message(QStringLiteral("%1:%2").arg(LocalizedString("SaveError"), error));
        }
    }
    if (progress)
        progress->setPercent(100);
    return repaired;
}

int FTMoc::validatePersonRels(ModelProgress* progress)
{
    FTLog(QStringLiteral("validatePersonRels"));
    ModelProgress::begin(progress, LocalizedString("ValidatingPersons"));
    ReleasingWalk walk(*this);
    const QList<FTPerson*> people = fetch<FTPerson>();
    ModelProgress::Steps steps(progress, people.size(), 1);
    for (qsizetype i = 0; i < people.size(); ++i) {
        steps.at(i);
        walk.releasePoint();
        FTPerson* person = people[i];
        QString keyPath;
        if (unreadable(person->birth(), person))
            keyPath = QStringLiteral("birth.date");
        else if (unreadable(person->death(), person))
            keyPath = QStringLiteral("death.date");
        else if (anyUnreadable(person->sourceRels(), person))
            keyPath = QStringLiteral("sourceRels.notes");
        else if (anyUnreadable(person->spouseRels(), person))
            keyPath = QStringLiteral("spouseRels.seqNo");
        if (keyPath.isEmpty())
            continue;
        showProblem(QStringLiteral("ValidatingPersonError"), kBrokenLink, brokenLinkReason(keyPath), describe(person));
        Prompts::current().message(QStringLiteral("%1 = %2\n\n%3 = %4")
                                       .arg(LocalizedString("PersonObjId"), person->objectURI(),
                                           LocalizedString("person"), person->name()));
    }
    if (progress)
        progress->setPercent(100);
    return 0;
}

int FTMoc::validateSpouseRelRels(ModelProgress* progress)
{
    ModelProgress::begin(progress, LocalizedString("ValidatingSpouseRels"));
    ReleasingWalk walk(*this);
    const QList<FTSpouseRel*> couples = fetch<FTSpouseRel>();
    ModelProgress::Steps steps(progress, couples.size(), 1);
    auto nameOf = [](const QList<FTPerson*>& partners, int i) {
        return i < partners.size() ? partners[i]->nameWithBirthAndDeathYears() : QStringLiteral("nil");
    };
    for (qsizetype i = 0; i < couples.size(); ++i) {
        steps.at(i);
        walk.releasePoint();
        FTSpouseRel* couple = couples[i];
        const QList<FTPerson*> partners = couple->partners();
        if (partners.size() != 2)
            Prompts::current().message(QStringLiteral("%1 = %2\n%3 = %4\n%5 = %6")
                                           .arg(LocalizedString("InvalidSpouseRels"))
                                           .arg(partners.size())
                                           .arg(LocalizedString("Partner1"), nameOf(partners, 0),
                                               LocalizedString("Partner2"), nameOf(partners, 1)));
        if (anyUnreadable(partners, couple))
            showProblem(QStringLiteral("InvalidSpousesError"), kBrokenLink,
                brokenLinkReason(QStringLiteral("partners.name")), describe(couple));
    }
    if (progress)
        progress->setPercent(100);
    return 0;
}

int FTMoc::validateEventRels(ModelProgress* progress)
{
    ModelProgress::begin(progress, LocalizedString("ValidatingEvents"));
    ReleasingWalk walk(*this);
    const QList<FTEvent*> events = fetch<FTEvent>();
    ModelProgress::Steps steps(progress, events.size(), 1);
    QList<FTEvent*> bad;
    for (qsizetype i = 0; i < events.size(); ++i) {
        steps.at(i);
        walk.releasePoint();
        FTEvent* event = events[i];
        const int type = event->type();
        const bool ofCouple = type == FTEvent::MarriageEvent || type == FTEvent::OtherMarriageEvent;
        const ManagedObject* owner
            = ofCouple ? static_cast<ManagedObject*>(event->spouseRel()) : static_cast<ManagedObject*>(event->person());
        QString keyPath;
        // Every event the program makes has an owner; one without was left behind by a record that is gone.
        if (!owner || unreadable(owner, event))
            keyPath = ofCouple ? QStringLiteral("owner.seqNo") : QStringLiteral("owner.name");
        else if (anyUnreadable(event->sourceRels(), event))
            keyPath = QStringLiteral("sourceRels.notes");
        else if (unreadable(event->eventType(), event))
            keyPath = QStringLiteral("eventType.name");
        if (keyPath.isEmpty())
            continue;
        showProblem(QStringLiteral("EventException"), kBrokenLink, brokenLinkReason(keyPath), describe(event));
        Prompts::current().message(QStringLiteral("%1 = %2\n\n%3 = %4")
                                       .arg(LocalizedString("EventObjId"), event->objectURI(),
                                           LocalizedString("eventName"), event->name()));
        bad << event;
    }
    for (FTEvent* event : bad)
        if (!event->isDeleted())
            deleteObject(event);
    if (progress)
        progress->setPercent(100);
    return 0;
}

int FTMoc::validateSourceRelRels(ModelProgress* progress)
{
    ModelProgress::begin(progress, LocalizedString("ValidatingSrcRels"));
    ReleasingWalk walk(*this);
    const QList<FTSourceRel*> citations = fetch<FTSourceRel>();
    ModelProgress::Steps steps(progress, citations.size(), 1);
    int deleted = 0;
    for (qsizetype i = 0; i < citations.size(); ++i) {
        steps.at(i);
        walk.releasePoint();
        FTSourceRel* citation = citations[i];
        FTSource* source = citation->source();
        if (source && !unreadable(source, citation))
            continue;
        // A citation of no source cites nothing.
        deleteObject(citation);
        ++deleted;
    }
    if (deleted > 0)
        Prompts::current().message(QStringLiteral("%1 %2").arg(deleted).arg(LocalizedString("InvalidatedSources")));
    if (progress)
        progress->setPercent(100);
    return deleted;
}

int FTMoc::validateParentChildBirthDates(ModelProgress* progress, QString* report)
{
    ModelProgress::begin(progress, LocalizedString("ValidatingPcDates"));
    // What the check needs of each person, read in key order: the links below come back to people in the order of
    // their children's names, and in a database whose records are given back during the walk each such visit would
    // read a row of the file again.
    struct Facts {
        QString name;
        qint64 birth = 0; // 0: no birth or no date
        bool male = false;
        bool female = false;
    };
    std::vector<Facts> facts;
    ReleasingWalk walk(*this);
    forEachObject(QString::fromLatin1(FTPerson::kEntityName), [&facts, &walk](ManagedObject* o) {
        walk.releasePoint();
        const auto* person = static_cast<FTPerson*>(o);
        const size_t key = size_t(person->primaryKey());
        if (key >= facts.size())
            facts.resize(key + 1);
        facts[key] = { person->name(), person->birth() ? person->birth()->lDate() : 0, person->isMale(),
                       person->isFemale() };
        return true;
    });
    static const Facts none;
    const auto factsOf = [&facts](const FTPerson* p) -> const Facts& {
        return p && size_t(p->primaryKey()) < facts.size() ? facts[size_t(p->primaryKey())] : none;
    };

    struct Item {
        const FTPerson* child;
        const FTPerson* parent;
        QString childName;
    };
    QList<Item> items;
    forEachObject(QString::fromLatin1(FTPcRel::kEntityName), [&](ManagedObject* o) {
        walk.releasePoint();
        auto* link = static_cast<FTPcRel*>(o);
        items.push_back({ link->child(), link->parent(), link->child() ? factsOf(link->child()).name : QString() });
        return true;
    });
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.childName < b.childName; });

    ModelProgress::Steps steps(progress, items.size(), 1);
    int count = 0;
    for (qsizetype i = 0; i < items.size(); ++i) {
        steps.at(i);
        walk.releasePoint();
        const FTPerson* child = items[i].child;
        const FTPerson* parent = items[i].parent;
        if (!child || !parent)
            continue;
        const qint64 childKey = factsOf(child).birth;
        const qint64 parentKey = factsOf(parent).birth;
        if (childKey == 0 || parentKey == 0)
            continue;
        // Whole years: the month and day borrow from the year (June 1900 to January 1910 is 9 years).
        const qint64 years = (childKey - parentKey) >> 16;
        QString word, comparison;
        qint64 number = years;
        if (years < 0) {
            word = LocalizedString("ConjunctiveIs");
            number = -years;
            comparison = LocalizedString("olderThan");
        } else if (years <= 9) {
            word = LocalizedString("isOnly");
            comparison = LocalizedString("youngerThan");
        } else if ((factsOf(parent).female && years > 45) || (factsOf(parent).male && years > 70)) {
            word = LocalizedString("ConjunctiveIs");
            comparison = LocalizedString("youngerThan");
        } else {
            continue;
        }
        const QString line = QStringLiteral("%1 %2 %3 %4 %5 %6 %7 - %8")
                                 .arg(child->nameWithBirthAndDeathYears(), word, QString::number(number), comparison,
                                     LocalizedString(child->isMale() ? "his" : "her"),
                                     LocalizedString(parent->isMale() ? "father" : "mother"),
                                     parent->nameWithBirthAndDeathYears(), LocalizedString("dbNotChanged"));
        if (report) {
            if (!report->isEmpty())
                report->append(QLatin1Char('\n'));
            report->append(line);
        }
        ++count;
    }
    if (progress)
        progress->setPercent(100);
    return count;
}
