#include "platform/store/ObjectSet.h"

#include <QHash>

#include <algorithm>

// Small sets are searched linearly and keep their order on removal; a large set (an event type's thousands of
// events) builds a position index on its first search and from then on removes by swapping with the last member.
static constexpr size_t kIndexThreshold = 32;

void ObjectSet::Impl::buildIndex()
{
    index = std::make_unique<QHash<const ManagedObject*, qsizetype>>();
    index->reserve(qsizetype(items.size()));
    for (size_t i = 0; i < items.size(); ++i)
        index->insert(items[i], qsizetype(i));
}

ObjectSet::~ObjectSet() = default;

qsizetype ObjectSet::find(const ManagedObject* o) const
{
    if (!d)
        return -1;
    if (d->items.size() < kIndexThreshold && !d->index) {
        auto it = std::find(d->items.begin(), d->items.end(), o);
        return it == d->items.end() ? -1 : it - d->items.begin();
    }
    if (!d->index)
        d->buildIndex();
    return d->index->value(o, -1);
}

bool ObjectSet::contains(const ManagedObject* o) const
{
    return find(o) >= 0;
}

bool ObjectSet::add(ManagedObject* o)
{
    if (find(o) >= 0)
        return false;
    append(o);
    return true;
}

void ObjectSet::append(ManagedObject* o)
{
    if (!d)
        d = std::make_unique<Impl>();
    if (d->index)
        d->index->insert(o, qsizetype(d->items.size()));
    d->items.push_back(o);
}

bool ObjectSet::remove(ManagedObject* o)
{
    const qsizetype i = find(o);
    if (i < 0)
        return false;
    if (!d->index) {
        d->items.erase(d->items.begin() + i);
    } else {
        ManagedObject* last = d->items.back();
        d->items[size_t(i)] = last;
        d->items.pop_back();
        d->index->remove(o);
        if (last != o)
            d->index->insert(last, i);
    }
    if (d->items.empty())
        d.reset();
    return true;
}
