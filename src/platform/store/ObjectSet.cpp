#include "platform/store/ObjectSet.h"

#include <QHash>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

// Small sets are searched linearly and keep their order on removal; a large set (an event type's thousands of
// events) builds a position index on its first search and from then on removes by swapping with the last member.
static constexpr size_t kIndexThreshold = 32;

void ObjectSet::Block::buildIndex()
{
    index = new QHash<const ManagedObject*, qsizetype>();
    index->reserve(qsizetype(size));
    for (quint32 i = 0; i < size; ++i)
        index->insert(items()[i], qsizetype(i));
}

ObjectSet::~ObjectSet()
{
    release();
}

void ObjectSet::release()
{
    if (!d)
        return;
    delete d->index;
    std::free(d);
    d = nullptr;
}

qsizetype ObjectSet::find(const ManagedObject* o) const
{
    if (!d)
        return -1;
    if (d->size < kIndexThreshold && !d->index) {
        ManagedObject* const* items = d->items();
        ManagedObject* const* it = std::find(items, items + d->size, o);
        return it == items + d->size ? -1 : it - items;
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
    if (!d || d->size == d->capacity) {
        const quint32 capacity = d ? d->capacity * 2 : 1;
        auto* grown = static_cast<Block*>(std::realloc(d, sizeof(Block) + capacity * sizeof(ManagedObject*)));
        if (!grown)
            throw std::bad_alloc(); // the set keeps its members: realloc leaves the old block as it was
        if (!d) {
            grown->size = 0;
            grown->index = nullptr;
        }
        grown->capacity = capacity;
        d = grown;
    }
    if (d->index)
        d->index->insert(o, qsizetype(d->size));
    d->items()[d->size++] = o;
}

bool ObjectSet::remove(ManagedObject* o)
{
    const qsizetype i = find(o);
    if (i < 0)
        return false;
    ManagedObject** items = d->items();
    if (!d->index) {
        std::memmove(items + i, items + i + 1, (d->size - size_t(i) - 1) * sizeof(ManagedObject*));
        --d->size;
    } else {
        ManagedObject* last = items[d->size - 1];
        items[i] = last;
        --d->size;
        d->index->remove(o);
        if (last != o)
            d->index->insert(last, i);
    }
    if (d->size == 0)
        release();
    return true;
}
