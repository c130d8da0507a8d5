#pragma once

#include <QVariant>

class ManagedObject;
struct PropertyDescription;

// One recorded change of an undo group. Replaying it makes the opposite change, which the context records in turn,
// so undo fills the redo group and redo the undo group.
struct UndoOperation {
    enum class Kind : quint8 {
        SetAttribute, // `property` of `object` had `value`
        Link, // `object` was linked to `other` through `property`
        Unlink, // `object` was unlinked from `other`
        Insert, // `object` was inserted
        Delete, // `object` was deleted
    };
    UndoOperation(Kind kind, ManagedObject* object, const PropertyDescription* property = nullptr,
        ManagedObject* other = nullptr, QVariant value = {})
        : kind(kind)
        , object(object)
        , property(property)
        , other(other)
        , value(std::move(value))
    {
    }

    Kind kind;
    ManagedObject* object = nullptr;
    const PropertyDescription* property = nullptr;
    ManagedObject* other = nullptr;
    QVariant value;
};
