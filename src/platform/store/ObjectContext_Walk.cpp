#include "platform/store/ObjectContextPrivate.h"

#include "platform/store/EntityDescription.h"
#include "platform/store/ReleasingWalk.h"

#include <cstring>

// Faults that hold no value block, and walks of large databases that give back what they read.

void ObjectContext::Private::allocateValues(ManagedObject* o)
{
    o->m_values = static_cast<std::byte*>(::operator new(std::max<size_t>(size_t(o->m_entity->valueBlockSize()), 1)));
    initValues(o);
}

void ObjectContext::Private::initValues(ManagedObject* o)
{
    const EntityDescription* e = o->m_entity;
    // Numbers, links and free slots start as zero bytes; only the slots that own memory are made as objects.
    std::memset(o->m_values, 0, size_t(e->valueBlockSize()));
    o->m_nilBits = e->nilNumbers();
    o->m_unloadedBits = 0;
    for (const EntityDescription::OwnedSlot& s : e->ownedSlots()) {
        std::byte* at = o->m_values + s.offset;
        switch (s.slot) {
        case PropertyDescription::Slot::String:
            new (at) QString();
            break;
        case PropertyDescription::Slot::Binary:
            new (at) QByteArray();
            break;
        default:
            new (at) ObjectSet();
            break;
        }
    }
}

void ObjectContext::Private::freeValues(ManagedObject* o)
{
    if (!o->m_values)
        return;
    for (const EntityDescription::OwnedSlot& s : o->m_entity->ownedSlots()) {
        std::byte* at = o->m_values + s.offset;
        switch (s.slot) {
        case PropertyDescription::Slot::String:
            reinterpret_cast<QString*>(at)->~QString();
            break;
        case PropertyDescription::Slot::Binary:
            reinterpret_cast<QByteArray*>(at)->~QByteArray();
            break;
        default:
            reinterpret_cast<ObjectSet*>(at)->~ObjectSet();
            break;
        }
    }
    // A block inside the record's own allocation goes with the record.
    if (o->m_flags & kInlineValues)
        return;
    ::operator delete(o->m_values);
    o->m_values = nullptr;
}

void ObjectContext::Private::refill(TableState& t, ManagedObject* x, SqliteStatement& st, bool share)
{
    if (x->m_values) {
        // It kept its block for the values that live in memory only, and its relationships with it.
        x->m_flags &= ~kFault;
        --faults;
        --t.faults;
        readRow(x, mapOf(x), st, false, share);
        noteInMemory(x);
        noteRead(x);
        return;
    }
    allocateValues(x);
    x->m_flags = (x->m_flags & ~(kFault | kFaultMembers)) | kUnresolved;
    markLinksPending(x);
    --faults;
    --t.faults;
    readRow(x, mapOf(x), st, true, share);
    noteInMemory(x);
    // Not awakened again: what the record keeps beside its values (marks of a walk under way, say) is its own and
    // stayed as it was when the values went.
    noteRead(x);
}

void ObjectContext::Private::fireWithNeighbours(TableState& t, ManagedObject* o)
{
    // Faults of one table lie in runs: the members of a list registered by key and not read yet, those a walk gave
    // back. A list walked in key order reads up to kBatch rows a statement.
    const size_t pk = size_t(o->primaryKey());
    size_t want = size_t(kBatch);
    if (!walkMarks.empty()) {
        // Inside a walk over the whole database, which will come to the rest anyway: a record read at random comes
        // alone, the one before it being a fault.
        if (const size_t before = pk - 1; before < t.byPk.size() && t.byPk[before] && isFault(t.byPk[before]))
            return;
    } else if (const size_t before = pk - 1; before < t.byPk.size() && t.byPk[before]) {
        // Otherwise it brings twice as many of the faults after it as there are records in memory just before it,
        // so that a list walked in key order soon reads kBatch rows a statement while a record read at random (a
        // family drawn after memory was given back) comes with few or none: the rows after it would be of no use
        // to anyone, and would be given back again at the next change of focal person. One whose key before it
        // names no record in memory, fault or not, begins a list, as within a walk.
        size_t behind = 0;
        const size_t stop = pk > 2 * size_t(kBatch) ? pk - 2 * size_t(kBatch) : 0;
        for (size_t k = std::min(pk, t.byPk.size()) - 1; k > stop && behind < size_t(kBatch); --k) {
            const ManagedObject* x = t.byPk[k];
            if (!x)
                continue;
            if (isFault(x))
                break;
            ++behind;
        }
        want = std::min(want, 2 * behind);
    }
    std::vector<ManagedObject*> list { o };
    const size_t end = std::min(t.byPk.size(), pk + 1 + 4 * size_t(kBatch));
    for (size_t k = pk + 1; k < end && list.size() < want; ++k)
        if (ManagedObject* x = t.byPk[k]; x && isFault(x))
            list.push_back(x);
    if (list.size() > 1)
        fireBatch(t, list);
}

