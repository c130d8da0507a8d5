#include "editor/EventsPageList.h"

#include "model/EventInfo.h"
#include "model/FTEvent.h"
#include "model/FTPcRel.h"
#include "model/FTPerson.h"
#include "model/FTSpouseRel.h"

#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QSet>

#include <algorithm>

namespace {
// LDS ordinances are listed whenever they took place: they are often done long after a death.
bool isLdsOrdinance(const QString& subtype)
{
    static const QSet<QString> ordinances { QStringLiteral("BAPL"), QStringLiteral("CONL"), QStringLiteral("ENDL"),
        QStringLiteral("SLGC"), QStringLiteral("SLGS") };
    return ordinances.contains(subtype);
}
}

EventsPageList::Rows EventsPageList::createEventInfoArray()
{
    return createEventInfoArray(UserDefaults::standard().boolForKey(QStringLiteral("includeRelatedEvents")));
}

EventsPageList::Rows EventsPageList::createEventInfoArray(bool includeRelatedEvents)
{
    Rows rows;
    lBirthDate = lDeathDate = 0;
    selObjBirth = nullptr;
    FTPerson* person = m_person;
    if (!person)
        return rows;
    if (FTEvent* birth = person->birth()) {
        lBirthDate = birth->lDate();
        selObjBirth = birth;
        rows.push_back(std::make_unique<EventInfo>(birth, person, EventInfo::Own, 0));
    }
    FTEvent* death = person->death();
    if (death) {
        lDeathDate = death->lDate();
        rows.push_back(std::make_unique<EventInfo>(death, person, EventInfo::Own, 0));
    }
    for (FTEvent* e : person->otherEvents())
        if (!e->isDeleted())
            rows.push_back(std::make_unique<EventInfo>(e, person, EventInfo::Own, 0));
    if (includeRelatedEvents) {
        addChildrensEvents(rows);
        addParentsEvents(rows);
    }
    addSpousesEvents(rows);

    struct Key {
        qint64 date;
        long seqNo;
        QString subtype;
    };
    std::vector<std::pair<Key, std::unique_ptr<EventInfo>>> keyed;
    keyed.reserve(rows.size());
    for (auto& row : rows) {
        row->setSelectedPerson(person);
        const FTEvent* e = row->pEvent();
        keyed.push_back({ Key { e->lDateForEventsListSort(), row->seqNo(), e->subtype() }, std::move(row) });
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        if (a.first.date != b.first.date)
            return a.first.date < b.first.date;
        if (a.first.seqNo != b.first.seqNo)
            return a.first.seqNo < b.first.seqNo;
        return a.first.subtype < b.first.subtype;
    });
    rows.clear();
    for (auto& [key, row] : keyed)
        rows.push_back(std::move(row));

    if (!death) {
        auto placeholder = std::make_unique<EventInfo>(nullptr, person, EventInfo::Own, 0);
        placeholder->setSelectedPerson(person);
        placeholder->setPlaceHolderName(
            QStringLiteral("(%1 %2)").arg(LocalizedString(QStringLiteral("NoDeathDate")), person->name()));
        rows.push_back(std::move(placeholder));
    }
    return rows;
}

void EventsPageList::addChildrensEvents(Rows& rows)
{
    for (const FTPcRel* link : m_person->childRels()) {
        FTPerson* child = link->child();
        const int type = link->intPcRelType();
        if (!child || (type == FTPcRel::kStep && !showStepRels))
            continue;
        if (type != FTPcRel::kStep)
            appendRelativesEventInfo(child->birth(), child, EventInfo::Child, type, rows);
        if (FTEvent* died = child->death(); died && died->lDate() != 0)
            appendRelativesEventInfo(died, child, EventInfo::Child, type, rows);
    }
}

void EventsPageList::addParentsEvents(Rows& rows)
{
    for (const FTPcRel* link : m_person->parentRels()) {
        FTPerson* parent = link->parent();
        const int type = link->intPcRelType();
        if (!parent || (type == FTPcRel::kStep && !showStepRels))
            continue;
        if (FTEvent* died = parent->death(); died && died->lDate() != 0)
            appendRelativesEventInfo(died, parent, EventInfo::Parent, type, rows);
    }
}

void EventsPageList::addSpousesEvents(Rows& rows)
{
    for (const FTSpouseRel* couple : m_person->spouseRelsArray()) {
        FTPerson* partner = couple->partnerOf(m_person);
        appendRelativesEventInfo(couple->marriage(), partner, EventInfo::Spouse, 0, rows);
        if (partner)
            if (FTEvent* died = partner->death(); died && died->lDate() != 0)
                appendRelativesEventInfo(died, partner, EventInfo::Spouse, 0, rows);
        for (FTEvent* e : couple->otherMarriageEvents())
            appendRelativesEventInfo(e, partner, EventInfo::Spouse, 0, rows);
    }
}

void EventsPageList::appendRelativesEventInfo(
    FTEvent* event, FTPerson* owner, long relationship, long pcRelType, Rows& rows)
{
    if (!event || event->isDeleted())
        return;
    if (!isLdsOrdinance(event->subtype())) {
        switch (event->type()) {
        case FTEvent::DeathEvent: {
            const FTEvent* died = m_person->death();
            lDeathDate = died ? died->lDate() : 0;
            if (lDeathDate != 0 && event->lDate() > lDeathDate)
                return;
            break;
        }
        case FTEvent::BirthEvent:
            if (relationship != EventInfo::Child)
                return;
            break;
        case FTEvent::MarriageEvent:
        case FTEvent::OtherMarriageEvent:
            break;
        default:
            return;
        }
    }
    rows.push_back(std::make_unique<EventInfo>(event, owner, relationship, pcRelType));
}
