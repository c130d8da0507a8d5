#include "platform/store/ObjectContextPrivate.h"

// Key-path observation. An observation watches (object, key) pairs along its path: the root with the first key,
// the objects that key leads to with the second key, and so on. A change of a watched pair calls the observer and
// re-follows the path from that level, so observing "modelDefaults.focalPerson.name" keeps working when the focal
// person changes.

namespace {
const QString kCount = QStringLiteral("@count");
}

ObserverToken ObjectContext::addObserver(const QString& keyPath, const void* owner, ObserverFunction fn)
{
    return d->observe(this, keyPath, owner, std::move(fn));
}

ObserverToken ObjectContext::addObserver(
    ManagedObject* object, const QString& keyPath, const void* owner, ObserverFunction fn)
{
    if (!object || object->context() != this)
        return 0;
    return d->observe(object, keyPath, owner, std::move(fn));
}

ObserverToken ObjectContext::Private::observe(
    const void* root, const QString& keyPath, const void* owner, ObserverFunction fn)
{
    const ObserverToken token = nextToken++;
    Observation o;
    o.owner = owner;
    o.root = root;
    o.keyPath = keyPath;
    for (const QString& k : keyPath.split('.', Qt::SkipEmptyParts))
        o.path.push_back(Key(k));
    o.fn = std::move(fn);
    observations.insert(token, std::move(o));
    rewire(token, 0);
    return token;
}

void ObjectContext::removeObserver(ObserverToken token)
{
    auto it = d->observations.find(token);
    if (it == d->observations.end())
        return;
    for (size_t level = 0; level < it->levels.size(); ++level)
        for (const void* obj : it->levels[level]) {
            auto w = d->watchers.find(qMakePair(obj, it->path[level].id()));
            if (w != d->watchers.end()) {
                w->removeAll(token);
                if (w->isEmpty())
                    d->watchers.erase(w);
            }
        }
    d->observations.erase(it);
}

void ObjectContext::removeObserversOf(const void* owner)
{
    QList<ObserverToken> tokens;
    for (auto it = d->observations.cbegin(); it != d->observations.cend(); ++it)
        if (it->owner == owner)
            tokens << it.key();
    for (ObserverToken t : tokens)
        removeObserver(t);
}

void ObjectContext::didChangeValueForKey(const QString& key)
{
    d->notify(this, Key(key));
}

std::vector<const void*> ObjectContext::Private::targetsOf(const void* object, const Key& key) const
{
    std::vector<const void*> out;
    if (key.name() == kCount)
        return out;
    QVariant v;
    if (object == q) {
        v = q->valueForKey(key.name());
    } else {
        const auto* o = static_cast<const ManagedObject*>(object);
        const PropertyDescription* p = o->entity()->property(key);
        if (p && p->isToOne()) {
            if (ManagedObject* t = one(o, p))
                out.push_back(t);
            return out;
        }
        if (p && p->isToMany()) {
            for (ManagedObject* t : many(o, p))
                out.push_back(t);
            return out;
        }
        if (p && !p->isDerived())
            return out;
        v = o->valueForKey(key.name());
    }
    if (ManagedObject* t = ManagedObject::fromVariant(v))
        out.push_back(t);
    else if (v.metaType() == QMetaType::fromType<QList<ManagedObject*>>())
        for (ManagedObject* t : v.value<QList<ManagedObject*>>())
            out.push_back(t);
    return out;
}

void ObjectContext::Private::rewire(ObserverToken token, size_t from)
{
    auto it = observations.find(token);
    if (it == observations.end())
        return;
    Observation& o = *it;
    for (size_t level = from; level < o.levels.size(); ++level)
        for (const void* obj : o.levels[level]) {
            auto w = watchers.find(qMakePair(obj, o.path[level].id()));
            if (w != watchers.end()) {
                w->removeAll(token);
                if (w->isEmpty())
                    watchers.erase(w);
            }
        }
    if (o.levels.size() > from)
        o.levels.resize(from);
    if (from >= o.path.size())
        return;
    std::vector<const void*> current;
    if (from == 0) {
        current.push_back(o.root);
    } else {
        for (const void* obj : o.levels[from - 1])
            for (const void* t : targetsOf(obj, o.path[from - 1]))
                current.push_back(t);
    }
    for (size_t level = from; level < o.path.size(); ++level) {
        for (const void* obj : current) {
            watchers[qMakePair(obj, o.path[level].id())].push_back(token);
            if (obj != q)
                const_cast<ManagedObject*>(static_cast<const ManagedObject*>(obj))
                    ->setFlag(ManagedObject::Observed, true);
        }
        o.levels.push_back(current);
        if (level + 1 == o.path.size())
            break;
        std::vector<const void*> next;
        for (const void* obj : current)
            for (const void* t : targetsOf(obj, o.path[level]))
                next.push_back(t);
        current.swap(next);
    }
}

void ObjectContext::Private::notify(const void* object, const Key& key)
{
    const ManagedObject* m = object == q ? nullptr : static_cast<const ManagedObject*>(object);
    if (m && !m->hasFlag(ManagedObject::Observed))
        return;
    const QList<ObserverToken> tokens = watchers.value(qMakePair(object, key.id()));
    for (ObserverToken token : tokens) {
        auto it = observations.find(token);
        if (it == observations.end())
            continue;
        size_t level = 0;
        while (level < it->levels.size()
            && !(it->path[level] == key
                && std::find(it->levels[level].begin(), it->levels[level].end(), object) != it->levels[level].end()))
            ++level;
        rewire(token, level + 1);
        it = observations.find(token);
        KeyPathChange change { it->root, it->keyPath, const_cast<ManagedObject*>(m), key };
        ObserverFunction fn = it->fn; // the observer may remove itself
        fn(change);
    }
    if (m)
        if (const auto* deps = m->entity()->dependents(key))
            for (const PropertyDescription* p : *deps)
                notify(object, p->key);
}

void ObjectContext::Private::forgetObserved(ManagedObject* o)
{
    if (!o->hasFlag(ManagedObject::Observed))
        return;
    QList<ObserverToken> roots, through;
    for (auto it = observations.cbegin(); it != observations.cend(); ++it) {
        if (it->root == o) {
            roots << it.key();
            continue;
        }
        for (const auto& level : it->levels)
            if (std::find(level.begin(), level.end(), o) != level.end()) {
                through << it.key();
                break;
            }
    }
    for (ObserverToken t : roots)
        q->removeObserver(t);
    for (ObserverToken t : through)
        rewire(t, 0);
}
