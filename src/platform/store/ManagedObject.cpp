#include "platform/store/ManagedObject.h"

#include "platform/FTLog.h"
#include "platform/store/EntityDescription.h"
#include "platform/store/ObjectContextPrivate.h"

using Private = ObjectContext::Private;

ManagedObject::ManagedObject() = default;

ManagedObject::~ManagedObject()
{
    Private::freeValues(this);
}

void ManagedObject::operator delete(void* memory)
{
    ::operator delete(memory);
}

const QString& ManagedObject::entityName() const
{
    return m_entity->name();
}

bool ManagedObject::isKindOfEntity(const QString& entityName) const
{
    for (const EntityDescription* e = m_entity; e; e = e->parent())
        if (e->name() == entityName)
            return true;
    return false;
}

QString ManagedObject::objectURI() const
{
    return QStringLiteral("x-kinloom://%1/%2/p%3").arg(m_context->storeUUID(), m_entity->name()).arg(m_pk);
}

bool ManagedObject::isInserted() const
{
    return !hasFlag(Persisted) && !hasFlag(Deleted);
}
bool ManagedObject::isUpdated() const
{
    return hasFlag(Updated) && hasFlag(Persisted) && !hasFlag(Deleted);
}
bool ManagedObject::isDeleted() const
{
    return hasFlag(Deleted);
}
bool ManagedObject::hasChanges() const
{
    return isInserted() || isUpdated() || (hasFlag(Deleted) && hasFlag(Persisted));
}

const PropertyDescription* ManagedObject::property(const Key& key, const char* use) const
{
    const PropertyDescription* p = m_entity->property(key);
    if (!p)
        qWarning("%s: %s has no key \"%s\"", use, qPrintable(m_entity->name()), qPrintable(key.name()));
    return p;
}

// Typed reads ----------------------------------------------------------------------------------------------------

QString ManagedObject::stringValue(const Key& key) const
{
    const PropertyDescription* p = property(key, "stringValue");
    if (!p)
        return {};
    Private::ensureLoaded(this);
    if (p->slot == PropertyDescription::Slot::String)
        return *slot<QString>(p);
    const QVariant v = Private::read(this, p);
    return v.isValid() ? v.toString() : QString();
}

qint64 ManagedObject::integerValue(const Key& key) const
{
    const PropertyDescription* p = property(key, "integerValue");
    if (!p)
        return 0;
    Private::ensureLoaded(this);
    if (p->slot == PropertyDescription::Slot::Number && p->type != AttributeType::Double)
        return (m_nilBits & (quint64(1) << p->bit)) ? 0 : slot<NumberSlot>(p)->i;
    return Private::read(this, p).toLongLong();
}

double ManagedObject::doubleValue(const Key& key) const
{
    const PropertyDescription* p = property(key, "doubleValue");
    if (!p)
        return 0;
    Private::ensureLoaded(this);
    if (p->slot == PropertyDescription::Slot::Number && p->type == AttributeType::Double)
        return (m_nilBits & (quint64(1) << p->bit)) ? 0 : slot<NumberSlot>(p)->d;
    return Private::read(this, p).toDouble();
}

bool ManagedObject::boolValue(const Key& key) const
{
    const PropertyDescription* p = property(key, "boolValue");
    if (!p)
        return false;
    Private::ensureLoaded(this);
    if (p->slot == PropertyDescription::Slot::Number && p->type != AttributeType::Double)
        return !(m_nilBits & (quint64(1) << p->bit)) && slot<NumberSlot>(p)->i != 0;
    return Private::read(this, p).toBool();
}

QDateTime ManagedObject::dateValue(const Key& key) const
{
    const PropertyDescription* p = property(key, "dateValue");
    return p ? Private::read(this, p).toDateTime() : QDateTime();
}

QByteArray ManagedObject::dataValue(const Key& key) const
{
    const PropertyDescription* p = property(key, "dataValue");
    if (!p)
        return {};
    Private::ensureLoaded(this);
    if (p->slot == PropertyDescription::Slot::Binary) {
        if (m_unloadedBits & (quint64(1) << p->bit))
            m_context->d->loadLazy(const_cast<ManagedObject*>(this), p);
        return *slot<QByteArray>(p);
    }
    return Private::read(this, p).toByteArray();
}

