#include "model/FTPerson.h"

#include "model/EventInfo.h"
#include "model/FTEvent.h"
#include "model/FTPcRel.h"
#include "model/FTSpouseRel.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {
using Rows = std::vector<std::unique_ptr<EventInfo>>;

// The LDS ordinances, which are listed even when they took place after the person died.
bool isLdsOrdinance(const QString& subtype)
{
    static const QSet<QString> ordinances { QStringLiteral("BAPL"), QStringLiteral("CONL"), QStringLiteral("ENDL"),
        QStringLiteral("SLGC"), QStringLiteral("SLGS") };
    return ordinances.contains(subtype);
}
}

Rows FTPerson::createEventInfoArray(bool includeChildrenAndParents)
{
    Rows rows;
    addOwnEventsTo(rows);
    if (includeChildrenAndParents) {
        addChildrensEventsTo(rows);
        addParentsEventsTo(rows);
    }
    addSpousesEventsTo(rows);
    for (auto& row : rows)
        row->setSelectedPerson(this);
    sortEventInfoArray(rows);
    return rows;
}

void FTPerson::addOwnEventsTo(Rows& rows)
{
    if (FTEvent* b = birth(); b && !b->isEmptyEvent())
        rows.push_back(std::make_unique<EventInfo>(b, this, EventInfo::Own, 0));
    if (FTEvent* d = death(); d && !d->isEmptyEvent())
        rows.push_back(std::make_unique<EventInfo>(d, this, EventInfo::Own, 0));
    for (FTEvent* e : otherEvents())
        if (!e->isDeleted())
            rows.push_back(std::make_unique<EventInfo>(e, this, EventInfo::Own, 0));
}

void FTPerson::sortEventInfoArray(Rows& rows)
{
    QHash<const EventInfo*, qint64> keys;
    for (const auto& row : rows)
        keys.insert(row.get(), row->pEvent() ? row->pEvent()->lDateForEventsListSort() : 0);
    std::stable_sort(rows.begin(), rows.end(), [&keys](const auto& a, const auto& b) {
        const qint64 ka = keys.value(a.get());
        const qint64 kb = keys.value(b.get());
        if (ka != kb)
            return ka < kb;
        return a->seqNo() < b->seqNo();
    });
}

void FTPerson::addChildrensEventsTo(Rows& rows)
{
    for (const FTPcRel* link : childRels()) {
        FTPerson* child = link->child();
        if (!child)
            continue;
        const int type = link->intPcRelType();
        if (type != FTPcRel::kStep)
            appendRelativesEventInfo(child->birth(), child, EventInfo::Child, type, rows);
        appendRelativesEventInfo(child->death(), child, EventInfo::Child, type, rows);
    }
}

void FTPerson::addParentsEventsTo(Rows& rows)
{
    for (const FTPcRel* link : parentRels())
        if (FTPerson* parent = link->parent())
            appendRelativesEventInfo(parent->death(), parent, EventInfo::Parent, link->intPcRelType(), rows);
}

void FTPerson::addSpousesEventsTo(Rows& rows)
{
    for (const FTSpouseRel* couple : spouseRelsArray()) {
        FTPerson* partner = couple->partnerOf(this);
        appendRelativesEventInfo(couple->marriage(), partner, EventInfo::Spouse, 0, rows);
        if (partner)
            appendRelativesEventInfo(partner->death(), partner, EventInfo::Spouse, 0, rows);
        for (FTEvent* e : couple->otherMarriageEvents())
            appendRelativesEventInfo(e, partner, EventInfo::Spouse, 0, rows);
    }
}

void FTPerson::appendRelativesEventInfo(FTEvent* event, FTPerson* owner, long relationship, long pcRelType, Rows& rows)
{
    if (!event || event->isDeleted() || event->isEmptyEvent())
        return;
    if (!isLdsOrdinance(event->subtype())) {
        const quint32 died = death() ? death()->lDate() : 0;
        if (died != 0 && event->lDate() > died)
            return;
    }
    auto row = std::make_unique<EventInfo>(event, owner, relationship, pcRelType);
    row->setSelectedPerson(this);
    rows.push_back(std::move(row));
}
