#include "platform/store/ObjectContextPrivate.h"

#include "platform/FTLog.h"
#include "platform/store/ReleasingWalk.h"

#include <QSet>

#include <unordered_set>

// Reading records when they are first needed. Every record in memory is the one object of its row for the life of
// the context; a row is read once (and again only after the record was turned back into a fault). A record read
// from its row holds the keys of its links' targets until a link is first used; then the targets are found in
// memory or read by key. Its relationships held by other rows' key columns (a person's events, children, couples)
// are read with one statement per such column on first use, and the changes not saved yet are laid over what the
// file says: memory is the truth for every record in it.

namespace {
// A record key may lie this far beyond the number of records below it (see ObjectContext.cpp).
constexpr qint64 kKeySlack = qint64(1) << 24;
constexpr qint64 kKeysPerRecord = 64;
bool plausibleKey(qint64 key, qint64 records)
{
    return key <= kKeySlack + kKeysPerRecord * records;
}

}

QString ObjectContext::Private::rowColumnsOf(const StoreSchema::Table* table, const QString& alias)
{
    const QString prefix = alias.isEmpty() ? QString() : alias + QLatin1Char('.');
    QStringList cols { prefix + QStringLiteral("\"_pk\""), prefix + QStringLiteral("\"_entity\"") };
    for (const StoreSchema::Column& c : table->columns)
        cols << (c.lazy ? QStringLiteral("(%1%2 IS NOT NULL)").arg(prefix, StoreSchema::quoted(c.name))
                        : prefix + StoreSchema::quoted(c.name));
    return cols.join(", ");
}

SqliteStatement& ObjectContext::Private::rowSelect(TableState& t)
{
    if (!t.selectRow)
        t.selectRow = std::make_unique<SqliteStatement>(db.handle(),
            QStringLiteral("SELECT %1 FROM %2 WHERE \"_pk\"=?")
                .arg(rowColumnsOf(t.table), StoreSchema::quoted(t.table->name)));
    return *t.selectRow;
}

void ObjectContext::Private::prepareLinkColumns()
{
    for (TableState& t : tables) {
        for (EntityMap& m : t.entities) {
            m.linkColumns.clear();
            m.joinSides.clear();
            for (const PropertyDescription* p : m.entity->properties()) {
                if (!p->isRelationship() || p->column >= 0)
                    continue;
                if (p->isManyToMany()) {
                    m.joinSides.push_back(p);
                    continue;
                }
                const PropertyDescription* inv = p->inverse;
                if (!inv || inv->column < 0)
                    continue;
                const EntityMap::LinkColumn c { inv->owner->tableIndex(), inv->column };
                const bool known = std::any_of(m.linkColumns.begin(), m.linkColumns.end(),
                    [&](const EntityMap::LinkColumn& x) { return x.table == c.table && x.column == c.column; });
                if (!known)
                    m.linkColumns.push_back(c);
            }
            m.linkBitOf.assign(m.entity->properties().size(), -1);
            m.linkBits = 0;
            for (const PropertyDescription* p : m.entity->properties()) {
                if (!p->isRelationship() || p->column >= 0 || size_t(p->index) >= m.linkBitOf.size())
                    continue;
                size_t link = 0;
                if (p->isManyToMany()) {
                    link = m.linkColumns.size()
                        + size_t(std::find(m.joinSides.begin(), m.joinSides.end(), p) - m.joinSides.begin());
                } else {
                    const PropertyDescription* inv = p->inverse;
                    if (!inv || inv->column < 0)
                        continue;
                    const auto through = [&](const EntityMap::LinkColumn& x) {
                        return x.table == inv->owner->tableIndex() && x.column == inv->column;
                    };
                    const auto at = std::find_if(m.linkColumns.begin(), m.linkColumns.end(), through);
                    link = size_t(at - m.linkColumns.begin());
                }
                const int bit = EntityMap::bitOfLink(link);
                m.linkBitOf[size_t(p->index)] = qint8(bit);
                m.linkBits |= quint16(1u << bit);
            }
        }
    }
}