bool ManagedObject::isNil(const Key& key) const
{
    const PropertyDescription* p = property(key, "isNil");
    if (!p)
        return true;
    if (p->isAttribute())
        Private::ensureLoaded(this);
    switch (p->slot) {
    case PropertyDescription::Slot::Number:
        return m_nilBits & (quint64(1) << p->bit);
    case PropertyDescription::Slot::String:
        return slot<QString>(p)->isNull();
    case PropertyDescription::Slot::Binary:
        return !(m_unloadedBits & (quint64(1) << p->bit)) && slot<QByteArray>(p)->isNull();
    case PropertyDescription::Slot::Object:
        return Private::one(this, p) == nullptr;
    case PropertyDescription::Slot::Set:
        return false;
    case PropertyDescription::Slot::None:
        return !Private::read(this, p).isValid();
    }
    return true;
}

ManagedObject* ManagedObject::objectValue(const Key& key) const
{
    const PropertyDescription* p = property(key, "objectValue");
    if (!p)
        return nullptr;
    if (p->isToOne())
        return Private::one(this, p);
    return fromVariant(Private::read(this, p));
}

const ObjectSet& ManagedObject::objects(const Key& key) const
{
    static const ObjectSet none;
    const PropertyDescription* p = property(key, "objects");
    if (!p || !p->isToMany()) {
        if (p)
            qWarning("objects: %s.%s is not a to-many relationship", qPrintable(m_entity->name()), qPrintable(p->name));
        return none;
    }
    return Private::many(this, p);
}

// Writes ---------------------------------------------------------------------------------------------------------

// The typed setters write a value of the slot's own kind straight into it; any other pairing (a number into a
// date, a text into a derived key ...) takes setValue()'s conversions.
template <class Same, class Write>
static void writeTyped(ManagedObject* self, const PropertyDescription* p, Same&& same, Write&& write)
{
    if (same())
        return;
    self->willChangeValueForKey(p->key);
    write();
    self->didChangeValueForKey(p->key);
}

void ManagedObject::setString(const Key& key, const QString& value)
{
    const PropertyDescription* p = property(key, "setValue");
    if (p && p->isAttribute() && p->slot == PropertyDescription::Slot::String) {
        Private* d = m_context->d.get();
        writeTyped(this, p, [&] { return Private::sameText(this, p, value); },
            [&] { d->writeText(this, p, value); });
    } else if (p) {
        setValue(key, value.isNull() ? QVariant() : QVariant(value));
    }
}

namespace {
bool isIntegerType(AttributeType type)
{
    return type == AttributeType::Integer16 || type == AttributeType::Integer32 || type == AttributeType::Integer64;
}
}

void ManagedObject::setInteger(const Key& key, qint64 value)
{
    const PropertyDescription* p = property(key, "setValue");
    if (p && p->isAttribute() && p->slot == PropertyDescription::Slot::Number && isIntegerType(p->type)) {
        NumberSlot n { 0 };
        n.i = p->type == AttributeType::Integer16 ? qint16(value)
            : p->type == AttributeType::Integer32 ? qint32(value)
                                                  : value;
        Private* d = m_context->d.get();
        writeTyped(this, p, [&] { return Private::sameNumber(this, p, n); }, [&] { d->writeNumber(this, p, n); });
    } else if (p) {
        setValue(key, QVariant(qlonglong(value)));
    }
}
void ManagedObject::setDouble(const Key& key, double value)
{
    const PropertyDescription* p = property(key, "setValue");
    if (p && p->isAttribute() && p->slot == PropertyDescription::Slot::Number && p->type == AttributeType::Double) {
        NumberSlot n { 0 };
        n.d = value;
        Private* d = m_context->d.get();
        writeTyped(this, p, [&] { return Private::sameNumber(this, p, n); }, [&] { d->writeNumber(this, p, n); });
    } else if (p) {
        setValue(key, QVariant(value));
    }
}
void ManagedObject::setBool(const Key& key, bool value)
{
    const PropertyDescription* p = property(key, "setValue");
    if (p && p->isAttribute() && p->slot == PropertyDescription::Slot::Number && p->type == AttributeType::Boolean) {
        NumberSlot n { value ? 1 : 0 };
        Private* d = m_context->d.get();
        writeTyped(this, p, [&] { return Private::sameNumber(this, p, n); }, [&] { d->writeNumber(this, p, n); });
    } else if (p) {
        setValue(key, QVariant(value));
    }
}
void ManagedObject::setDate(const Key& key, const QDateTime& value)
{
    setValue(key, value.isValid() ? QVariant(value) : QVariant());
}
void ManagedObject::setData(const Key& key, const QByteArray& value)
{
    const PropertyDescription* p = property(key, "setValue");
    if (p && p->isAttribute() && p->slot == PropertyDescription::Slot::Binary) {
        Private* d = m_context->d.get();
        writeTyped(this, p, [&] { return Private::sameData(this, p, value); },
            [&] { d->writeData(this, p, value); });
    } else if (p) {
        setValue(key, value.isNull() ? QVariant() : QVariant(value));
    }
}

