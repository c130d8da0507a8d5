#include "tools/PlaceEventsIndex.h"

#include "model/FTEvent.h"
#include "model/FTMoc.h"

#include "platform/store/ReleasingWalk.h"


PlaceEventsIndex::PlaceEventsIndex(const FTMoc& moc)
{
    ReleasingWalk walk(moc);
    moc.forEachObject(QString::fromLatin1(FTEvent::kEntityName), [this, &walk](ManagedObject* o) {
        walk.releasePoint();
        auto* e = static_cast<FTEvent*>(o);
        const QString place = e->place();
        if (!place.isEmpty())
            m_events[place].append(e);
        return true;
    });
}

void PlaceEventsIndex::move(const QString& from, const QString& to)
{
    if (from == to)
        return;
    const QList<FTEvent*> moved = m_events.take(from);
    if (!to.isEmpty() && !moved.isEmpty())
        m_events[to].append(moved);
}

void PlaceEventsIndex::move(FTEvent* event, const QString& from, const QString& to)
{
    if (from == to)
        return;
    if (auto it = m_events.find(from); it != m_events.end()) {
        it->removeOne(event);
        if (it->isEmpty())
            m_events.erase(it);
    }
    if (!to.isEmpty())
        m_events[to].append(event);
}