bool ObjectContext::Private::openLazily(QString* message)
{
    for (TableState& t : tables) {
        const QString table = StoreSchema::quoted(t.table->name);
        SqliteStatement size(db.handle(), QStringLiteral("SELECT count(*), max(\"_pk\") FROM %1").arg(table));
        if (!size.next()) {
            *message = db.lastError();
            return false;
        }
        t.records = size.columnInt(0);
        const qint64 largest = size.isNull(1) ? 0 : size.columnInt(1);
        if (!plausibleKey(largest, t.records)) {
            *message = QStringLiteral("invalid record key %1 in %2").arg(largest).arg(t.table->name);
            return false;
        }
        t.nextPk = std::max(t.nextPk, largest + 1);
        // Every row must be a record of a kind this table holds: one read of the kind column of the whole table,
        // done once here so that a damaged file is refused when it opens rather than halfway through the work.
        QStringList kinds;
        for (const EntityMap& m : t.entities)
            if (!m.entity->isAbstract())
                kinds << QLatin1Char('\'') + m.entity->name() + QLatin1Char('\'');
        SqliteStatement strange(db.handle(),
            QStringLiteral("SELECT \"_entity\" FROM %1 WHERE \"_entity\" NOT IN (%2) LIMIT 1")
                .arg(table, kinds.join(',')));
        if (strange.next()) {
            *message = QStringLiteral("unknown kind of record \"%1\" in %2").arg(strange.columnText(0), t.table->name);
            return false;
        }
        if (!strange.ok()) {
            *message = db.lastError();
            return false;
        }
    }
    // Keys are never given twice, not even those of rows deleted in earlier sessions.
    SqliteStatement seq(db.handle(), QStringLiteral("SELECT name, seq FROM sqlite_sequence"));
    while (seq.next()) {
        const QString name = seq.columnText(0);
        for (TableState& t : tables) {
            if (t.table->name != name)
                continue;
            const qint64 next = seq.columnInt(1) + 1;
            if (!plausibleKey(next, t.records + 1)) {
                *message = QStringLiteral("invalid key counter %1 of %2").arg(next - 1).arg(name);
                return false;
            }
            t.nextPk = std::max(t.nextPk, next);
        }
    }
    if (!seq.ok()) {
        *message = db.lastError();
        return false;
    }
    qint64 rows = 0;
    for (TableState& t : tables) {
        rows += t.records;
        t.complete = t.records == 0;
    }
    everything = rows == 0;
    large = rows > ReleasingWalk::largeDatabaseRows();
    return true;
}

void ObjectContext::Private::readFailed(const TableState& t, const QString& what, const QString& why)
{
    errorCode = ErrorCode::Damaged;
    error = QStringLiteral("Could not read %1 of %2: %3").arg(what, t.table->name, why);
    FTLog(QStringLiteral("Store: ") + error);
}

ManagedObject* ObjectContext::Private::objectFromRow(TableState& t, SqliteStatement& st, bool share)
{
    const qint64 pk = st.columnInt(0);
    if (pk > 0 && size_t(pk) < t.byPk.size() && t.byPk[size_t(pk)]) {
        ManagedObject* x = t.byPk[size_t(pk)];
        if (isFault(x))
            refill(t, x, st);
        return x;
    }
    const QByteArrayView entityName = st.columnBytes(1);
    // Rows of one kind come in runs: the kind of the row before is tried first.
    const EntityMap* map = t.lastRead && t.lastRead->nameUtf8 == entityName ? t.lastRead : nullptr;
    for (size_t i = 0; !map && i < t.entities.size(); ++i)
        if (t.entities[i].nameUtf8 == entityName)
            map = &t.entities[i];
    t.lastRead = map;
    if (!map || map->entity->isAbstract() || pk <= 0 || !plausibleKey(pk, t.records + 1)) {
        readFailed(t, QStringLiteral("record %1").arg(pk),
            QStringLiteral("it is a record of an unknown kind (\"%1\") or has an invalid key")
                .arg(QString::fromUtf8(entityName.toByteArray())));
        return nullptr;
    }
    ManagedObject* o = make(map->entity, pk);
    noteInMemory(o);
    o->m_flags |= ManagedObject::Persisted | kUnresolved;
    markLinksPending(o);
    readRow(o, *map, st, true, share);
    t.nextPk = std::max(t.nextPk, pk + 1);
    noteRead(o);
    return o;
}

