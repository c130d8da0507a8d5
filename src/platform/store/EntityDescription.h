#pragma once

#include "platform/store/PropertyDescription.h"

#include <QStringList>

#include <cstddef>
#include <new>

#include <memory>
#include <vector>

class ManagedObject;
class StoreSchema;

// One entity of a schema: its attributes, relationships and derived keys, its parent entity, and the C++ class
// of its objects. Declared through StoreSchema::entity(), then fixed by StoreSchema::finalize():
//
//   schema.entity("Person").objectClass<FTPerson>()
//       .attribute("name", AttributeType::String)
//       .attribute("numericId", AttributeType::Integer32, 0)
//       .toOne("birth", "BirthEvent", "person", DeleteRule::Cascade)
//       .toMany("spouseRels", "SpouseRel", "partners");
//   schema.entity("BirthEvent").inherits("Event");
//
// A sub-entity shares its root's table and gets every property of its parents at the same place in its property
// table, so code written for the parent works on every sub-entity.
struct AttributeOptions {
    bool lazy = false; // a large binary value, read from the file on first access
    bool transient = false; // kept in memory only
    // A text that fetches match ignoring case and diacritics: stored a second time, folded, in an indexed column of
    // its own ("<column>_cd"), so that such a fetch runs in SQL instead of over every record.
    bool folded = false;
    // As `folded`, and each start of a word of the folded text is indexed too, for searches by word starts.
    bool words = false;
};

class EntityDescription {
public:
    // Declaration (before the schema is finalized)
    EntityDescription& attribute(
        const QString& name, AttributeType type, const QVariant& defaultValue = {}, AttributeOptions options = {});
    // `holdsKey` picks the side of a one-to-one pair that stores the link; without it the engine picks one.
    EntityDescription& toOne(const QString& name, const QString& target, const QString& inverse,
        DeleteRule rule = DeleteRule::Nullify, bool holdsKey = false);
    EntityDescription& toMany(
        const QString& name, const QString& target, const QString& inverse, DeleteRule rule = DeleteRule::Nullify);
    // A key that the entity computes: read by valueForKey(), written by setValueForKey() when a setter is given.
    // Observers of the key are told when any key of `dependsOn` changes.
    EntityDescription& derived(const QString& name, std::function<QVariant(const ManagedObject*)> getter,
        std::function<void(ManagedObject*, const QVariant&)> setter = {}, const QStringList& dependsOn = {});
    // Takes back a declaration, for a schema declared from another's declarations with differences.
    EntityDescription& remove(const QString& name);
    EntityDescription& inherits(const QString& parent);
    EntityDescription& abstract(bool value = true);
    template <class T> EntityDescription& objectClass()
    {
        static_assert(alignof(T) <= alignof(std::max_align_t));
        m_factory = [](void* at) -> ManagedObject* { return new (at) T; };
        m_objectSize = int(sizeof(T));
        return *this;
    }

    // Reading
    const QString& name() const { return m_name; }
    const StoreSchema* schema() const { return m_schema; }
    const EntityDescription* parent() const { return m_parent; }
    const EntityDescription* root() const { return m_root; }
    const std::vector<const EntityDescription*>& subentities() const { return m_subentities; }
    bool isAbstract() const { return m_abstract; }
    bool isKindOf(const EntityDescription* other) const;
    int tableIndex() const { return m_root->m_tableIndex; }

    // Every property, inherited ones first, in declaration order.
    const std::vector<const PropertyDescription*>& properties() const { return m_properties; }
    const PropertyDescription* property(const Key& key) const
    {
        const int id = key.id();
        if (id < 0 || id >= int(m_byKey.size()))
            return nullptr;
        const int i = m_byKey[size_t(id)];
        return i < 0 ? nullptr : m_properties[size_t(i)];
    }
    const PropertyDescription* property(const QString& name) const { return property(Key::find(name)); }
    const PropertyDescription* property(const char* name) const { return property(QString::fromUtf8(name)); }
    // Names of the attributes (stored and transient), or of the relationships, in declaration order.
    QStringList attributeNames() const;
    QStringList relationshipNames() const;
    bool hasAttribute(const QString& name) const;
    // Attributes declared with AttributeOptions::folded or ::words (this entity's own declarations only).
    bool isFolded(const QString& name) const;
    bool hasWords(const QString& name) const;
    // Derived keys that depend on `key`.
    const std::vector<const PropertyDescription*>* dependents(const Key& key) const;

    int valueBlockSize() const { return m_blockSize; }
    // The value slots that own memory (texts, data, sets): made and freed with each object. The other slots start
    // as zero bytes (with `nilNumbers` set: numbers start nil).
    struct OwnedSlot {
        int offset;
        PropertyDescription::Slot slot;
    };
    const std::vector<OwnedSlot>& ownedSlots() const { return m_ownedSlots; }
    quint64 nilNumbers() const { return m_nilNumbers; }
    // The entity's C++ object, made in `at`, which has room for objectSize() bytes.
    int objectSize() const { return m_objectSize; }
    ManagedObject* makeObject(void* at) const { return m_factory(at); }

private:
    friend class StoreSchema;
    friend class ObjectContext;
    EntityDescription(StoreSchema* schema, const QString& name);
    PropertyDescription& add(const QString& name, PropertyDescription::Kind kind);

    StoreSchema* m_schema;
    QString m_name;
    QString m_parentName;
    bool m_abstract = false;
    ManagedObject* (*m_factory)(void*) = nullptr;
    int m_objectSize = 0;
    std::vector<std::unique_ptr<PropertyDescription>> m_declared;
    std::vector<std::pair<QString, AttributeOptions>> m_textOptions; // attributes declared folded

    // Filled in by finalize()
    const EntityDescription* m_parent = nullptr;
    const EntityDescription* m_root = this;
    std::vector<const EntityDescription*> m_subentities;
    std::vector<const PropertyDescription*> m_properties;
    std::vector<int> m_byKey;
    std::vector<std::pair<int, std::vector<const PropertyDescription*>>> m_dependents;
    int m_blockSize = 0;
    std::vector<OwnedSlot> m_ownedSlots;
    quint64 m_nilNumbers = 0;
    int m_tableIndex = -1;
    bool m_laidOut = false;
};
