#include "platform/store/ObjectContext.h"

#include "platform/store/EntityDescription.h"
#include "platform/store/ManagedObject.h"
#include "platform/store/ObjectContextPrivate.h"

bool ObjectContext::hasLoadedLazyValues(const ManagedObject* o) const
{
    if (!o || o->context() != this)
        return false;
    for (const PropertyDescription* p : o->entity()->properties())
        if (p->lazy && !(o->m_unloadedBits & (quint64(1) << p->bit))
            && !reinterpret_cast<const QByteArray*>(o->m_values + p->slotOffset)->isNull())
            return true;
    return false;
}

bool ObjectContext::isObserved(const ManagedObject* o) const
{
    return o && o->hasFlag(ManagedObject::Observed);
}

bool ObjectContext::releaseLazyValues(ManagedObject* o)
{
    if (!o || o->context() != this || !o->hasFlag(ManagedObject::Persisted) || o->hasChanges())
        return false;
    bool released = false;
    for (const PropertyDescription* p : o->entity()->properties()) {
        // Only lazy properties have a bit; the others have none to shift by.
        if (!p->lazy)
            continue;
        const quint64 bit = quint64(1) << p->bit;
        if (o->m_unloadedBits & bit)
            continue;
        auto* value = reinterpret_cast<QByteArray*>(o->m_values + p->slotOffset);
        if (value->isNull())
            continue;
        *value = QByteArray();
        o->m_unloadedBits |= bit;
        released = true;
    }
    return released;
}

int ObjectContext::pendingDeleteCount() const
{
    int n = 0;
    for (const ManagedObject* o : d->changed)
        if (o->hasFlag(ManagedObject::Deleted))
            ++n;
    return n;
}