ManagedObject* ObjectContext::Private::objectAt(TableState& t, qint64 key)
{
    if (key <= 0)
        return nullptr;
    if (size_t(key) < t.byPk.size() && t.byPk[size_t(key)])
        return t.byPk[size_t(key)];
    if (t.complete || !db.isOpen())
        return nullptr;
    SqliteStatement& st = rowSelect(t);
    st.bindInt(1, key);
    ++readStatements;
    ManagedObject* o = nullptr;
    if (st.next())
        o = objectFromRow(t, st, false);
    else if (!st.ok())
        readFailed(t, QStringLiteral("record %1").arg(key), st.error());
    st.reset();
    if (o)
        o->awakeFromFetch();
    return o;
}

void ObjectContext::Private::readRecords(TableState& t, const std::vector<qint64>& keys)
{
    if (!db.isOpen())
        return;
    std::vector<qint64> missing;
    std::vector<ManagedObject*> faulted;
    for (const qint64 key : keys) {
        ManagedObject* o = key > 0 && size_t(key) < t.byPk.size() ? t.byPk[size_t(key)] : nullptr;
        if (o && isFault(o))
            faulted.push_back(o);
        else if (!o && key > 0 && !t.complete)
            missing.push_back(key);
    }
    if (!faulted.empty())
        fireBatch(t, faulted);
    if (missing.empty())
        return;
    SqliteStatement& st = batchSelect(t);
    std::vector<ManagedObject*> made;
    for (size_t from = 0; from < missing.size(); from += kBatch) {
        const size_t to = std::min(missing.size(), from + kBatch);
        for (size_t i = from; i < to; ++i)
            st.bindInt(int(i - from) + 1, missing[i]);
        ++readStatements;
        while (st.next())
            if (ManagedObject* o = objectFromRow(t, st, false))
                made.push_back(o);
        if (!st.ok())
            readFailed(t, QStringLiteral("records by key"), st.error());
        st.reset();
    }
    for (ManagedObject* o : made)
        o->awakeFromFetch();
}

void ObjectContext::Private::dropLink(ManagedObject* o, const PropertyDescription* p, const char* what, qint64 key)
{
    // A link the graph cannot hold is dropped and written empty with the next save: left in the file, it would make
    // the delete of its target fail the file's key check.
    FTLog(QStringLiteral("Store: dropped %1 %2.%3 of %4 to %5")
              .arg(QLatin1String(what), o->entityName(), p->name)
              .arg(o->primaryKey())
              .arg(key));
    rawOne(o, p) = nullptr;
    o->m_dirtyColumns |= quint64(1) << p->column;
    markChanged(o);
}

void ObjectContext::Private::resolve(ManagedObject* o)
{
    if (!(o->m_flags & kUnresolved))
        return;
    o->m_flags &= ~kUnresolved;
    const EntityMap& m = mapOf(o);
    for (const PropertyDescription* p : m.byColumn) {
        if (!p || p->slot != PropertyDescription::Slot::Object)
            continue;
        ManagedObject*& at = rawOne(o, p);
        qint64 key = 0;
        std::memcpy(&key, &at, sizeof key);
        at = nullptr;
        if (key == 0)
            continue;
        ManagedObject* other = objectAt(tables[size_t(p->target->tableIndex())], key);
        if (!other || !other->entity()->isKindOf(p->target)) {
            dropLink(o, p, "a broken link", key);
            continue;
        }
        // A far end whose own side is in memory already counted this record there, unless it was a second
        // record claiming a one-to-one link, which lost.
        const PropertyDescription* inv = p->inverse;
        if (inv->isToOne() && linksIn(other, inv) && rawOne(other, inv) != o) {
            dropLink(o, p, "a second link", key);
            continue;
        }
        at = other;
    }
}

