#include "platform/store/ObjectContextPrivate.h"

// Every change of a relationship is made of links and unlinks of pairs of objects. Each one updates both sides,
// marks the key-holding side (or the join table) for the next save, and is recorded on its own, so that an undo
// also gives back a link that was taken from a third object.

namespace {
struct Side {
    ManagedObject* object;
    const PropertyDescription* property;
};

// Brackets the sides that a relationship change touches: will for each on entry, did in reverse on exit.
class SideBrackets {
public:
    void add(ManagedObject* o, const PropertyDescription* p)
    {
        if (o)
            m_sides[m_count++] = { o, p };
    }
    void open()
    {
        for (int i = 0; i < m_count; ++i)
            m_sides[i].object->willChangeValueForKey(m_sides[i].property->key);
    }
    void close()
    {
        for (int i = m_count - 1; i >= 0; --i)
            m_sides[i].object->didChangeValueForKey(m_sides[i].property->key);
    }

private:
    Side m_sides[4] = {};
    int m_count = 0;
};
}

bool ObjectContext::Private::canLink(
    const ManagedObject* a, const PropertyDescription* rel, const ManagedObject* b) const
{
    if (!b)
        return true;
    if (b->context() != q || !b->entity()->isKindOf(rel->target)) {
        qWarning("ObjectContext: %s.%s cannot hold a %s of %s", qPrintable(a->entityName()), qPrintable(rel->name),
            qPrintable(b->entityName()), b->context() == q ? "this store" : "another store");
        return false;
    }
    if (b->isDeleted() || a->isDeleted()) {
        qWarning("ObjectContext: %s.%s: a deleted object cannot be linked", qPrintable(a->entityName()),
            qPrintable(rel->name));
        return false;
    }
    return true;
}

void ObjectContext::Private::setToOne(ManagedObject* a, const PropertyDescription* rel, ManagedObject* b, Notify mode)
{
    ManagedObject* old = one(a, rel);
    if (old == b || !canLink(a, rel, b))
        return;
    const PropertyDescription* inv = rel->inverse;
    ManagedObject* formerOfB = b && inv->isToOne() ? one(b, inv) : nullptr;
    SideBrackets sides;
    if (mode != Notify::Raw) {
        if (mode == Notify::Full)
            sides.add(a, rel);
        sides.add(old, inv);
        sides.add(b, inv);
        sides.add(formerOfB, rel);
    }
    sides.open();
    if (old)
        rawUnlink(rel, a, old);
    if (formerOfB)
        rawUnlink(rel, formerOfB, b);
    if (b)
        rawLink(rel, a, b);
    sides.close();
}

bool ObjectContext::Private::linked(const ManagedObject* a, const PropertyDescription* rel, const ManagedObject* b)
{
    // Both sides are always in step, so a to-one inverse answers at once where a large set would need a search.
    const PropertyDescription* inv = rel->inverse;
    if (inv->isToOne())
        return b->entity()->isKindOf(rel->target) && one(b, inv) == a;
    return many(a, rel).contains(b);
}

void ObjectContext::Private::addToMany(ManagedObject* a, const PropertyDescription* rel, ManagedObject* b, Notify mode)
{
    if (!b || !canLink(a, rel, b) || linked(a, rel, b))
        return;
    const PropertyDescription* inv = rel->inverse;
    ManagedObject* formerOfB = inv->isToOne() ? one(b, inv) : nullptr;
    SideBrackets sides;
    if (mode != Notify::Raw) {
        if (mode == Notify::Full)
            sides.add(a, rel);
        sides.add(b, inv);
        sides.add(formerOfB, rel);
    }
    sides.open();
    if (formerOfB)
        rawUnlink(rel, formerOfB, b);
    rawLink(rel, a, b);
    sides.close();
}

void ObjectContext::Private::removeToMany(
    ManagedObject* a, const PropertyDescription* rel, ManagedObject* b, Notify mode)
{
    if (!b || !linked(a, rel, b))
        return;
    SideBrackets sides;
    if (mode != Notify::Raw) {
        if (mode == Notify::Full)
            sides.add(a, rel);
        sides.add(b, rel->inverse);
    }
    sides.open();
    rawUnlink(rel, a, b);
    sides.close();
}

// Links only what is not linked yet (setToOne() and addToMany() see to that), so a set takes the new member
// without searching itself first.
void ObjectContext::Private::linkSide(ManagedObject* x, const PropertyDescription* p, ManagedObject* y, bool add)
{
    // A side held by the other record's key column and not read yet takes the change when it is read: the other
    // record's key, in memory, says where it points.
    if (p->column < 0 && !linksIn(x, p)) {
        markChanged(x);
        return;
    }
    if (p->isToOne())
        one(x, p) = add ? y : nullptr;
    else if (add)
        many(x, p).append(y);
    else
        many(x, p).remove(y);
    if (p->column >= 0)
        x->m_dirtyColumns |= quint64(1) << p->column;
    markChanged(x);
}

void ObjectContext::Private::touchJoin(const PropertyDescription* rel, ManagedObject* a, ManagedObject* b, int delta)
{
    if (!rel->isManyToMany())
        return;
    const QPair<qint64, qint64> row
        = rel->joinSource ? qMakePair(a->primaryKey(), b->primaryKey()) : qMakePair(b->primaryKey(), a->primaryKey());
    auto& pending = joins[size_t(rel->joinTable)].pending;
    const int n = pending.value(row) + delta;
    if (n == 0)
        pending.remove(row);
    else
        pending.insert(row, n);
}

void ObjectContext::Private::rawLink(const PropertyDescription* rel, ManagedObject* a, ManagedObject* b)
{
    linkSide(a, rel, b, true);
    linkSide(b, rel->inverse, a, true);
    touchJoin(rel, a, b, +1);
    if (recording())
        record({ UndoOperation::Kind::Link, a, rel, b });
}

void ObjectContext::Private::rawUnlink(const PropertyDescription* rel, ManagedObject* a, ManagedObject* b)
{
    linkSide(a, rel, b, false);
    linkSide(b, rel->inverse, a, false);
    touchJoin(rel, a, b, -1);
    if (recording())
        record({ UndoOperation::Kind::Unlink, a, rel, b });
}
