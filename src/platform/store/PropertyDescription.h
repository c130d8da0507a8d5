#pragma once

#include "platform/store/Key.h"

#include <QString>
#include <QVariant>

#include <functional>

class EntityDescription;
class ManagedObject;

enum class AttributeType : quint8 { Integer16, Integer32, Integer64, Double, Boolean, String, Date, Binary };

// What deleting an object does to the objects at the other end of one of its relationships.
enum class DeleteRule : quint8 {
    Nullify, // the other side forgets the deleted object
    Cascade, // the related objects are deleted as well
};

// One property of an entity: a stored or transient attribute, a to-one or to-many relationship, or a derived
// key computed by the entity (a getter and optional setter, not stored) that generic code reaches by name.
// Descriptions are made by EntityDescription and shared, unchanged, by an entity and all its sub-entities.
struct PropertyDescription {
    enum class Kind : quint8 { Attribute, ToOne, ToMany, Derived };
    enum class Slot : quint8 { None, Number, String, Binary, Object, Set };

    QString name;
    Key key;
    Kind kind = Kind::Attribute;
    AttributeType type = AttributeType::String;
    QVariant defaultValue;
    bool lazy = false; // a large binary value read from the file on first access
    bool transient = false; // kept in memory only, never written to the file

    // Relationships
    QString targetName;
    QString inverseName;
    DeleteRule deleteRule = DeleteRule::Nullify;
    bool wantsForeignKey = false; // a one-to-one side that asked to hold the column
    const EntityDescription* target = nullptr;
    const PropertyDescription* inverse = nullptr;

    // Derived keys
    std::function<QVariant(const ManagedObject*)> getter;
    std::function<void(ManagedObject*, const QVariant&)> setter;
    QStringList dependsOn; // keys whose changes also change this one, for observers

    // Layout, filled in when the schema is finalized
    const EntityDescription* owner = nullptr; // the entity that declared it
    int index = -1; // position in the property table of the owner and of every sub-entity
    Slot slot = Slot::None;
    int slotOffset = -1; // byte offset of the value in an object's value block
    int bit = -1; // attributes: position in an object's nil and not-yet-loaded bit sets (below 64)
    int column = -1; // column in the owner's table: stored attributes and the key-holding side of a to-one
    int joinTable = -1; // many-to-many: index of the join table in the schema
    bool joinSource = false; // many-to-many: this side's key is the join table's first column

    bool isAttribute() const { return kind == Kind::Attribute; }
    bool isRelationship() const { return kind == Kind::ToOne || kind == Kind::ToMany; }
    bool isToOne() const { return kind == Kind::ToOne; }
    bool isToMany() const { return kind == Kind::ToMany; }
    bool isDerived() const { return kind == Kind::Derived; }
    bool holdsForeignKey() const { return kind == Kind::ToOne && column >= 0; }
    bool isManyToMany() const { return joinTable >= 0; }
};