void ManagedObject::setObject(const Key& key, ManagedObject* value)
{
    const PropertyDescription* p = property(key, "setObject");
    if (!p || !p->isToOne()) {
        if (p)
            setValue(key, toVariant(value));
        return;
    }
    m_context->d->setToOne(this, p, value, Private::Notify::Full);
}

void ManagedObject::addObject(const Key& key, ManagedObject* value)
{
    const PropertyDescription* p = property(key, "addObject");
    if (p && p->isToMany())
        m_context->d->addToMany(this, p, value, Private::Notify::Full);
    else if (p)
        qWarning("addObject: %s.%s is not a to-many relationship", qPrintable(m_entity->name()), qPrintable(p->name));
}

void ManagedObject::removeObject(const Key& key, ManagedObject* value)
{
    const PropertyDescription* p = property(key, "removeObject");
    if (p && p->isToMany())
        m_context->d->removeToMany(this, p, value, Private::Notify::Full);
    else if (p)
        qWarning(
            "removeObject: %s.%s is not a to-many relationship", qPrintable(m_entity->name()), qPrintable(p->name));
}

QVariant ManagedObject::value(const Key& key) const
{
    const PropertyDescription* p = property(key, "value");
    return p ? Private::read(this, p) : QVariant();
}

QVariant ManagedObject::primitiveValue(const Key& key) const
{
    return value(key);
}

namespace {
QList<ManagedObject*> listFrom(const QVariant& v)
{
    if (v.metaType() == QMetaType::fromType<QList<ManagedObject*>>())
        return v.value<QList<ManagedObject*>>();
    QList<ManagedObject*> out;
    if (ManagedObject* o = ManagedObject::fromVariant(v))
        out << o;
    else
        for (const QVariant& item : v.toList())
            if (ManagedObject* o = ManagedObject::fromVariant(item))
                out << o;
    return out;
}
}

// Writes a stored property: the change path when `primitive` is false, a raw write otherwise (which the context
// records and announces to the other sides only inside an open change bracket).
static void write(
    ManagedObject* self, ObjectContext::Private* d, const PropertyDescription* p, const QVariant& v, bool primitive)
{
    const Private::Notify others
        = primitive ? (d->changeDepth > 0 ? Private::Notify::Bracketed : Private::Notify::Raw) : Private::Notify::Full;
    if (p->isAttribute()) {
        if (primitive) {
            d->writeAttribute(self, p, v);
        } else if (!Private::sameValue(self, p, v)) {
            self->willChangeValueForKey(p->key);
            d->writeAttribute(self, p, v);
            self->didChangeValueForKey(p->key);
        }
    } else if (p->isToOne()) {
        d->setToOne(self, p, ManagedObject::fromVariant(v), others);
    } else if (p->isToMany()) {
        const QList<ManagedObject*> wanted = listFrom(v);
        const QList<ManagedObject*> current = Private::many(self, p).toList();
        const bool changes = wanted.size() != current.size()
            || std::any_of(wanted.begin(), wanted.end(), [&](ManagedObject* o) { return !current.contains(o); });
        if (!changes)
            return;
        const Private::Notify inner = primitive ? others : Private::Notify::Bracketed;
        if (!primitive)
            self->willChangeValueForKey(p->key);
        for (ManagedObject* o : current)
            if (!wanted.contains(o))
                d->removeToMany(self, p, o, inner);
        for (ManagedObject* o : wanted)
            d->addToMany(self, p, o, inner);
        if (!primitive)
            self->didChangeValueForKey(p->key);
    } else if (p->setter) {
        p->setter(self, v);
    } else {
        qWarning("%s.%s cannot be set", qPrintable(self->entityName()), qPrintable(p->name));
    }
}

