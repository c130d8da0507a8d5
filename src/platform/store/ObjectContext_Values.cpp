#include "platform/store/ObjectContextPrivate.h"

#include "platform/FTLog.h"
#include "platform/store/EntityDescription.h"

namespace {
template <class T> T* at(const ManagedObject* o, const PropertyDescription* p, std::byte* values)
{
    Q_UNUSED(o);
    return reinterpret_cast<T*>(values + p->slotOffset);
}

bool isNilFor(const PropertyDescription* p, const QVariant& v)
{
    if (!v.isValid())
        return true;
    if (p->type == AttributeType::Date)
        return !v.toDateTime().isValid();
    return false;
}

NumberSlot numberFor(const PropertyDescription* p, const QVariant& v)
{
    NumberSlot n { 0 };
    switch (p->type) {
    case AttributeType::Double:
        n.d = v.toDouble();
        break;
    case AttributeType::Boolean:
        n.i = v.toBool() ? 1 : 0;
        break;
    case AttributeType::Date:
        n.i = v.toDateTime().toMSecsSinceEpoch();
        break;
    case AttributeType::Integer16:
        n.i = qint16(v.toLongLong());
        break;
    case AttributeType::Integer32:
        n.i = qint32(v.toLongLong());
        break;
    default:
        n.i = v.toLongLong();
        break;
    }
    return n;
}
}

QVariant ObjectContext::Private::read(const ManagedObject* o, const PropertyDescription* p)
{
    if (p->isAttribute())
        ensureLoaded(o);
    std::byte* values = o->m_values;
    switch (p->slot) {
    case PropertyDescription::Slot::Number: {
        if (o->m_nilBits & (quint64(1) << p->bit))
            return {};
        const NumberSlot n = *at<NumberSlot>(o, p, values);
        switch (p->type) {
        case AttributeType::Double:
            return n.d;
        case AttributeType::Boolean:
            return n.i != 0;
        case AttributeType::Date:
            return QDateTime::fromMSecsSinceEpoch(n.i);
        case AttributeType::Integer64:
            return qlonglong(n.i);
        default:
            return int(n.i);
        }
    }
    case PropertyDescription::Slot::String: {
        const QString& s = *at<QString>(o, p, values);
        return s.isNull() ? QVariant() : QVariant(s);
    }
    case PropertyDescription::Slot::Binary: {
        if (o->m_unloadedBits & (quint64(1) << p->bit))
            o->context()->d->loadLazy(const_cast<ManagedObject*>(o), p);
        const QByteArray& b = *at<QByteArray>(o, p, values);
        return b.isNull() ? QVariant() : QVariant(b);
    }
    case PropertyDescription::Slot::Object:
        return ManagedObject::toVariant(one(o, p));
    case PropertyDescription::Slot::Set:
        return QVariant::fromValue(many(o, p).toList());
    case PropertyDescription::Slot::None:
        return p->getter ? p->getter(o) : QVariant();
    }
    return {};
}

bool ObjectContext::Private::sameText(const ManagedObject* o, const PropertyDescription* p, const QString& v)
{
    ensureLoaded(o);
    const QString& old = *at<QString>(o, p, o->m_values);
    return old.isNull() == v.isNull() && old == v;
}

bool ObjectContext::Private::sameNumber(const ManagedObject* o, const PropertyDescription* p, NumberSlot n)
{
    ensureLoaded(o);
    if (o->m_nilBits & (quint64(1) << p->bit))
        return false;
    const NumberSlot old = *at<NumberSlot>(o, p, o->m_values);
    return p->type == AttributeType::Double ? old.d == n.d : old.i == n.i;
}

bool ObjectContext::Private::sameData(const ManagedObject* o, const PropertyDescription* p, const QByteArray& v)
{
    ensureLoaded(o);
    if (o->m_unloadedBits & (quint64(1) << p->bit))
        return false;
    const QByteArray& old = *at<QByteArray>(o, p, o->m_values);
    return old.isNull() == v.isNull() && old == v;
}

