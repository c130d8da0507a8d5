#pragma once

#include <QHash>
#include <QList>

class ManagedObject;

// The objects at the far end of a to-many relationship: a set without duplicates, kept in the order the links were
// made while small. Costs one pointer while empty, and one allocation for its members. Changed only by the context,
// which keeps both sides of every link in step; iterate a copy (toList()) when the loop itself changes the
// relationship.
class ObjectSet {
public:
    ObjectSet() = default;
    ~ObjectSet();
    ObjectSet(const ObjectSet&) = delete;
    ObjectSet& operator=(const ObjectSet&) = delete;

    int size() const { return d ? int(d->size) : 0; }
    bool isEmpty() const { return size() == 0; }
    bool contains(const ManagedObject* o) const;
    ManagedObject* at(int i) const { return d->items()[i]; }
    ManagedObject* first() const { return isEmpty() ? nullptr : d->items()[0]; }
    ManagedObject* const* begin() const { return d ? d->items() : nullptr; }
    ManagedObject* const* end() const { return d ? d->items() + d->size : nullptr; }

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
    void append(ManagedObject* o); // no duplicate check: for a member known to be new
    qsizetype find(const ManagedObject* o) const;

    // One block: this header, then `capacity` member pointers.
    struct Block {
        quint32 size;
        quint32 capacity;
        QHash<const ManagedObject*, qsizetype>* index; // positions, once a large set is searched
        ManagedObject** items() { return reinterpret_cast<ManagedObject**>(this + 1); }
        ManagedObject* const* items() const { return reinterpret_cast<ManagedObject* const*>(this + 1); }
        void buildIndex();
    };
    static_assert(sizeof(Block) % sizeof(void*) == 0);
    void release();
    Block* d = nullptr;
};