void ManagedObject::setValue(const Key& key, const QVariant& value)
{
    if (const PropertyDescription* p = property(key, "setValue"))
        write(this, m_context->d.get(), p, value, false);
}

void ManagedObject::setPrimitiveValue(const Key& key, const QVariant& value)
{
    if (const PropertyDescription* p = property(key, "setPrimitiveValue"))
        write(this, m_context->d.get(), p, value, true);
}

void ManagedObject::willChangeValueForKey(const Key& key)
{
    ++m_context->d->changeDepth;
    keyWillChange(key);
}

void ManagedObject::didChangeValueForKey(const Key& key)
{
    keyDidChange(key);
    m_context->d->notify(this, key);
    --m_context->d->changeDepth;
}

// By name --------------------------------------------------------------------------------------------------------

QVariant ManagedObject::valueForKey(const QString& key) const
{
    const PropertyDescription* p = m_entity->property(Key::find(key));
    return p ? Private::read(this, p) : valueForUndefinedKey(key);
}

void ManagedObject::setValueForKey(const QString& key, const QVariant& value)
{
    const PropertyDescription* p = m_entity->property(Key::find(key));
    if (p)
        write(this, m_context->d.get(), p, value, false);
    else
        setValueForUndefinedKey(key, value);
}

QVariant ManagedObject::valueForUndefinedKey(const QString& key) const
{
    FTLog(QStringLiteral("%1 - valueForUndefinedKey - %2").arg(m_entity->name(), key));
    return {};
}

void ManagedObject::setValueForUndefinedKey(const QString& key, const QVariant& value)
{
    Q_UNUSED(value);
    FTLog(QStringLiteral("%1 - setValueForUndefinedKey - %2").arg(m_entity->name(), key));
}

static QVariant follow(const QVariant& v, const QString& rest)
{
    const bool isList = v.metaType() == QMetaType::fromType<QList<ManagedObject*>>();
    if (rest == QLatin1String("@count")) {
        if (isList)
            return int(v.value<QList<ManagedObject*>>().size());
        return v.canConvert<QVariantList>() && v.metaType() != QMetaType::fromType<QString>()
            ? QVariant(int(v.toList().size()))
            : QVariant();
    }
    if (ManagedObject* o = ManagedObject::fromVariant(v))
        return o->valueForKeyPath(rest);
    if (isList) {
        QVariantList out;
        for (ManagedObject* o : v.value<QList<ManagedObject*>>())
            out << o->valueForKeyPath(rest);
        return out;
    }
    return {};
}

QVariant ManagedObject::valueForKeyPath(const QString& keyPath) const
{
    const qsizetype dot = keyPath.indexOf('.');
    if (dot < 0)
        return valueForKey(keyPath);
    return follow(valueForKey(keyPath.left(dot)), keyPath.mid(dot + 1));
}

void ManagedObject::setValueForKeyPath(const QString& keyPath, const QVariant& value)
{
    const qsizetype dot = keyPath.indexOf('.');
    if (dot < 0) {
        setValueForKey(keyPath, value);
        return;
    }
    if (ManagedObject* o = fromVariant(valueForKey(keyPath.left(dot))))
        o->setValueForKeyPath(keyPath.mid(dot + 1), value);
}

ObserverToken ManagedObject::addObserver(const QString& keyPath, const void* owner, ObserverFunction fn)
{
    return m_context->addObserver(this, keyPath, owner, std::move(fn));
}

QVariant ManagedObject::toVariant(ManagedObject* o)
{
    return o ? QVariant::fromValue(o) : QVariant();
}

ManagedObject* ManagedObject::fromVariant(const QVariant& v)
{
    return v.metaType() == QMetaType::fromType<ManagedObject*>() ? v.value<ManagedObject*>() : nullptr;
}