bool ObjectContext::Private::sameValue(const ManagedObject* o, const PropertyDescription* p, const QVariant& v)
{
    ensureLoaded(o);
    switch (p->slot) {
    case PropertyDescription::Slot::Number: {
        const bool wasNil = o->m_nilBits & (quint64(1) << p->bit);
        const bool nil = isNilFor(p, v);
        if (wasNil || nil)
            return wasNil == nil;
        return sameNumber(o, p, numberFor(p, v));
    }
    case PropertyDescription::Slot::String:
        // A text held as a text is compared where it is, without the copy toString() makes.
        if (v.metaType() == QMetaType::fromType<QString>())
            return sameText(o, p, *static_cast<const QString*>(v.constData()));
        return sameText(o, p, v.isValid() ? v.toString() : QString());
    case PropertyDescription::Slot::Binary:
        if (v.metaType() == QMetaType::fromType<QByteArray>())
            return sameData(o, p, *static_cast<const QByteArray*>(v.constData()));
        return sameData(o, p, v.isValid() ? v.toByteArray() : QByteArray());
    default:
        return false;
    }
}

// Sharing pays where values repeat: a name or place met again costs a lookup in a table whose common values stay in
// the cache, and saves an allocation. A column of mostly different values (dates, small data blocks) costs two cache
// misses a value for little memory, so once more than one value in eight of a column's lookups turns out new, its
// values are kept as they come for the rest of the bulk write.
template <class T>
void ObjectContext::Private::shareWritten(SharedValues<T>& values, const PropertyDescription* p, T& value)
{
    if (p->column < 0) {
        values.share(value);
        return;
    }
    ColumnSharing& c = tables[size_t(p->owner->tableIndex())].sharing[size_t(p->column)];
    if (c.off)
        return;
    const auto outcome = values.share(value);
    if (outcome == SharedValues<T>::Outcome::Skipped)
        return;
    ++c.looked;
    if (outcome == SharedValues<T>::Outcome::Added)
        ++c.added;
    // Judged window by window; the first is left out, as every column starts with values new to the table.
    constexpr quint32 kWindow = 4096;
    if (c.looked % kWindow == 0) {
        c.off = c.looked > kWindow && c.added > kWindow / 8;
        c.added = 0;
    }
}

void ObjectContext::Private::resetSharing()
{
    texts.clear();
    blobs.clear();
    for (TableState& t : tables)
        t.sharing.assign(t.table->columns.size(), ColumnSharing());
}

void ObjectContext::Private::assignText(ManagedObject* o, const PropertyDescription* p, Private* d, QString text)
{
    ensureLoaded(o);
    if (d->bulkWriting)
        d->shareWritten(d->texts, p, text);
    *at<QString>(o, p, o->m_values) = std::move(text);
}

void ObjectContext::Private::assignData(ManagedObject* o, const PropertyDescription* p, Private* d, QByteArray data)
{
    ensureLoaded(o);
    if (d->bulkWriting)
        d->shareWritten(d->blobs, p, data);
    *at<QByteArray>(o, p, o->m_values) = std::move(data);
    o->m_unloadedBits &= ~(quint64(1) << p->bit);
}

void ObjectContext::Private::assignNumber(ManagedObject* o, const PropertyDescription* p, NumberSlot n)
{
    ensureLoaded(o);
    o->m_nilBits &= ~(quint64(1) << p->bit);
    *at<NumberSlot>(o, p, o->m_values) = n;
}

void ObjectContext::Private::assign(ManagedObject* o, const PropertyDescription* p, const QVariant& v)
{
    ensureLoaded(o);
    switch (p->slot) {
    case PropertyDescription::Slot::Number:
        if (isNilFor(p, v)) {
            o->m_nilBits |= quint64(1) << p->bit;
            at<NumberSlot>(o, p, o->m_values)->i = 0;
        } else {
            assignNumber(o, p, numberFor(p, v));
        }
        break;
    case PropertyDescription::Slot::String:
        assignText(o, p, o->context()->d.get(), v.isValid() ? v.toString() : QString());
        break;
    case PropertyDescription::Slot::Binary:
        assignData(o, p, o->context()->d.get(), v.isValid() ? v.toByteArray() : QByteArray());
        break;
    default:
        break;
    }
}

