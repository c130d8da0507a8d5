#pragma once

#include <QHash>
#include <QList>

#include <memory>
#include <vector>

class ManagedObject;

// The objects at the far end of a to-many relationship: a set without duplicates, kept in the order the links were
// made while small. Costs one pointer while empty. Changed only by the context, which keeps both sides of every
// link in step; iterate a copy (toList()) when the loop itself changes the relationship.
class ObjectSet {
public:
    ObjectSet() = default;
    ~ObjectSet();
    ObjectSet(const ObjectSet&) = delete;
    ObjectSet& operator=(const ObjectSet&) = delete;

    int size() const { return d ? int(d->items.size()) : 0; }
    bool isEmpty() const { return size() == 0; }
    bool contains(const ManagedObject* o) const;
    ManagedObject* at(int i) const { return d->items[size_t(i)]; }
    ManagedObject* first() const { return isEmpty() ? nullptr : d->items.front(); }
    ManagedObject* const* begin() const { return d ? d->items.data() : nullptr; }
    ManagedObject* const* end() const { return d ? d->items.data() + d->items.size() : nullptr; }

    QList<ManagedObject*> toList() const { return QList<ManagedObject*>(begin(), end()); }
    // The members as their entity class; the caller knows the relationship's target class.
    template <class T> QList<T*> as() const
    {
        QList<T*> out;
        out.reserve(size());
        for (ManagedObject* o : *this)
            out.push_back(static_cast<T*>(o));
        return out;
    }

private:
    friend class ObjectContext;
    bool add(ManagedObject* o); // false when already there
    bool remove(ManagedObject* o); // false when not there
    void append(ManagedObject* o); // loading: no duplicate check
    qsizetype find(const ManagedObject* o) const;

    struct Impl {
        std::vector<ManagedObject*> items;
        std::unique_ptr<QHash<const ManagedObject*, qsizetype>> index;
        void buildIndex();
    };
    std::unique_ptr<Impl> d;
};