void ObjectContext::Private::loadLinks(ManagedObject* o, const PropertyDescription* p)
{
    // A fault without a value block has no relationships in memory either; one that kept its block kept them.
    if (!o->m_values)
        fire(o);
    if (p->column >= 0)
        resolve(o);
    else
        fillLinks(o, p);
    if (everything)
        clearLinksPending(o);
    if (p->isToMany() && (o->m_flags & kFaultMembers))
        fireMembers(o);
}

void ObjectContext::Private::fireMembers(ManagedObject* o)
{
    o->m_flags &= ~kFaultMembers;
    if (!db.isOpen())
        return;
    std::vector<std::vector<ManagedObject*>> byTable(tables.size());
    for (const PropertyDescription* p : o->entity()->properties()) {
        if (!p->isToMany())
            continue;
        for (ManagedObject* x : rawMany(o, p))
            if (isFault(x))
                byTable[size_t(x->entity()->tableIndex())].push_back(x);
    }
    for (size_t i = 0; i < tables.size(); ++i)
        if (!byTable[i].empty())
            fireBatch(tables[i], byTable[i]);
}

SqliteStatement& ObjectContext::Private::batchSelect(TableState& t)
{
    if (!t.selectBatch)
        t.selectBatch = std::make_unique<SqliteStatement>(db.handle(),
            QStringLiteral("SELECT %1 FROM %2 WHERE \"_pk\" IN (%3)")
                .arg(rowColumnsOf(t.table), StoreSchema::quoted(t.table->name),
                    QStringList(kBatch, QStringLiteral("?")).join(',')));
    return *t.selectBatch;
}

void ObjectContext::Private::fireFromRow(TableState& t, SqliteStatement& st)
{
    const qint64 pk = st.columnInt(0);
    ManagedObject* x = size_t(pk) < t.byPk.size() ? t.byPk[size_t(pk)] : nullptr;
    if (x && isFault(x))
        refill(t, x, st);
}

void ObjectContext::Private::fireBatch(TableState& t, const std::vector<ManagedObject*>& list)
{
    SqliteStatement& st = batchSelect(t);
    for (size_t from = 0; from < list.size(); from += kBatch) {
        const size_t to = std::min(list.size(), from + kBatch);
        for (size_t i = from; i < to; ++i)
            st.bindInt(int(i - from) + 1, list[i]->primaryKey());
        ++readStatements;
        while (st.next())
            fireFromRow(t, st);
        st.reset();
    }
    // Those whose rows are gone stay faults and say so when they are used, one by one. Records coming back from
    // being faults are not awakened again (see fire()).
}

void ObjectContext::Private::fireTable(TableState& t)
{
    if (t.faults == 0 || !db.isOpen())
        return;
    SqliteStatement st(db.handle(),
        QStringLiteral("SELECT %1 FROM %2 ORDER BY \"_pk\"")
            .arg(rowColumnsOf(t.table), StoreSchema::quoted(t.table->name)));
    ++readStatements;
    while (st.next() && t.faults > 0)
        fireFromRow(t, st);
    st.reset();
}