ObjectContext::Private::EntityMap::Default ObjectContext::Private::defaultFor(const PropertyDescription* p)
{
    const QVariant& v = p->defaultValue;
    EntityMap::Default value { p, false, { 0 }, {}, {} };
    switch (p->slot) {
    case PropertyDescription::Slot::Number:
        value.nil = isNilFor(p, v);
        if (!value.nil)
            value.number = numberFor(p, v);
        break;
    case PropertyDescription::Slot::String:
        value.text = v.isValid() ? v.toString() : QString();
        break;
    case PropertyDescription::Slot::Binary:
        value.data = v.isValid() ? v.toByteArray() : QByteArray();
        break;
    default:
        break;
    }
    return value;
}

// assign() of a default to a record just made: every slot is still empty (numbers nil), and the record shares the
// default's text or data.
void ObjectContext::Private::assignDefault(ManagedObject* o, const EntityMap::Default& value)
{
    const PropertyDescription* p = value.property;
    switch (p->slot) {
    case PropertyDescription::Slot::Number:
        if (!value.nil)
            assignNumber(o, p, value.number);
        break;
    case PropertyDescription::Slot::String:
        *at<QString>(o, p, o->m_values) = value.text;
        break;
    case PropertyDescription::Slot::Binary:
        *at<QByteArray>(o, p, o->m_values) = value.data;
        o->m_unloadedBits &= ~(quint64(1) << p->bit);
        break;
    default:
        break;
    }
}

template <class Same, class Assign>
void ObjectContext::Private::writeWith(ManagedObject* o, const PropertyDescription* p, Same&& same, Assign&& assign)
{
    // A record inserted in the open undo group gives its values without recording them: undoing the group takes
    // the record out whole (a copy of tens of thousands of people would otherwise record every value twice, with
    // its change stamp).
    const bool rec = recording() && !insertedInOpenUndoGroup(o);
    if (p->lazy && rec)
        loadLazy(o, p); // the undo needs the old value
    if (same())
        return;
    if (rec)
        record({ UndoOperation::Kind::SetAttribute, o, p, nullptr, read(o, p) });
    assign();
    if (p->column >= 0) {
        o->m_dirtyColumns |= quint64(1) << p->column;
        markChanged(o);
    }
}

void ObjectContext::Private::writeAttribute(ManagedObject* o, const PropertyDescription* p, const QVariant& v)
{
    writeWith(o, p, [&] { return sameValue(o, p, v); }, [&] { assign(o, p, v); });
}

void ObjectContext::Private::writeText(ManagedObject* o, const PropertyDescription* p, const QString& v)
{
    writeWith(o, p, [&] { return sameText(o, p, v); }, [&] { assignText(o, p, this, v); });
}

void ObjectContext::Private::writeNumber(ManagedObject* o, const PropertyDescription* p, NumberSlot n)
{
    writeWith(o, p, [&] { return sameNumber(o, p, n); }, [&] { assignNumber(o, p, n); });
}

void ObjectContext::Private::writeData(ManagedObject* o, const PropertyDescription* p, const QByteArray& v)
{
    writeWith(o, p, [&] { return sameData(o, p, v); }, [&] { assignData(o, p, this, v); });
}

void ObjectContext::Private::loadLazy(ManagedObject* o, const PropertyDescription* p)
{
    ensureLoaded(o);
    const quint64 bit = quint64(1) << p->bit;
    if (!(o->m_unloadedBits & bit))
        return;
    o->m_unloadedBits &= ~bit;
    TableState& t = tableOf(o);
    auto& st = t.lazySelects[p->column];
    if (!st)
        st = std::make_shared<SqliteStatement>(db.handle(),
            QStringLiteral("SELECT %1 FROM %2 WHERE \"_pk\"=?")
                .arg(
                    StoreSchema::quoted(t.table->columns[size_t(p->column)].name), StoreSchema::quoted(t.table->name)));
    st->bindInt(1, o->primaryKey());
    if (st->next())
        *reinterpret_cast<QByteArray*>(o->m_values + p->slotOffset) = st->columnBlob(0);
    else if (!st->ok())
        FTLog(QStringLiteral("Store: could not read %1.%2 of %3: %4")
                  .arg(o->entityName(), p->name)
                  .arg(o->primaryKey())
                  .arg(st->error()));
    st->reset();
}

void ObjectContext::Private::loadAllLazy(ManagedObject* o)
{
    ensureLoaded(o);
    if (!o->m_unloadedBits)
        return;
    for (const PropertyDescription* p : o->entity()->properties())
        if (p->lazy)
            loadLazy(o, p);
}
