#pragma once

#include "platform/store/KeyPathChange.h"
#include "platform/store/ObjectContext.h"
#include "platform/store/ObjectSet.h"
#include "platform/store/PropertyDescription.h"

#include <QByteArray>
#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QVariant>

class EntityDescription;

// One record of a store: the single C++ object of its row while its context lives (an identity map guarantees
// it). Made only by ObjectContext::insertObject() or when a store opens; owned and freed by the context.
//
// Values are reached three ways:
//  - typed accessors by Key (stringValue, setString, objectValue, objects, addObject ...), which entity classes wrap
//    in their own accessors (person->name(), person->setName());
//  - by name through the entity's property table: valueForKey("notes"), valueForKeyPath("birth.year"),
//    setValueForKey(); entity classes override these to add derived keys or route a key to their own setter;
//  - raw: primitiveValue/setPrimitiveValue.
//
// A change made through the typed setters or setValue() runs the change path: keyWillChange(), the write (recorded in
// the open undo group), keyDidChange(), then the observers of the key. An entity setter that writes raw values
// between willChangeValueForKey() and didChangeValueForKey() gets the same treatment. A raw write outside those
// brackets only marks the row for the next save: no undo, no hooks, no observers.
//
// Relationships keep both sides in step: setting one side updates the inverse on the other objects, and a to-one
// side that already pointed elsewhere is unlinked first. Nil reads as an invalid QVariant; a to-one value is a
// QVariant of ManagedObject*, a to-many one a QVariant of QList<ManagedObject*>.
class ManagedObject {
public:
    ManagedObject();
    virtual ~ManagedObject();
    ManagedObject(const ManagedObject&) = delete;
    ManagedObject& operator=(const ManagedObject&) = delete;
    // Records are made by their context (objectSize() bytes, their values in a block of their own).
    static void operator delete(void* memory);

    const EntityDescription* entity() const { return m_entity; }
    const QString& entityName() const;
    bool isKindOfEntity(const QString& entityName) const;
    ObjectContext* context() const { return m_context; }
    // The row key: given at insertion, never reused in the store, stable for the life of the record.
    qint64 primaryKey() const { return m_pk; }
    // "x-kinloom://<store-uuid>/<Entity>/p<key>"; ObjectContext::objectForURI() resolves it.
    QString objectURI() const;

    // Pending changes since the last save.
    bool isInserted() const;
    bool isUpdated() const;
    bool isDeleted() const;
    bool hasChanges() const;

    // Typed reads. A nil value reads as a null string, 0, false, an invalid date or a null array.
    QString stringValue(const Key& key) const;
    qint64 integerValue(const Key& key) const;
    double doubleValue(const Key& key) const;
    bool boolValue(const Key& key) const;
    QDateTime dateValue(const Key& key) const;
    QByteArray dataValue(const Key& key) const; // a lazy value is read from the file now
    bool isNil(const Key& key) const;
    ManagedObject* objectValue(const Key& key) const;
    template <class T> T* object(const Key& key) const { return static_cast<T*>(objectValue(key)); }
    const ObjectSet& objects(const Key& key) const;
    template <class T> QList<T*> objectList(const Key& key) const { return objects(key).template as<T>(); }

    // Typed writes through the change path; writing the value already there does nothing.
    void setString(const Key& key, const QString& value);
    void setInteger(const Key& key, qint64 value);
    void setDouble(const Key& key, double value);
    void setBool(const Key& key, bool value);
    void setDate(const Key& key, const QDateTime& value);
    void setData(const Key& key, const QByteArray& value);
    void setObject(const Key& key, ManagedObject* value);
    void addObject(const Key& key, ManagedObject* value);
    void removeObject(const Key& key, ManagedObject* value);

    // Any stored property, as a QVariant (nil is an invalid QVariant); setValue runs the change path.
    QVariant value(const Key& key) const;
    void setValue(const Key& key, const QVariant& value);
    QVariant primitiveValue(const Key& key) const;
    void setPrimitiveValue(const Key& key, const QVariant& value);
    void willChangeValueForKey(const Key& key);
    void didChangeValueForKey(const Key& key);

    // By name: stored properties, derived keys of the entity, and whatever a subclass adds.
    virtual QVariant valueForKey(const QString& key) const;
    virtual void setValueForKey(const QString& key, const QVariant& value);
    // "birth.year": each key but the last names a to-one (or to-many: then a list of values) relationship;
    // "@count" as the last key counts a to-many value.
    QVariant valueForKeyPath(const QString& keyPath) const;
    virtual void setValueForKeyPath(const QString& keyPath, const QVariant& value);

    // Calls `fn` after every change of a value along the key path (see ObjectContext::addObserver).
    ObserverToken addObserver(const QString& keyPath, const void* owner, ObserverFunction fn);

    static QVariant toVariant(ManagedObject* o);
    static ManagedObject* fromVariant(const QVariant& v);

protected:
    // Hooks of the change path, also run for the inverse side of a relationship change and by undo and redo.
    virtual void keyWillChange(const Key& key) { }
    virtual void keyDidChange(const Key& key) { }
    virtual void awakeFromInsert() { }
    virtual void awakeFromFetch() { }
    // Called by ObjectContext::deleteObject() before the object's links are cut.
    virtual void prepareForDeletion() { }
    // An unknown key: logs and answers nil, or logs and ignores the value.
    virtual QVariant valueForUndefinedKey(const QString& key) const;
    virtual void setValueForUndefinedKey(const QString& key, const QVariant& value);

private:
    friend class ObjectContext;
    friend struct ObjectContext::Private;
    enum Flag : quint32 {
        Persisted = 1, // the row is in the file as of the last save
        Deleted = 2,
        Updated = 4, // changed since the last save
        InChangeList = 8,
        Observed = 16,
        Deleting = 32,
    };
    const PropertyDescription* property(const Key& key, const char* use) const;
    template <class T> T* slot(const PropertyDescription* p) const
    {
        return reinterpret_cast<T*>(m_values + p->slotOffset);
    }
    void setFlag(Flag f, bool on) { m_flags = on ? (m_flags | f) : (m_flags & ~quint32(f)); }
    bool hasFlag(Flag f) const { return (m_flags & f) != 0; }

    const EntityDescription* m_entity = nullptr;
    ObjectContext* m_context = nullptr;
    std::byte* m_values = nullptr;
    qint64 m_pk = 0;
    quint64 m_nilBits = 0; // number attributes that are nil
    quint64 m_unloadedBits = 0; // lazy values not read from the file yet
    quint64 m_dirtyColumns = 0; // columns to write at the next save
    // Two halves of what was one word: a record's own members go in the space after it, and a word more would
    // make every small record a size class larger.
    quint16 m_flags = 0;
    quint16 m_pendingLinks = 0; // the store's: which relationships held by other rows are not read yet
};

Q_DECLARE_METATYPE(ManagedObject*)