void ObjectContext::Private::fillLinks(ManagedObject* o, const PropertyDescription* wanted)
{
    if (linkLoaded(o, wanted))
        return;
    // Only the relationships filled the way `wanted` is: a walk that follows a person's events reads no links to
    // parents or children.
    const EntityMap& m = mapOf(o);
    const int bit = m.linkBitOf[size_t(wanted->index)];
    const quint32 mask = quint32(1) << bit;
    clearLinkPending(o, bit);
    if (everything || o->hasFlag(ManagedObject::Deleted) || !db.isOpen())
        return;
    // The records of the same kind that follow it in key order and wait as well come along (a walk over a list of
    // sources, say, asks for each one's citations next): one statement per column for up to kBatch of them.
    TableState& own = tableOf(o);
    std::vector<ManagedObject*> owners { o };
    QHash<qint64, ManagedObject*> byKey { { o->primaryKey(), o } };
    // Not when the record before it waits too (memory was given back, and the records are used at random).
    const size_t before = size_t(o->primaryKey()) - 1;
    const ManagedObject* previous = before < own.byPk.size() ? own.byPk[before] : nullptr;
    const bool walking = !previous || (previous->m_values && !(previous->m_pendingLinks & mask));
    const size_t end = !walking ? 0 : std::min(own.byPk.size(), size_t(o->primaryKey()) + 1 + 4 * size_t(kBatch));
    for (size_t k = size_t(o->primaryKey()) + 1; k < end && owners.size() < size_t(kBatch); ++k) {
        ManagedObject* x = own.byPk[k];
        // A fault without its values has no slots to fill; it reads its relationships when it is read again.
        if (!x || x->entity() != o->entity() || !(x->m_pendingLinks & mask) || x->hasFlag(ManagedObject::Deleted)
            || !x->m_values)
            continue;
        clearLinkPending(x, bit);
        owners.push_back(x);
        byKey.insert(x->primaryKey(), x);
    }
    const auto bindOwners = [&](SqliteStatement& st) {
        for (size_t i = 0; i < owners.size(); ++i)
            st.bindInt(int(i) + 1, owners[i]->primaryKey());
    };
    // One record alone is asked for with "=": an IN list makes SQLite build a table of its keys at every run.
    const bool one = owners.size() == 1;
    static const QString batchKeys = QStringList(kBatch, QStringLiteral("?")).join(',');
    const QString keys = one ? QStringLiteral("?") : batchKeys;
    // Runs a statement over the owners' keys whose rows are members of table `t`, their owner's key in column
    // `ownerColumn`: each member with the owner its row names, the records new to memory awakened.
    const auto readMembers = [&](TableState& t, SqliteStatement& st, int ownerColumn) {
        bindOwners(st);
        ++readStatements;
        std::vector<std::pair<ManagedObject*, qint64>> found;
        std::vector<ManagedObject*> fresh;
        while (st.next()) {
            const qint64 pk = st.columnInt(0);
            const bool known = size_t(pk) < t.byPk.size() && t.byPk[size_t(pk)];
            if (ManagedObject* x = objectFromRow(t, st, false)) {
                found.emplace_back(x, st.columnInt(ownerColumn));
                if (!known)
                    fresh.push_back(x);
            }
        }
        if (!st.ok())
            readFailed(t, QStringLiteral("the links of %1 %2").arg(o->entityName()).arg(o->primaryKey()), st.error());
        st.reset();
        for (ManagedObject* x : fresh)
            x->awakeFromFetch();
        return found;
    };
    // Through one column a record belongs to one owner at most; through another it may belong to another owner
    // (a couple's link of parent and child, both in the batch), so the members are told apart column by column.
    std::unordered_set<const ManagedObject*> seen;
    // One member: the record `x`, whose key column says `owner`, through its relationship `px`.
    const auto add = [&](ManagedObject* owner, ManagedObject* x, const PropertyDescription* px) {
        if (!seen.insert(x).second)
            return;
        const PropertyDescription* inv = px->inverse;
        if (inv->isToOne()) {
            ManagedObject*& slot = rawOne(owner, inv);
            if (slot && slot != x) {
                resolve(x);
                dropLink(x, px, "a second link", owner->primaryKey());
                return;
            }
            slot = x;
        } else {
            rawMany(owner, inv).append(x);
        }
    };
    for (size_t link = 0; link < m.linkColumns.size(); ++link) {
        if (EntityMap::bitOfLink(link) != bit)
            continue;
        const EntityMap::LinkColumn& c = m.linkColumns[link];
        seen.clear();
        TableState& t = tables[size_t(c.table)];
        auto& st = t.selectByColumn[2 * c.column + (one ? 1 : 0)];
        if (!st)
            st = std::make_shared<SqliteStatement>(db.handle(),
                QStringLiteral("SELECT %1 FROM %2 WHERE %3 IN (%4) ORDER BY \"_pk\"")
                    .arg(rowColumnsOf(t.table), StoreSchema::quoted(t.table->name),
                        StoreSchema::quoted(t.table->columns[size_t(c.column)].name), keys));
        const auto found = readMembers(t, *st, 2 + c.column);
        // What the file says, as far as memory agrees: a record changed since points where memory says.
        for (const auto& [x, key] : found) {
            ManagedObject* owner = byKey.value(key);
            if (!owner || x->hasFlag(ManagedObject::Deleted))
                continue;
            const PropertyDescription* px = mapOf(x).byColumn[size_t(c.column)];
            if (!px || !px->inverse || !owner->entity()->isKindOf(px->inverse->owner))
                continue;
            if (!(x->m_flags & kUnresolved) && rawOne(x, px) != owner)
                continue;
            add(owner, x, px);
        }
        // Links made since the last save, not in the file yet.
        for (size_t i = 0; i < changed.size(); ++i) {
            ManagedObject* x = changed[i];
            if (x->hasFlag(ManagedObject::Deleted) || (x->m_flags & kUnresolved)
                || x->entity()->tableIndex() != c.table)
                continue;
            const PropertyDescription* px = mapOf(x).byColumn[size_t(c.column)];
            if (!px || !px->inverse)
                continue;
            ManagedObject* owner = rawOne(x, px);
            if (!owner || byKey.value(owner->primaryKey()) != owner || !owner->entity()->isKindOf(px->inverse->owner))
                continue;
            add(owner, x, px);
        }
    }
    for (size_t side = 0; side < m.joinSides.size(); ++side) {
        if (EntityMap::bitOfLink(m.linkColumns.size() + side) != bit)
            continue;
        const PropertyDescription* p = m.joinSides[side];
        JoinState& j = joins[size_t(p->joinTable)];
        const PropertyDescription* other = p->inverse;
        TableState& t = tables[size_t(other->owner->tableIndex())];
        auto& st = (p->joinSource ? j.fromSource : j.fromDestination)[one ? 1 : 0];
        const char* mine = p->joinSource ? "src" : "dst";
        if (!st) {
            const char* theirs = p->joinSource ? "dst" : "src";
            st = std::make_unique<SqliteStatement>(db.handle(),
                QStringLiteral("SELECT %1, j.\"%5\" FROM %2 j JOIN %3 t ON t.\"_pk\" = j.\"%4\" WHERE j.\"%5\" IN (%6) "
                               "ORDER BY j.\"%5\", j.\"%4\"")
                    .arg(rowColumnsOf(t.table, QStringLiteral("t")), StoreSchema::quoted(j.join->name),
                        StoreSchema::quoted(t.table->name), QLatin1String(theirs), QLatin1String(mine), keys));
        }
        const auto found = readMembers(t, *st, 2 + int(t.table->columns.size()));
        const auto row = [&](qint64 owner, qint64 x) {
            return p->joinSource ? qMakePair(owner, x) : qMakePair(x, owner);
        };
        for (const auto& [x, key] : found) {
            ManagedObject* owner = byKey.value(key);
            if (owner && !x->hasFlag(ManagedObject::Deleted) && x->entity()->isKindOf(other->owner)
                && j.pending.value(row(key, x->primaryKey())) >= 0)
                rawMany(owner, p).add(x);
        }
        for (auto it = j.pending.cbegin(); it != j.pending.cend(); ++it) {
            if (it.value() <= 0)
                continue;
            const qint64 ownerKey = p->joinSource ? it.key().first : it.key().second;
            const qint64 theirs = p->joinSource ? it.key().second : it.key().first;
            ManagedObject* owner = byKey.value(ownerKey);
            if (!owner)
                continue;
            if (ManagedObject* x = objectAt(t, theirs); x && !x->hasFlag(ManagedObject::Deleted))
                rawMany(owner, p).add(x);
        }
    }
}