bool ObjectContext::Private::releasable(const ManagedObject* o)
{
    constexpr quint32 kept = ManagedObject::Deleted | ManagedObject::Updated | ManagedObject::InChangeList
        | ManagedObject::Observed | ManagedObject::Deleting;
    return o->hasFlag(ManagedObject::Persisted) && !(o->m_flags & kept) && !o->hasChanges();
}

void ObjectContext::Private::releaseSince(size_t from)
{
    if (from >= walkRead.size())
        return;
    for (size_t i = from; i < walkRead.size(); ++i) {
        ManagedObject* o = walkRead[i];
        if (!isFault(o))
            refresh(o);
    }
    walkRead.resize(from);
}

bool ObjectContext::Private::streamTable(
    TableState& t, const EntityDescription* e, const std::function<bool(ManagedObject*)>& fn)
{
    // Reads the table in key order a block at a time and hands each record to fn before the next block is read;
    // inside a ReleasingWalk, what the walk read beyond what it may keep is given back after each block.
    constexpr int kBlock = 512;
    if (!t.selectAfter) {
        t.selectAfter = std::make_unique<SqliteStatement>(db.handle(),
            QStringLiteral("SELECT %1 FROM %2 WHERE \"_pk\" > ? ORDER BY \"_pk\" LIMIT %3")
                .arg(rowColumnsOf(t.table), StoreSchema::quoted(t.table->name))
                .arg(kBlock));
    }
    const bool all = e->parent() == nullptr;
    const size_t mark = walkRead.size();
    const qint64 kept = ReleasingWalk::keptRecords();
    qint64 last = 0;
    bool failed = false;
    std::vector<ManagedObject*> block;
    std::vector<ManagedObject*> fresh;
    block.reserve(kBlock);
    for (;;) {
        SqliteStatement& st = *t.selectAfter;
        st.bindInt(1, last);
        ++readStatements;
        block.clear();
        fresh.clear();
        while (st.next()) {
            const qint64 pk = st.columnInt(0);
            last = pk;
            const bool known = pk > 0 && size_t(pk) < t.byPk.size() && t.byPk[size_t(pk)];
            ManagedObject* o = objectFromRow(t, st, false);
            if (!o)
                continue;
            block.push_back(o);
            if (!known)
                fresh.push_back(o);
        }
        const bool ok = st.ok();
        failed = !ok;
        if (!ok)
            readFailed(t, QStringLiteral("records after key %1").arg(last), st.error());
        st.reset();
        for (ManagedObject* o : fresh)
            o->awakeFromFetch();
        for (ManagedObject* o : block) {
            if (o->hasFlag(ManagedObject::Deleted) || (!all && !o->entity()->isKindOf(e)))
                continue;
            if (!fn(o))
                return false;
        }
        if (!walkMarks.empty() && qint64(walkRead.size() - mark) > kept)
            releaseSince(mark);
        if (!ok || block.size() < size_t(kBlock))
            break;
    }
    // Records made since the last save have keys above every row of the file. When the file could not be read
    // (another program locks it), the records in memory are still walked, their unsaved changes with them.
    for (size_t i = size_t(last) + 1; i < t.byPk.size(); ++i) {
        ManagedObject* o = t.byPk[i];
        if (!o || (o->hasFlag(ManagedObject::Persisted) && !failed) || isFault(o) || o->hasFlag(ManagedObject::Deleted)
            || (!all && !o->entity()->isKindOf(e)))
            continue;
        if (!fn(o))
            return false;
    }
    return true;
}

