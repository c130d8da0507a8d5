#include "platform/store/ObjectContextPrivate.h"

#include <QSet>

#include <algorithm>

// Replays one recorded change the other way. Every replay runs inside a change bracket, so the opposite change is
// recorded in the group that the undo manager is filling (the redo group while undoing, and the other way round).
void ObjectContext::Private::replay(const UndoOperation& op)
{
    ManagedObject* o = op.object;
    const PropertyDescription* p = op.property;
    switch (op.kind) {
    case UndoOperation::Kind::SetAttribute:
        o->willChangeValueForKey(p->key);
        writeAttribute(o, p, op.value);
        o->didChangeValueForKey(p->key);
        break;
    case UndoOperation::Kind::Link:
        if (p->isToOne()) {
            if (one(o, p) == op.other)
                setToOne(o, p, nullptr, Notify::Full);
        } else {
            removeToMany(o, p, op.other, Notify::Full);
        }
        break;
    case UndoOperation::Kind::Unlink:
        if (p->isToOne())
            setToOne(o, p, op.other, Notify::Full);
        else
            addToMany(o, p, op.other, Notify::Full);
        break;
    case UndoOperation::Kind::Insert:
        removeForUndo(o);
        break;
    case UndoOperation::Kind::Delete:
        reinsert(o);
        break;
    }
}

void ObjectContext::Private::removeForUndo(ManagedObject* o)
{
    if (o->isDeleted())
        return;
    ++changeDepth;
    ensureLoaded(o);
    if (recording())
        loadAllLazy(o);
    unlinkAll(o, false);
    markDeleted(o);
    if (recording())
        record({ UndoOperation::Kind::Delete, o });
    --changeDepth;
}

void ObjectContext::Private::reinsert(ManagedObject* o)
{
    if (!o->isDeleted())
        return;
    ++changeDepth;
    o->setFlag(ManagedObject::Deleted, false);
    if (!o->hasFlag(ManagedObject::Persisted)) {
        // The delete reached the file: the whole row goes back.
        for (const PropertyDescription* p : o->entity()->properties())
            if (p->column >= 0)
                o->m_dirtyColumns |= quint64(1) << p->column;
    }
    markChanged(o);
    if (recording())
        record({ UndoOperation::Kind::Insert, o });
    --changeDepth;
}

// Frees deleted objects that neither the next save nor any undo or redo group needs any more.
void ObjectContext::Private::purgeGraveyard()
{
    if (graveyard.empty())
        return;
    QSet<const ManagedObject*> kept;
    if (undo)
        undo->forEachRecordedObject([&](const ManagedObject* o) { kept.insert(o); });
    std::vector<ManagedObject*> stay;
    std::vector<ManagedObject*> freed;
    QSet<ManagedObject*> seen;
    for (ManagedObject* o : graveyard) {
        if (seen.contains(o))
            continue; // deleted, put back and deleted again
        seen.insert(o);
        if (!o->hasFlag(ManagedObject::Deleted))
            continue; // put back by an undo
        if (o->hasFlag(ManagedObject::InChangeList) || kept.contains(o)) {
            stay.push_back(o);
            continue;
        }
        forgetObserved(o);
        TableState& t = tableOf(o);
        if (size_t(o->primaryKey()) < t.byPk.size() && t.byPk[size_t(o->primaryKey())] == o)
            t.byPk[size_t(o->primaryKey())] = nullptr;
        freed.push_back(o);
    }
    // The list of records in memory lets go of them first (walked only when one of them is on it).
    bool listed = false;
    for (ManagedObject* o : freed) {
        listed = listed || (o->m_flags & kListed);
        o->m_flags |= kDying;
    }
    const auto dying = [](const ManagedObject* o) { return (o->m_flags & kDying) != 0; };
    if (listed)
        std::erase_if(inMemory, dying);
    // A walk under way that read one of them forgets it too (its marks stay in order: only the count before each
    // mark can shrink).
    if (!freed.empty() && !walkRead.empty()) {
        for (size_t& mark : walkMarks)
            mark -= size_t(std::count_if(walkRead.begin(), walkRead.begin() + std::min(mark, walkRead.size()), dying));
        std::erase_if(walkRead, dying);
    }
    for (ManagedObject* o : freed)
        delete o;
    graveyard.swap(stay);
}