bool ObjectContext::Private::loadTable(TableState& t, QString* message)
{
    if (t.complete)
        return true;
    if (!db.isOpen())
        return false;
    SqliteStatement st(db.handle(),
        QStringLiteral("SELECT %1 FROM %2 ORDER BY \"_pk\"")
            .arg(rowColumnsOf(t.table), StoreSchema::quoted(t.table->name)));
    ++readStatements;
    std::vector<ManagedObject*> fresh;
    while (st.next()) {
        const qint64 pk = st.columnInt(0);
        if (pk > 0 && size_t(pk) < t.byPk.size() && t.byPk[size_t(pk)]) {
            // A record turned back into a fault takes its values on the way.
            if (ManagedObject* x = t.byPk[size_t(pk)]; isFault(x))
                refill(t, x, st);
            continue;
        }
        if (ManagedObject* o = objectFromRow(t, st, false))
            fresh.push_back(o);
    }
    const bool ok = st.ok();
    if (!ok)
        *message = db.lastError();
    st.reset();
    t.complete = ok;
    for (ManagedObject* o : fresh)
        o->awakeFromFetch();
    return ok;
}

bool ObjectContext::Private::loadEverything(QString* message)
{
    if (everything)
        return true;
    if (!db.isOpen())
        return false;
    // Every record is about to be in memory: the maps list them all.
    for (ManagedObject* o : inMemory)
        o->m_flags &= ~kListed;
    std::vector<ManagedObject*>().swap(inMemory);
    listedAll = true;
    const bool began = !db.inTransaction() && db.exec(QStringLiteral("BEGIN"));
    bool ok = true;
    for (TableState& t : tables) {
        if (!ok)
            break;
        SqliteStatement st(db.handle(),
            QStringLiteral("SELECT %1 FROM %2 ORDER BY \"_pk\"")
                .arg(rowColumnsOf(t.table), StoreSchema::quoted(t.table->name)));
        ++readStatements;
        while (st.next()) {
            const qint64 pk = st.columnInt(0);
            if (pk > 0 && size_t(pk) < t.byPk.size() && t.byPk[size_t(pk)]) {
                if (ManagedObject* x = t.byPk[size_t(pk)]; isFault(x))
                    refill(t, x, st, true);
                continue;
            }
            // Awakened at once: what it resets is the record's own, and no list of the new records is kept.
            if (ManagedObject* o = objectFromRow(t, st, true))
                o->awakeFromFetch();
        }
        if (!st.ok()) {
            *message = db.lastError();
            ok = false;
        }
    }
    struct JoinRow {
        size_t join;
        qint64 a, b;
    };
    std::vector<JoinRow> joinRows;
    for (size_t i = 0; ok && i < joins.size(); ++i) {
        SqliteStatement st(
            db.handle(), QStringLiteral("SELECT src, dst FROM %1").arg(StoreSchema::quoted(joins[i].join->name)));
        ++readStatements;
        while (st.next())
            joinRows.push_back({ i, st.columnInt(0), st.columnInt(1) });
        if (!st.ok()) {
            *message = db.lastError();
            ok = false;
        }
    }
    if (began)
        db.exec(ok ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK"));
    if (!ok)
        return false; // what was read stays, each record complete; the rest is read when touched
    for (TableState& t : tables)
        t.complete = true;

    // Every row is in memory now: one pass in table and key order, as the file gives them, turns the keys of the
    // records just read into links and fills the relationships not loaded yet from every record's links.
    constexpr size_t kNear = kPrefetchAhead / 2;
    for (TableState& t : tables) {
        const size_t n = t.byPk.size();
        const EntityMap* m = nullptr;
        for (size_t i = 0; i < n; ++i) {
            if (i + kPrefetchAhead < n)
                prefetchObject(t.byPk[i + kPrefetchAhead]);
            if (i + kNear < n)
                if (const ManagedObject* ahead = t.byPk[i + kNear])
                    __builtin_prefetch(ahead->m_values);
            ManagedObject* o = t.byPk[i];
            if (!o || o->hasFlag(ManagedObject::Deleted))
                continue;
            const bool keys = o->m_flags & kUnresolved;
            o->m_flags &= ~kUnresolved;
            if (!m || m->entity != o->entity())
                m = &mapOf(o);
            for (const PropertyDescription* p : m->byColumn) {
                if (!p || p->slot != PropertyDescription::Slot::Object)
                    continue;
                ManagedObject*& at = rawOne(o, p);
                const PropertyDescription* inv = p->inverse;
                ManagedObject* other = at;
                if (keys) {
                    qint64 key = 0;
                    std::memcpy(&key, &at, sizeof key);
                    at = nullptr;
                    if (key == 0)
                        continue;
                    const TableState& target = tables[size_t(p->target->tableIndex())];
                    other = key > 0 && size_t(key) < target.byPk.size() ? target.byPk[size_t(key)] : nullptr;
                    if (!other || !other->entity()->isKindOf(p->target)) {
                        dropLink(o, p, "a broken link", key);
                        continue;
                    }
                    // A far end whose side was read before counted this record there already, unless this was a
                    // second record claiming a one-to-one link.
                    if (linkLoaded(other, inv) && inv->isToOne() && rawOne(other, inv) != o) {
                        dropLink(o, p, "a second link", key);
                        continue;
                    }
                    at = other;
                }
                // A fault still without values here is one whose row has gone from the file.
                if (!other || linkLoaded(other, inv) || !other->m_values)
                    continue;
                if (inv->isToOne()) {
                    ManagedObject*& back = rawOne(other, inv);
                    if (back && back != o) {
                        dropLink(o, p, "a second link", other->primaryKey());
                        continue;
                    }
                    back = o;
                } else {
                    rawMany(other, inv).append(o);
                }
            }
        }
    }
    // The records at the two ends of a row of join table `j`, where they are in memory.
    const auto ends = [this](const JoinState& j, qint64 a, qint64 b) {
        const auto at = [](const TableState& t, qint64 key) -> ManagedObject* {
            ManagedObject* o = key > 0 && size_t(key) < t.byPk.size() ? t.byPk[size_t(key)] : nullptr;
            return o && o->m_values ? o : nullptr;
        };
        return std::make_pair(at(tables[size_t(j.join->source->owner->tableIndex())], a),
            at(tables[size_t(j.join->destination->owner->tableIndex())], b));
    };
    for (const JoinRow& r : joinRows) {
        JoinState& j = joins[r.join];
        const PropertyDescription* src = j.join->source;
        const PropertyDescription* dst = j.join->destination;
        const auto [x, y] = ends(j, r.a, r.b);
        const QPair<qint64, qint64> key(r.a, r.b);
        if (!x || !y || !x->entity()->isKindOf(src->owner) || !y->entity()->isKindOf(dst->owner)) {
            // Gone from the file too with the next save: a row that names a missing record would make the delete
            // of the other one fail its key check.
            FTLog(QStringLiteral("Store: dropped a broken link %1 %2-%3").arg(j.join->name).arg(r.a).arg(r.b));
            j.pending.insert(key, -1);
            continue;
        }
        if (j.pending.value(key) < 0 || x->hasFlag(ManagedObject::Deleted) || y->hasFlag(ManagedObject::Deleted))
            continue;
        if (!linkLoaded(x, src))
            rawMany(x, src).append(y);
        if (!linkLoaded(y, dst))
            rawMany(y, dst).append(x);
    }
    for (JoinState& j : joins) {
        for (auto it = j.pending.cbegin(); it != j.pending.cend(); ++it) {
            if (it.value() <= 0)
                continue;
            const auto [x, y] = ends(j, it.key().first, it.key().second);
            if (!x || !y)
                continue;
            if (!linkLoaded(x, j.join->source))
                rawMany(x, j.join->source).add(y);
            if (!linkLoaded(y, j.join->destination))
                rawMany(y, j.join->destination).add(x);
        }
    }
    // Every relationship is in memory: the flags go, so that no use of a link asks again.
    for (TableState& t : tables) {
        const size_t n = t.byPk.size();
        for (size_t i = 0; i < n; ++i) {
            if (i + kPrefetchAhead < n)
                prefetchObject(t.byPk[i + kPrefetchAhead]);
            if (ManagedObject* o = t.byPk[i])
                clearLinksPending(o);
        }
    }
    everything = true;
    texts.clear();
    blobs.clear();
    return true;
}