void ObjectContext::Private::holdRead()
{
    const bool wanted = bursts > 0 || (large && !walkMarks.empty());
    if (readHeld || !wanted || !db.isOpen() || db.inTransaction())
        return;
    readHeld = db.exec(QStringLiteral("BEGIN"));
}

void ObjectContext::Private::beginBurst(const ObjectContext& context)
{
    Private* d = context.d.get();
    ++d->bursts;
    d->holdRead();
}

void ObjectContext::Private::endBurst(const ObjectContext& context)
{
    Private* d = context.d.get();
    if (--d->bursts == 0 && !(d->large && !d->walkMarks.empty()))
        d->endHeldRead();
}

void ObjectContext::Private::endHeldRead()
{
    if (!readHeld)
        return;
    readHeld = false;
    if (db.inTransaction())
        db.exec(QStringLiteral("COMMIT"));
}

void ObjectContext::Private::beginWalk(const ObjectContext& context)
{
    Private* d = context.d.get();
    d->walkMarks.push_back(d->walkRead.size());
    d->holdRead();
}

void ObjectContext::Private::walkReleasePoint(const ObjectContext& context)
{
    Private* d = context.d.get();
    if (d->walkMarks.empty() || !d->large)
        return;
    const size_t mark = d->walkMarks.back();
    if (qint64(d->walkRead.size() - mark) > ReleasingWalk::keptRecords())
        d->releaseSince(mark);
    d->holdRead(); // again, after a save inside the walk
}

bool ObjectContext::Private::givesBack(const ObjectContext& context)
{
    return context.d->large;
}

void ObjectContext::Private::endWalk(const ObjectContext& context)
{
    Private* d = context.d.get();
    if (d->walkMarks.empty())
        return;
    const size_t mark = d->walkMarks.back();
    d->walkMarks.pop_back();
    // What the walk read is not needed once it is over; an outer walk gives back its own at its next point.
    if (d->large)
        d->releaseSince(mark);
    else
        d->walkRead.resize(std::min(d->walkRead.size(), mark));
    if (d->walkMarks.empty() && d->bursts == 0)
        d->endHeldRead();
}

void ObjectContext::Private::forEachLoaded(const ObjectContext& context, const std::function<bool(ManagedObject*)>& fn)
{
    // Faults leave the list here; fn may turn records into faults (they leave at the next walk) or read others,
    // which join the list behind and are walked too.
    Private& d = *context.d;
    if (d.listedAll) {
        // Every record of the maps, in table and key order; one that fn reads behind the one it is given is not
        // walked this time.
        size_t registered = 0;
        size_t loaded = 0;
        bool going = true;
        for (TableState& t : d.tables) {
            for (size_t i = 0; i < t.byPk.size(); ++i) {
                if (i + kPrefetchAhead < t.byPk.size())
                    prefetchObject(t.byPk[i + kPrefetchAhead]);
                ManagedObject* o = t.byPk[i];
                if (!o)
                    continue;
                ++registered;
                if (isFault(o))
                    continue;
                ++loaded;
                if (going && !fn(o))
                    going = false;
            }
        }
        // Most of them given back (a change of focal person after a whole walk): the few left are listed from now on.
        if (loaded > registered / 4)
            return;
        d.listedAll = false;
        for (TableState& t : d.tables)
            for (ManagedObject* o : t.byPk)
                if (o && !isFault(o)) {
                    o->m_flags |= kListed;
                    d.inMemory.push_back(o);
                }
        return;
    }
    std::vector<ManagedObject*>& list = d.inMemory;
    size_t kept = 0;
    bool going = true;
    for (size_t i = 0; i < list.size(); ++i) {
        ManagedObject* o = list[i];
        if (isFault(o)) {
            o->m_flags &= ~kListed;
            continue;
        }
        list[kept++] = o;
        if (going && !fn(o))
            going = false;
    }
    list.resize(kept);
}
